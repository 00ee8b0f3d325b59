// The colour toolbar: the thread colours of the host's current design as a row of swatches.
// Clicking a swatch opens the colour dialog on the palette that suits the design's source;
// a chosen colour repaints the swatch and goes to the host through its callback.
#pragma once

#include "platform/control_bar.h"
#include "platform/document.h"
#include "ui/color_dlg.h"

class CClrToolBar;

// A swatch of the colour toolbar: a colour button that knows its place on the bar.
class CClrBtn : public CColorButton {
public:
    CClrBtn() = default;

    int m_nPosition = 0;              // its place on the toolbar, from 0
    CClrToolBar* m_pToolBar = nullptr;

    // Drawn pressed, the swatch lets the user choose its colour.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The tooltip of the colour's thread name string resource (33500 + master index).
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    DECLARE_DYNCREATE(CClrBtn)
};

typedef void (*ColorChangedProc)(CDocument* pDoc, int nPosition, int nMasterIndex);

class CClrToolBar : public CControlBar {
public:
    enum { kMaxButtons = 256, kFirstID = 33000, kButtonWidth = 22, kButtonHeight = 14 };

    CClrToolBar();
    ~CClrToolBar() override;

    // The bar and its 256 swatches (33000 to 33255), side by side. The window's own Create
    // stays reachable beside it.
    using CControlBar::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // Shows the design's colours: count (at most 256) swatches with the master table colours
    // of pMasterIndexes (when given), the rest hidden. Without a document only the source,
    // document and callback are kept.
    void SetButtons(const UINT* pMasterIndexes, int nCount, int nSource, CDocument* pDoc, ColorChangedProc pfn);
    // Swatch i, nullptr past the 256.
    CClrBtn* GetButton(int i);
    // The swatches in use.
    int GetButtonCount() const { return m_nButtons; }

    // The framework's toolbar layout with buttons of 22 x 14 pixels; a committed layout
    // moves the swatches to their places.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CSize CalcLayout(DWORD dwMode, int nLength = -1);
    CSize CalcSize(TBBUTTON* pData, int nCount);
    int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth);
    void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE);
    // Whether swatch i starts a new row after it in the last committed layout.
    bool IsWrapped(int i) const;

    // Runs the colour dialog for a swatch drawn pressed.
    void ChooseColor(CClrBtn* pSwatch);

    // The palette type the colour dialog was last confirmed with, shared by all toolbars;
    // -1 until then.
    static int s_nPaletteType;

    int m_nSource = 0;                // design source of the colours shown
    CDocument* m_pDocument = nullptr;
    ColorChangedProc m_pfnColorChanged = nullptr;
    int m_nButtons = 1;               // swatches in use
    // The docking framework's values: the swatches per row a floating bar starts with, and
    // the width it last had while floating (0 until it floats).
    int m_nColumns = 12;
    int m_nMRUWidth = 0;
    CClrBtn m_Buttons[kMaxButtons];

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CClrToolBar)

protected:
    BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);

private:
    // The swatches in use as toolbar buttons, hidden ones marked so.
    int GetButtonData(TBBUTTON* pData);
    BYTE m_fsWrap[kMaxButtons];
    bool m_bChoosing = false;
};
