// A file dialog that keeps the extension in the file name box in step with the file type
// the user picks.
#pragma once

#include "platform/file_dialog.h"

class CMyFile : public CFileDialog {
public:
    CMyFile(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
            DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
            CWnd* pParentWnd = nullptr);

    // nType is the 0-based position of the chosen type in the dialog's list; pszExt points
    // to the "." of the extension in the file name buffer, which is overwritten in place
    // (it must have room for four characters and the terminator). Returns nType.
    int ChangeExtension(int nType, char* pszExt);

    BOOL m_bOpen; // an open dialog, not a save dialog

    DECLARE_DYNAMIC(CMyFile)

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void OnFileTypeChange();
};
