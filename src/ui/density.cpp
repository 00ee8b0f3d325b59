#include "ui/density.h"

#include "core/settings.h"
#include "ui/resources.h"

namespace {

// Base density value of each thread weight; index 5 has no radio button.
const int kWeightBase[] = {1560, 1250, 1000, 760, 410, 850};

bool BaseOf(int nWeight, long long& base)
{
    if (nWeight < 0 || nWeight >= (int)(sizeof kWeightBase / sizeof kWeightBase[0])) return false;
    base = kWeightBase[nWeight];
    return true;
}

} // namespace

bool DensityFor(int nWeight, int nPercent, int& nDensity)
{
    long long base;
    if (nPercent == 0 || !BaseOf(nWeight, base)) return false;
    long long v = base * nPercent * 10 / 1000;
    if (v < kMinDensity || v > kMaxDensity) return false;
    nDensity = (int)v;
    return true;
}

bool PercentRangeFor(int nWeight, int& nMin, int& nMax)
{
    long long base;
    if (!BaseOf(nWeight, base)) return false;
    // base x p / 100, truncated, lies in the range exactly for these p.
    nMin = (int)((kMinDensity * 100LL + base - 1) / base);
    nMax = (int)((kMaxDensity * 100LL + 99) / base);
    return true;
}

// ---------------------------------------------------------------- CAdvanced

CAdvanced::CAdvanced(CWnd* pParent) : CDialog(GetLibraryDialogTemplate(IDD), pParent) {}

void CAdvanced::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_COLUMN_DENSITY, m_nColumnDensity);
    DDV_MinMaxInt(pDX, m_nColumnDensity, 10, 200);
    DDX_Text(pDX, IDC_FILL_DENSITY, m_nFillDensity);
    DDV_MinMaxInt(pDX, m_nFillDensity, 10, 200);
    DDX_Text(pDX, IDC_FILL_LENGTH, m_nFillLength);
    DDV_MinMaxInt(pDX, m_nFillLength, 10, 200);
    DDX_Text(pDX, IDC_RUN_LENGTH, m_nRunLength);
    DDV_MinMaxInt(pDX, m_nRunLength, 10, 200);
    DDX_Text(pDX, IDC_MAX_LENGTH, m_dMaxLength);
    DDV_MinMaxDouble(pDX, m_dMaxLength, 0.3, 10.0);
}

// ---------------------------------------------------------------- CDensityParams

BEGIN_MESSAGE_MAP(CDensityParams, CDialog)
    ON_BN_CLICKED(IDC_ADVANCED, OnAdvanced)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CDensityParams::CDensityParams(CWnd* pParent) : CDialog(GetLibraryDialogTemplate(IDD), pParent), m_Advanced(pParent) {}

void CDensityParams::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_WEIGHT_FIRST, m_nWeight);
    DDX_Text(pDX, IDC_PERCENT, m_nPercent);
    if (pDX->m_bFailed || m_nPercent == 0) return;
    // A percentage that gives no density a design can take is refused; the value stays.
    int lo, hi;
    if (!DensityFor(m_nWeight, m_nPercent, m_nDensity) && PercentRangeFor(m_nWeight, lo, hi))
        DDV_MinMaxInt(pDX, m_nPercent, lo, hi);
}

BOOL CDensityParams::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_bOfferAdvanced) {
        CWnd* advanced = GetDlgItem(IDC_ADVANCED);
        advanced->ShowWindow(SW_SHOW);
        // Only the companion scaling component works with the advanced settings.
        advanced->EnableWindow(!GetSetup()->m_strCompanionPath.empty());
    }
    return TRUE;
}

void CDensityParams::OnAdvanced() { m_Advanced.DoModal(); }

void CDensityParams::OnShowWindow(BOOL, UINT)
{
    if (CWnd* edit = GetDlgItem(IDC_PERCENT)) PostMessage(WM_NEXTDLGCTL, (WPARAM)edit->m_hWnd, TRUE);
}
