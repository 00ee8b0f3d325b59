#include "ui/hoop_size.h"

#include "platform/profile.h"
#include "ui/resources.h"

#include <strings.h>

namespace {

const char* const kSection = "Options";

const HoopInfo kHoops[kHoopCount] = {
    {2321, "100x100", "Bernina Deco/Viking:", 100, 100},
    {2322, "100x100", "Babylock/Brother:", 100, 100},
    {2323, "130x180", "Babylock/Brother:", 130, 180},
    {2324, "180x130", "Babylock/Brother:", 180, 130},
    {2325, "160x260", "Babylock/Brother:", 160, 260},
    {2326, "260x160", "Babylock/Brother:", 260, 160},
    {2327, "122x88", "Elna/Kenmore Janome/New Home:", 122, 88},
    {2328, "80x70", "Elna/Kenmore Janome/New Home:", 80, 70},
    {2329, "115x120", "Pfaff:", 115, 120},
    {2330, "80x80", "Pfaff:", 80, 80},
    {2331, "88x88", "Singer EU/Poem Husygram:", 88, 88},
    {2332, "130x240", "Singer:", 130, 240},
    {2333, "114x114", "Singer:", 114, 114},
    {2334, "55x55", "Singer:", 55, 55},
    {2335, "", "Custom:", 0, 0},
};

// The preselection rules: the extensions they serve and the hoop each design width gives;
// a width of 0 takes any width.
struct WidthHoop {
    int nWidth;
    int nHoop;
};
struct HoopRule {
    std::vector<const char*> exts;
    std::vector<WidthHoop> hoops;
};

const HoopRule kRules[] = {
    {{".hus"}, {{0, 0}}},
    {{".pes", ".pec"}, {{100, 1}, {130, 2}, {180, 3}, {160, 4}, {260, 5}}},
    {{".sew"}, {{122, 6}, {80, 7}}},
    {{".pcs", ".pcm"}, {{115, 8}, {80, 9}}},
    {{".csd"}, {{0, 10}}},
    {{".xxx", ".psw"}, {{130, 11}, {114, 12}, {55, 13}}},
};

} // namespace

const HoopInfo* GetHoopTable() { return kHoops; }

CSize HoopSizeOf(int nHoop, int nCustomX, int nCustomY)
{
    if (nHoop == kCustomHoop) return CSize(nCustomX, nCustomY);
    if (nHoop < 0 || nHoop >= kHoopCount) return CSize(100, 100);
    return CSize(kHoops[nHoop].cx, kHoops[nHoop].cy);
}

int HoopForDesign(int nCurrent, int nWidth, const char* pszExt)
{
    int hoop = nCurrent;
    if (!pszExt) return hoop;
    // Every rule in turn; a later match overwrites an earlier one.
    for (const HoopRule& rule : kRules)
        for (const char* ext : rule.exts)
            if (!strcasecmp(ext, pszExt))
                for (const WidthHoop& wh : rule.hoops)
                    if (wh.nWidth == 0 || wh.nWidth == nWidth) hoop = wh.nHoop;
    return hoop;
}

BEGIN_MESSAGE_MAP(CHoopSize, CDialog)
    ON_BN_CLICKED(IDC_HOOP_CUSTOM, OnCustom)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_HOOP_FIRST, IDC_HOOP_CUSTOM - 1, OnHoop)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_HOOP_CUSTOM + 1, IDC_HOOP_ROUTED_LAST, OnHoop)
END_MESSAGE_MAP()

CHoopSize::CHoopSize(CWnd* pParent) : CDialog(GetLibraryDialogTemplate(IDD), pParent)
{
    CWinApp* app = AfxGetApp();
    m_nHoop = app ? (int)app->GetProfileInt(kSection, "HoopSize", 2) : 2;
    m_nCustomX = app ? (int)app->GetProfileInt(kSection, "CustomX", 100) : 100;
    m_nCustomY = app ? (int)app->GetProfileInt(kSection, "CustomY", 100) : 100;
}

CHoopSize::~CHoopSize()
{
    if (CWinApp* app = AfxGetApp()) {
        app->WriteProfileInt(kSection, "HoopSize", m_nHoop);
        if (m_bAllowCustom) {
            app->WriteProfileInt(kSection, "CustomX", m_nCustomX);
            app->WriteProfileInt(kSection, "CustomY", m_nCustomY);
        }
    }
}

void CHoopSize::GetHoopSize(CSize& size) const { size = HoopSizeOf(m_nHoop, m_nCustomX, m_nCustomY); }

void CHoopSize::SetHoopSize(int nWidth, int, const char* pszExt) { m_nHoop = HoopForDesign(m_nHoop, nWidth, pszExt); }

void CHoopSize::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_HOOP_FIRST, m_nHoop);
    if (!m_bAllowCustom) return;
    // Unsigned, 10 to 1000 mm; a size is taken only once it passed.
    const struct {
        int nID;
        int* pValue;
    } sizes[] = {{IDC_CUSTOM_X, &m_nCustomX}, {IDC_CUSTOM_Y, &m_nCustomY}};
    for (const auto& s : sizes) {
        UINT v = (UINT)*s.pValue;
        DDX_Text(pDX, s.nID, v);
        DDV_MinMaxUInt(pDX, v, 10, 1000);
        if (pDX->m_bSaveAndValidate && !pDX->m_bFailed) *s.pValue = (int)v;
    }
}

BOOL CHoopSize::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_bAllowCustom) {
        for (int id : {IDC_CUSTOM_X, IDC_CUSTOM_Y, IDC_HOOP_CUSTOM, IDC_CUSTOM_TIMES}) GetDlgItem(id)->ShowWindow(SW_SHOW);
        EnableCustomEdits(m_nHoop == kCustomHoop);
    }
    return TRUE;
}

void CHoopSize::EnableCustomEdits(BOOL bEnable)
{
    GetDlgItem(IDC_CUSTOM_X)->EnableWindow(bEnable);
    GetDlgItem(IDC_CUSTOM_Y)->EnableWindow(bEnable);
}

void CHoopSize::OnCustom()
{
    if (m_bAllowCustom) EnableCustomEdits(TRUE);
}

void CHoopSize::OnHoop(UINT)
{
    if (m_bAllowCustom) EnableCustomEdits(FALSE);
}
