// The rotate dialog: an angle in degrees for the host to turn a design by.
#pragma once

#include "platform/dialog.h"

class CRotate : public CDialog {
public:
    enum { IDD = 203 };

    explicit CRotate(CWnd* pParent = nullptr);

    int m_nDegrees = 0; // edit 2320, any integer

    // The keyboard focus goes to the angle.
    void OnShowWindow(BOOL bShow, UINT nStatus);

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
