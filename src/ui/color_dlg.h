// The colour dialog: the thread colours of one machine maker as 80 colour buttons, with the
// name of the colour chosen and of the colour under the cursor.
#pragma once

#include "platform/dialog.h"

// The control ID of the colour button (or swatch) last drawn pressed.
extern int iLastColorButtonClicked;

// An owner-drawn button that shows a thread colour, with its name as tooltip.
class CColorButton : public CButton {
public:
    CColorButton();

    char m_szName[20];     // the colour's name, at most 19 characters
    int m_nState;          // set by SetState, 0 at first
    int m_nMasterIndex;    // the colour's index in the master thread table
    // The control ID of the colour button last drawn pressed.
    static int idClicked;

    // Stored with the palette-relative flag, so a palette device shows its nearest entry.
    void SetFaceColor(COLORREF crFace);
    COLORREF GetFaceColor() const { return m_crFace; }
    void SetState(int nState) { m_nState = nState; }
    // Copies at most 19 characters; nullptr empties the name.
    void SetName(const char* pszName);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The button's name, for a button that has one.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    void PreSubclassWindow() override;

    DECLARE_DYNCREATE(CColorButton)

protected:
    COLORREF m_crFace;
};

class CColorDlg : public CDialog {
public:
    enum { IDD = 201, kButtons = 80 };
    static constexpr UINT_PTR kTimerID = 2201;
    static constexpr UINT kTimerPeriod = 750;

    explicit CColorDlg(CWnd* pParent = nullptr);

    int m_nPaletteType;   // the combo box index: -1 at first, 0 "Default" ... 4 "Pfaff"
    int m_bOfferPalette;  // 0 hides the palette choice
    CColorButton m_Buttons[kButtons];
    int m_nActiveButtons; // the buttons the palette fills
    CEdit m_edNewColor;   // 2298: the colour chosen
    CEdit m_edChangeTo;   // 2299: the colour under the cursor
    UINT_PTR m_nTimer;

    // Fills the buttons from the palette the palette type selects.
    void SetPalette();

    BOOL OnInitDialog() override;
    void OnPaletteCloseUp();
    void OnColorClicked(UINT nID);
    void OnColorDoubleClicked(UINT nID);
    void OnTimer(UINT_PTR nIDEvent);
    void OnClose();

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The button just chosen, if nID is it and it shows a colour of the palette.
    int ChosenButton(UINT nID) const;
};
