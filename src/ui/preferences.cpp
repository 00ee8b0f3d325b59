#include "ui/preferences.h"

#include "core/settings.h"
#include "platform/profile.h"
#include "ui/resources.h"

#include <string>

namespace {

const char* const kSection = "Options";

int ReadInt(CWinApp* app, const char* key, int nDefault)
{
    return app ? (int)app->GetProfileInt(kSection, key, nDefault) : nDefault;
}

void WriteInt(CWinApp* app, const char* key, int value)
{
    if (app) app->WriteProfileInt(kSection, key, value);
}

// The text of a profile value, at most nMax characters of it.
std::string ReadText(CWinApp* app, const char* key, const char* pszDefault, size_t nMax)
{
    std::string t = app ? app->GetProfileString(kSection, key, pszDefault) : std::string(pszDefault);
    if (t.size() > nMax) t.resize(nMax);
    return t;
}

} // namespace

BEGIN_MESSAGE_MAP(CPreferences, CDialog)
    ON_BN_CLICKED(IDC_JUNK_STITCH, OnJunkStitch)
END_MESSAGE_MAP()

CPreferences::CPreferences(CWnd* pParent) : CDialog(GetLibraryDialogTemplate(IDD), pParent)
{
    CWinApp* app = AfxGetApp();
    m_nSaveFormat = ReadInt(app, "SaveFormat", -1);
    m_bMaximizeChild = ReadInt(app, "MaximizeChild", 0);
    m_bCorastitch = ReadInt(app, "Corastitch", 1);
    m_bJunkStitch = ReadInt(app, "JunkStitch", 1);
    m_bPfaffSplit = ReadInt(app, "PfaffSplit", 1);
    m_bVikingSplit = ReadInt(app, "VikingSplit", 1);
    m_bPfaffCompatible = ReadInt(app, "PfaffCompatible", 1);
    m_bNoScalivo = ReadInt(app, "NoScalivo", 0);
    m_nSewColors = ReadInt(app, "SewColors", 35);
    m_bSewColors12 = m_nSewColors == 12;
    m_bSewColors78 = m_nSewColors == 78;
}

void CPreferences::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (m_bOfferSaveFormat) DDX_CBIndex(pDX, IDC_SAVE_FORMAT, m_nSaveFormat);
    DDX_Control(pDX, IDC_THRESHOLD, m_edThreshold);
    if (m_bOfferSystemOptions) {
        DDX_Check(pDX, IDC_MAXIMIZE_CHILD, m_bMaximizeChild);
        DDX_Check(pDX, IDC_CORASTITCH, m_bCorastitch);
        DDX_Check(pDX, IDC_JUNK_STITCH, m_bJunkStitch);
    }
    DDX_Check(pDX, IDC_PFAFF_SPLIT, m_bPfaffSplit);
    DDX_Check(pDX, IDC_VIKING_SPLIT, m_bVikingSplit);
    DDX_Check(pDX, IDC_PFAFF_COMPATIBLE, m_bPfaffCompatible);
    DDX_Check(pDX, IDC_SEW_COLORS_12, m_bSewColors12);
    DDX_Check(pDX, IDC_SEW_COLORS_78, m_bSewColors78);
    if (m_bOfferSystemOptions) DDX_Check(pDX, IDC_NO_SCALIVO, m_bNoScalivo);
}

BOOL CPreferences::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_bOfferSaveFormat) {
        GetDlgItem(IDC_SAVE_FORMAT_GROUP)->ShowWindow(SW_SHOW);
        GetDlgItem(IDC_SAVE_FORMAT)->ShowWindow(SW_SHOW);
    }
    if (m_bOfferSystemOptions) {
        CKwFilter* setup = GetSetup();
        GetDlgItem(IDC_CORASTITCH)->ShowWindow(SW_SHOW);
        GetDlgItem(IDC_JUNK_STITCH)->ShowWindow(SW_SHOW);
        // Offered only where there is a companion component to do without.
        if (!setup->m_strSavedCompanionPath.empty()) GetDlgItem(IDC_NO_SCALIVO)->ShowWindow(SW_SHOW);
        for (int id : {IDC_THRESHOLD, IDC_MAXIMIZE_CHILD, IDC_THRESHOLD_LABEL, IDC_SYSTEM_GROUP})
            GetDlgItem(id)->ShowWindow(SW_SHOW);
        if (m_bJunkStitch) m_edThreshold.EnableWindow(TRUE);
        std::string text = ReadText(AfxGetApp(), "Threshold", "0.5", 31);
        setup->m_dThreshold = ThresholdFromText(text.c_str(), 31);
        m_edThreshold.SetSel(0, -1);
        m_edThreshold.ReplaceSel(text.c_str());
    }
    return TRUE;
}

void CPreferences::OnJunkStitch()
{
    UpdateData(TRUE);
    m_edThreshold.EnableWindow(m_bJunkStitch ? TRUE : FALSE);
    UpdateData(FALSE);
}

void CPreferences::OnOK()
{
    // Whatever the base does not accept keeps the dialog open and writes nothing.
    CDialog::OnOK();
    if (!IsEnded()) return;
    CKwFilter* setup = GetSetup();
    CWinApp* app = AfxGetApp();
    if (m_bOfferSaveFormat) {
        setup->m_nSaveFormat = m_nSaveFormat;
        WriteInt(app, "SaveFormat", m_nSaveFormat);
    }
    if (m_bOfferSystemOptions) {
        setup->m_bMaximizeChild = m_bMaximizeChild;
        WriteInt(app, "MaximizeChild", m_bMaximizeChild);
        setup->m_bCorastitch = m_bCorastitch;
        WriteInt(app, "Corastitch", m_bCorastitch);
        setup->m_bJunkStitch = m_bJunkStitch;
        WriteInt(app, "JunkStitch", m_bJunkStitch);
        char line[33] = {};
        m_edThreshold.GetLine(0, line, 32);
        if (app) app->WriteProfileString(kSection, "Threshold", line);
        setup->m_dThreshold = ThresholdFromText(line, 32);
    }
    setup->m_bPfaffSplit = m_bPfaffSplit;
    WriteInt(app, "PfaffSplit", m_bPfaffSplit);
    setup->m_bVikingSplit = m_bVikingSplit;
    WriteInt(app, "VikingSplit", m_bVikingSplit);
    setup->m_bPfaffCompatible = m_bPfaffCompatible;
    WriteInt(app, "PfaffCompatible", m_bPfaffCompatible);
    m_nSewColors = 35;
    if (m_bSewColors12) m_nSewColors = 12;
    if (m_bSewColors78) m_nSewColors = 78;
    setup->m_nSewColors = m_nSewColors;
    WriteInt(app, "SewColors", m_nSewColors);
    if (m_bOfferSystemOptions) {
        setup->m_bNoScalivo = m_bNoScalivo;
        WriteInt(app, "NoScalivo", m_bNoScalivo);
    }
    setup->ApplyNoScalivo();
}
