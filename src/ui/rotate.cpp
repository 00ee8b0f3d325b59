#include "ui/rotate.h"

#include "ui/resources.h"

BEGIN_MESSAGE_MAP(CRotate, CDialog)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CRotate::CRotate(CWnd* pParent) : CDialog(GetLibraryDialogTemplate(IDD), pParent) {}

void CRotate::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DEGREES, m_nDegrees);
}

void CRotate::OnShowWindow(BOOL, UINT)
{
    if (CWnd* edit = GetDlgItem(IDC_DEGREES)) PostMessage(WM_NEXTDLGCTL, (WPARAM)edit->m_hWnd, TRUE);
}
