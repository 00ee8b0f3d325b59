#include "platform/profile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string Trim(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

bool SameName(const std::string& a, const char* b)
{
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (x < 0x80 && y < 0x80 ? std::tolower(x) != std::tolower(y) : x != y) return false;
    }
    return true;
}

bool HasLineBreak(const char* s)
{
    return std::strchr(s, '\n') || std::strchr(s, '\r');
}

CWinApp*& RunningApp()
{
    static CWinApp* app = nullptr;
    return app;
}

// Creates every missing folder above path.
void MakeParentFolders(const std::string& path)
{
    for (size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1))
        ::mkdir(path.substr(0, pos).c_str(), 0777);
}

} // namespace

// ---------------------------------------------------------------- CIniProfile

void CIniProfile::Parse(const char* data, size_t size)
{
    m_sections.clear();
    Section* current = nullptr;
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
        const char* eol = p;
        while (eol < end && *eol != '\n' && *eol != '\r' && *eol != '\0') ++eol;
        const char* b = p;
        while (b < eol && IsBlank(*b)) ++b;
        if (b < eol && *b == '[') {
            const char* close = (const char*)std::memchr(b, ']', (size_t)(eol - b));
            if (close) {
                std::string name = Trim(b + 1, close);
                if (!name.empty()) {
                    m_sections.push_back({name, {}});
                    current = &m_sections.back();
                } else {
                    current = nullptr;
                }
            }
        } else if (b < eol && *b != ';' && current) {
            const char* eq = (const char*)std::memchr(b, '=', (size_t)(eol - b));
            if (eq) {
                std::string key = Trim(b, eq);
                if (!key.empty()) current->entries.push_back({key, Trim(eq + 1, eol)});
            }
        }
        p = eol;
        while (p < end && (*p == '\n' || *p == '\r' || *p == '\0')) ++p;
    }
}

std::string CIniProfile::Serialize() const
{
    std::string out;
    for (const Section& s : m_sections) {
        if (!out.empty()) out += '\n';
        out += '[' + s.name + "]\n";
        for (const Entry& e : s.entries) out += e.key + '=' + e.value + '\n';
    }
    return out;
}

CIniProfile::Section* CIniProfile::FindSection(const char* section)
{
    for (Section& s : m_sections)
        if (SameName(s.name, section)) return &s;
    return nullptr;
}

const std::string* CIniProfile::Find(const char* section, const char* key) const
{
    if (!section || !key) return nullptr;
    for (const Section& s : m_sections) {
        if (!SameName(s.name, section)) continue;
        for (const Entry& e : s.entries)
            if (SameName(e.key, key)) return &e.value;
        return nullptr;
    }
    return nullptr;
}

bool CIniProfile::IsStorableSection(const char* section)
{
    if (!section) return false;
    std::string t = Trim(section, section + std::strlen(section));
    return !t.empty() && t == section && !HasLineBreak(section) && !std::strchr(section, ']');
}

bool CIniProfile::IsStorableKey(const char* key)
{
    if (!key) return false;
    std::string t = Trim(key, key + std::strlen(key));
    return !t.empty() && t == key && !HasLineBreak(key) && !std::strchr(key, '=') && key[0] != '[' && key[0] != ';';
}

bool CIniProfile::IsStorableValue(const char* value)
{
    return value && !HasLineBreak(value);
}

bool CIniProfile::Set(const char* section, const char* key, const char* value)
{
    if (!IsStorableSection(section) || !IsStorableKey(key) || !IsStorableValue(value)) return false;
    Section* s = FindSection(section);
    if (!s) {
        m_sections.push_back({section, {}});
        s = &m_sections.back();
    }
    for (Entry& e : s->entries)
        if (SameName(e.key, key)) {
            e.value = Trim(value, value + std::strlen(value));
            return true;
        }
    s->entries.push_back({key, Trim(value, value + std::strlen(value))});
    return true;
}

