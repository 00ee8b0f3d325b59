#include "platform/file_dialog.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

BEGIN_MESSAGE_MAP(CFileDialog, CDialog)
    ON_EN_CHANGE(edt1, OnNameBoxChange)
    ON_CBN_SELCHANGE(cmb1, OnTypeListChange)
END_MESSAGE_MAP()

namespace {

// The file dialog's own layout; the type list is filled from the filter.
DialogTemplate FileDialogTemplate(bool open)
{
    DialogTemplate t;
    t.pszCaption = open ? "Open" : "Save As";
    t.cx = 280;
    t.cy = 164;
    t.items = {
        {.nID = edt1, .kind = ControlKind::Edit, .x = 60, .y = 110, .cx = 140, .cy = 12},
        {.nID = cmb1, .kind = ControlKind::DropDownList, .x = 60, .y = 128, .cx = 140, .cy = 80},
        {.nID = IDOK, .kind = ControlKind::DefPushButton, .pszText = open ? "&Open" : "&Save", .x = 210, .y = 110,
         .cx = 50, .cy = 14},
        {.nID = IDCANCEL, .kind = ControlKind::PushButton, .pszText = "Cancel", .x = 210, .y = 128, .cx = 50, .cy = 14},
    };
    return t;
}

const char* AfterSeparator(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, CWnd* pParentWnd)
    : CDialog(static_cast<const DialogTemplate*>(nullptr), pParentWnd), m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(lpszDefExt ? lpszDefExt : ""), m_template(FileDialogTemplate(bOpenFileDialog != FALSE))
{
    std::memset(&m_ofn, 0, sizeof m_ofn);
    std::memset(m_szFileName, 0, sizeof m_szFileName);
    if (lpszFileName) std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
    if (lpszFilter) {
        m_strFilter = lpszFilter;
        for (char& c : m_strFilter)
            if (c == '|') c = '\0';
        m_strFilter.push_back('\0');
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = pParentWnd;
    m_ofn.lpstrFilter = lpszFilter ? m_strFilter.c_str() : nullptr;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLEHOOK;
    UseTemplate(&m_template);
}

CFileDialog::~CFileDialog() = default;

BOOL CFileDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* types = static_cast<CComboBox*>(GetDlgItem(cmb1))) {
        // Every other text of the filter is a name the user sees.
        for (const char* p = m_ofn.lpstrFilter; p && *p; p += std::strlen(p) + 1) {
            types->AddString(p);
            p += std::strlen(p) + 1;
            if (!*p) break;
        }
        if (types->GetCount() > 0) {
            int index = m_ofn.nFilterIndex >= 1 && (int)m_ofn.nFilterIndex <= types->GetCount()
                            ? (int)m_ofn.nFilterIndex - 1 : 0;
            types->SetCurSel(index);
            m_ofn.nFilterIndex = (DWORD)index + 1;
        }
    }
    const char* name = AfterSeparator(m_ofn.lpstrFile);
    m_strFolder.assign(m_ofn.lpstrFile, (size_t)(name - m_ofn.lpstrFile));
    if (m_strFolder.empty() && m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir) {
        m_strFolder = m_ofn.lpstrInitialDir;
        if (m_strFolder.back() != '/') m_strFolder += '/';
    }
    SetDlgItemText(edt1, name);
    SendFileNotify(CDN_INITDONE);
    return TRUE;
}

LRESULT CFileDialog::SendFileNotify(UINT nCode)
{
    OFNOTIFY n{};
    n.hdr.hwndFrom = m_hWnd;
    n.hdr.idFrom = 0;
    n.hdr.code = nCode;
    n.lpOFN = &m_ofn;
    n.pszFile = m_ofn.lpstrFile;
    return SendMessage(WM_NOTIFY, 0, (LPARAM)&n);
}

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const OFNOTIFY* n = reinterpret_cast<const OFNOTIFY*>(lParam);
    if (!n || n->hdr.hwndFrom != m_hWnd) return CDialog::OnNotify(wParam, lParam, pResult);
    if (n->hdr.code == CDN_INITDONE) OnInitDone();
    else if (n->hdr.code == CDN_SELCHANGE) OnFileNameChange();
    else if (n->hdr.code == CDN_FOLDERCHANGE) OnFolderChange();
    else if (n->hdr.code == CDN_SHAREVIOLATION) *pResult = OnShareViolation(n->pszFile);
    else if (n->hdr.code == CDN_HELP) SendMessage(WM_COMMAND, MAKEWPARAM(m_nIDHelp, 0), 0);
    else if (n->hdr.code == CDN_FILEOK) *pResult = OnFileNameOK();
    else if (n->hdr.code == CDN_TYPECHANGE) OnTypeChange();
    else return CDialog::OnNotify(wParam, lParam, pResult);
    return TRUE;
}

void CFileDialog::StoreName(const std::string& typed)
{
    size_t sep = typed.find_last_of("/\\");
    if (sep != std::string::npos) m_strFolder = typed.substr(0, sep + 1);
    std::string name = sep != std::string::npos ? typed : m_strFolder + typed;
    size_t n = std::min(name.size(), (size_t)m_ofn.nMaxFile - 1);
    std::memcpy(m_ofn.lpstrFile, name.data(), n);
    m_ofn.lpstrFile[n] = 0;
    const char* file = AfterSeparator(m_ofn.lpstrFile);
    m_ofn.nFileOffset = (WORD)(file - m_ofn.lpstrFile);
    const char* dot = std::strrchr(file, '.');
    m_ofn.nFileExtension = dot ? (WORD)(dot + 1 - m_ofn.lpstrFile) : 0;
}

void CFileDialog::OnNameBoxChange()
{
    StoreName(GetDlgItemText(edt1));
    SendFileNotify(CDN_SELCHANGE);
}

void CFileDialog::OnTypeListChange()
{
    if (auto* types = static_cast<CComboBox*>(GetDlgItem(cmb1)); types && types->GetCurSel() >= 0) {
        m_ofn.nFilterIndex = (DWORD)types->GetCurSel() + 1;
        SendFileNotify(CDN_TYPECHANGE);
    }
}

void CFileDialog::OnOK()
{
    std::string name = GetDlgItemText(edt1);
    if (name.empty()) return;
    if (!std::strchr(AfterSeparator(name.c_str()), '.') && !m_strDefExt.empty()) name += "." + m_strDefExt;
    StoreName(name);
    if (SendFileNotify(CDN_FILEOK)) return;
    EndDialog(IDOK);
}

BOOL CFileDialog::OnFileNameOK() { return FALSE; }
void CFileDialog::OnInitDone() {}
void CFileDialog::OnFileNameChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}
UINT CFileDialog::OnShareViolation(const char*) { return 0; }

std::string CFileDialog::GetPathName() const { return m_ofn.lpstrFile; }
std::string CFileDialog::GetFileName() const { return AfterSeparator(m_ofn.lpstrFile); }

std::string CFileDialog::GetFileExt() const
{
    const char* dot = std::strrchr(AfterSeparator(m_ofn.lpstrFile), '.');
    return dot ? dot + 1 : "";
}

std::string CFileDialog::GetFileTitle() const
{
    std::string name = GetFileName();
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void CFileDialog::SetControlText(int nID, const char* lpsz) { SetDlgItemText(nID, lpsz); }
