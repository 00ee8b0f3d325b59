#include "ui/my_file.h"

#include "ui/resources.h"

#include <cctype>
#include <cstring>
#include <iterator>
#include <string>

namespace {

// The extension each entry of the host's type lists stands for, by 0-based position. The
// first open entry is all designs and the last of each list all files, which change nothing
// in the name but the extension's place.
const char* const kOpenTypeExtensions[] = {".*", ".kwc", ".exp", ".dst", ".pes", ".pcs",
                                           ".pcm", ".hus", ".sew", ".csd", ".xxx", ".*"};
const char* const kSaveTypeExtensions[] = {".exp", ".dst", ".pes", ".pcs", ".pcm",
                                           ".hus", ".sew", ".csd", ".xxx", ".*"};

constexpr int kPesPecType = 4;
constexpr size_t kLongestExtension = 4;

} // namespace

IMPLEMENT_DYNAMIC(CMyFile, CFileDialog)

CMyFile::CMyFile(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                 const char* lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd),
      m_bOpen(bOpenFileDialog)
{
}

int CMyFile::ChangeExtension(int nType, char* pszExt)
{
    if (!pszExt) return nType;
    std::string current(pszExt);
    for (char& c : current) c = (char)std::tolower((unsigned char)c);
    const char* newExt = nullptr;
    if (m_bOpen) {
        if (current == ".pec" && nType == kPesPecType) return nType;
        if (nType < 1) return nType;
        if (nType < (int)std::size(kOpenTypeExtensions)) newExt = kOpenTypeExtensions[nType];
    } else if (nType >= 0 && nType < (int)std::size(kSaveTypeExtensions)) {
        newExt = kSaveTypeExtensions[nType];
    }
    // A type beyond the lists stands for no extension of ours: the name stays as it is.
    if (newExt) std::memcpy(pszExt, newExt, std::strlen(newExt) + 1);
    return nType;
}

BOOL CMyFile::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const OFNOTIFY* n = reinterpret_cast<const OFNOTIFY*>(lParam);
    if (n && n->hdr.hwndFrom == m_hWnd && n->hdr.code == CDN_TYPECHANGE) {
        OnFileTypeChange();
        *pResult = 0;
        return TRUE;
    }
    return CFileDialog::OnNotify(wParam, lParam, pResult);
}

void CMyFile::OnFileTypeChange()
{
    char* buffer = m_ofn.lpstrFile;
    size_t room = m_ofn.nMaxFile;
    if (!buffer || room == 0) return;
    size_t len = strnlen(buffer, room);
    if (len == room) return;
    // Only the name after the folder has an extension; a dot in a folder is not one.
    char* name = buffer;
    for (char* p = buffer; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    if (!std::strchr(name, '.')) {
        // A placeholder extension for ChangeExtension to replace.
        const char* add = len == 0 ? "*.   " : ".   ";
        if (len + std::strlen(add) + 1 > room) return;
        std::strcat(buffer, add);
        len += std::strlen(add);
    }
    char* dot = std::strrchr(name, '.');
    // The new extension must fit where the old one stands.
    if ((size_t)(dot - buffer) + kLongestExtension + 1 > room) return;
    ChangeExtension((int)m_ofn.nFilterIndex - 1, dot);
    SetControlText(IDC_FILE_NAME_BOX, name);
}