void CIniProfile::RemoveKey(const char* section, const char* key)
{
    Section* s = section && key ? FindSection(section) : nullptr;
    if (!s) return;
    for (auto it = s->entries.begin(); it != s->entries.end(); ++it)
        if (SameName(it->key, key)) {
            s->entries.erase(it);
            return;
        }
}

void CIniProfile::RemoveSection(const char* section)
{
    if (!section) return;
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it)
        if (SameName(it->name, section)) {
            m_sections.erase(it);
            return;
        }
}

// ---------------------------------------------------------------- CWinApp

IMPLEMENT_DYNAMIC(CWinApp, CObject)

CWinApp::CWinApp(const char* lpszAppName)
    : m_strAppName(lpszAppName && *lpszAppName ? lpszAppName : "kwfilter"),
      m_strProfileFile(DefaultProfileFile(m_strAppName.c_str())), m_pPrevApp(RunningApp())
{
    m_pszAppName = m_strAppName.c_str();
    RunningApp() = this;
}

CWinApp::~CWinApp()
{
    if (RunningApp() == this) RunningApp() = m_pPrevApp;
}

CWinApp* AfxGetApp() { return RunningApp(); }

std::string CWinApp::DefaultProfileFile(const char* appName)
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.config";
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/" + (appName && *appName ? appName : "kwfilter") + "/profile.ini";
}

void CWinApp::SetProfileFile(const char* path)
{
    m_strProfileFile = path && *path ? path : DefaultProfileFile(m_strAppName.c_str());
}

bool CWinApp::Load(CIniProfile& profile) const
{
    std::FILE* f = std::fopen(m_strProfileFile.c_str(), "rb");
    if (!f) {
        profile.Parse("", 0);
        return errno == ENOENT;
    }
    std::string text;
    char buf[8192];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    profile.Parse(text.data(), text.size());
    return ok;
}

bool CWinApp::Save(const CIniProfile& profile) const
{
    // Written beside the profile and renamed over it, so a failed write never leaves half a
    // profile behind.
    MakeParentFolders(m_strProfileFile);
    std::string tmpl = m_strProfileFile + ".XXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0) return false;
    std::string text = profile.Serialize();
    const char* p = text.data();
    size_t left = text.size();
    bool ok = true;
    while (ok && left > 0) {
        ssize_t w = ::write(fd, p, left);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) ok = false;
        else {
            p += w;
            left -= (size_t)w;
        }
    }
    struct stat st;
    fchmod(fd, ::stat(m_strProfileFile.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(tmpl.c_str(), m_strProfileFile.c_str()) != 0) ok = false;
    if (!ok) ::unlink(tmpl.c_str());
    return ok;
}

UINT CWinApp::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault)
{
    CIniProfile profile;
    Load(profile);
    const std::string* v = profile.Find(lpszSection, lpszEntry);
    if (!v) return (UINT)nDefault;
    // As the system reads a profile integer: the leading decimal number, 0 if there is none.
    const char* s = v->c_str();
    bool negative = *s == '-';
    if (negative) ++s;
    long long n = 0;
    while (*s >= '0' && *s <= '9') {
        n = n * 10 + (*s - '0');
        if (n > (long long)UINT_MAX) n = (long long)UINT_MAX;
        ++s;
    }
    return negative ? (UINT)(-n) : (UINT)n;
}

std::string CWinApp::GetProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszDefault)
{
    CIniProfile profile;
    Load(profile);
    const std::string* v = profile.Find(lpszSection, lpszEntry);
    if (!v) return lpszDefault ? lpszDefault : "";
    return *v;
}

BOOL CWinApp::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", nValue);
    return WriteProfileString(lpszSection, lpszEntry, text);
}

BOOL CWinApp::WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue)
{
    if (!lpszSection) return FALSE;
    CIniProfile profile;
    if (!Load(profile)) return FALSE;
    if (!lpszEntry) {
        profile.RemoveSection(lpszSection);
    } else if (!lpszValue) {
        profile.RemoveKey(lpszSection, lpszEntry);
    } else if (!profile.Set(lpszSection, lpszEntry, lpszValue)) {
        return FALSE;
    }
    return Save(profile) ? TRUE : FALSE;
}
