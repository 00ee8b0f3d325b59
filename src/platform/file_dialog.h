// The system's open and save dialog in the headless dialog model. Its window holds the
// file name box (1152), the file type list (1136) and the OK and Cancel buttons; the model
// keeps the file name buffer in step with the box, as the user types: a name without a
// folder is taken in the folder the dialog shows, one with a folder moves there.
#pragma once

#include "platform/dialog.h"

enum : UINT {
    OFN_READONLY = 0x1,
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_NOCHANGEDIR = 0x8,
    OFN_ENABLEHOOK = 0x20,
    OFN_ENABLETEMPLATE = 0x40,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
    OFN_EXPLORER = 0x80000,
};

enum : int { edt1 = 0x480, cmb1 = 0x470 };

enum : UINT {
    CDN_FIRST = 0U - 601U,
    CDN_INITDONE = CDN_FIRST - 0,
    CDN_SELCHANGE = CDN_FIRST - 1,
    CDN_FOLDERCHANGE = CDN_FIRST - 2,
    CDN_SHAREVIOLATION = CDN_FIRST - 3,
    CDN_HELP = CDN_FIRST - 4,
    CDN_FILEOK = CDN_FIRST - 5,
    CDN_TYPECHANGE = CDN_FIRST - 6,
};

constexpr int kMaxPath = 260;

struct OPENFILENAME {
    DWORD lStructSize;
    CWnd* hwndOwner;
    const char* lpstrFilter; // pairs of NUL-terminated texts, ending with an empty one
    DWORD nFilterIndex;      // 1-based
    char* lpstrFile;
    DWORD nMaxFile;
    const char* lpstrInitialDir;
    const char* lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    const char* lpstrDefExt;
    UINT lpTemplateName;
};

struct OFNOTIFY {
    NMHDR hdr;
    OPENFILENAME* lpOFN;
    char* pszFile;
};

class CFileDialog : public CDialog {
public:
    // The filter is "Name|*.ext|Name|*.ext||", as the framework takes it.
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    ~CFileDialog() override;


    std::string GetPathName() const;
    std::string GetFileName() const;
    std::string GetFileExt() const;
    std::string GetFileTitle() const;
    void SetControlText(int nID, const char* lpsz);

    OPENFILENAME m_ofn;
    BOOL m_bOpenFileDialog;

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CFileDialog)

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Nonzero refuses the name and keeps the dialog open.
    virtual BOOL OnFileNameOK();
    virtual void OnInitDone();
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();
    virtual UINT OnShareViolation(const char* lpszPathName);

    // Sends the dialog one of its own notifications, as the system does.
    LRESULT SendFileNotify(UINT nCode);

    void OnNameBoxChange();
    void OnTypeListChange();

private:
    void StoreName(const std::string& name);

    char m_szFileName[kMaxPath];
    std::string m_strFolder; // the folder shown, with its trailing separator
    std::string m_strFilter;
    std::string m_strDefExt;
    DialogTemplate m_template;
};
