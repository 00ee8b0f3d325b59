// The preferences dialog: the options of the formats, and, when the host offers them, its
// default save format and the system options. Confirmed values go to the profile section
// "Options" of the running application and into the settings object.
#pragma once

#include "platform/dialog.h"

class CPreferences : public CDialog {
public:
    enum { IDD = 207 };

    explicit CPreferences(CWnd* pParent = nullptr);

    CEdit m_edThreshold;      // control 2373
    int m_nSaveFormat;        // index in the save format list
    int m_bPfaffSplit;
    int m_bVikingSplit;
    int m_bPfaffCompatible;
    int m_bSewColors12;       // the 12-colour Janome palette
    int m_bMaximizeChild;
    int m_bCorastitch;
    int m_bJunkStitch;
    int m_bNoScalivo;
    int m_bSewColors78;       // the 78-colour Janome palette
    int m_bOfferSaveFormat = 0;    // set by the host before DoModal
    int m_bOfferSystemOptions = 0; // set by the host before DoModal
    int m_nSewColors;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnJunkStitch();

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
