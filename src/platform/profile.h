// The host application object and its profile. The profile is kept in an INI file, so
// preferences persist as they would in the registry.
#pragma once

#include "platform/object.h"

#include <cstddef>
#include <string>
#include <vector>

// The sections and keys of an INI file. Names compare without regard to case; the first of
// two equal sections or keys is the one that counts, as the system's profile functions do.
class CIniProfile {
public:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    // Reads INI text. Any bytes are accepted: lines that are neither "[section]" nor
    // "key=value" are skipped, keys before the first section are dropped, and a NUL byte
    // ends a line as a line break does.
    void Parse(const char* data, size_t size);
    std::string Serialize() const;

    const std::string* Find(const char* section, const char* key) const;
    // False when a name or value cannot be stored (empty names, line breaks, a key that
    // would read back as something else). Values lose their outer blanks, as on reading.
    bool Set(const char* section, const char* key, const char* value);
    void RemoveKey(const char* section, const char* key);
    void RemoveSection(const char* section);
    const std::vector<Section>& Sections() const { return m_sections; }

    static bool IsStorableSection(const char* section);
    static bool IsStorableKey(const char* key);
    static bool IsStorableValue(const char* value);

private:
    Section* FindSection(const char* section);
    std::vector<Section> m_sections;
};

class CWinApp : public CObject {
public:
    // Becomes the running application (AfxGetApp) until it is destroyed.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    UINT GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault);
    std::string GetProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszDefault = nullptr);
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue);
    // A null value removes the entry, a null entry the whole section.
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue);

    // Keeps the profile in another file.
    void SetProfileFile(const char* path);
    const std::string& GetProfileFile() const { return m_strProfileFile; }

    // The default profile file: $XDG_CONFIG_HOME/<appName>/profile.ini, else
    // ~/.config/<appName>/profile.ini.
    static std::string DefaultProfileFile(const char* appName);

    const char* m_pszAppName;

    DECLARE_DYNAMIC(CWinApp)

private:
    bool Load(CIniProfile& profile) const;
    bool Save(const CIniProfile& profile) const;

    std::string m_strAppName;
    std::string m_strProfileFile;
    CWinApp* m_pPrevApp;
};

// The running application, or nullptr when there is none.
CWinApp* AfxGetApp();
