// Dialogs without a display: a dialog is built from a template held as data, its handlers
// sit in a message map, values move between its fields and its controls through data
// exchange, and DoModal hands it to a modal driver that a test or front end installs. The
// driver plays the user (user_actions.h): it clicks, types, selects, hovers, fires timers
// and ends the dialog.
#pragma once

#include "platform/controls.h"
#include "platform/window.h"

#include <functional>
#include <vector>

// One control of a dialog template. Positions are in dialog units.
struct DialogItemTemplate {
    int nID = IDC_STATIC;
    ControlKind kind = ControlKind::Label;
    const char* pszText = "";
    int x = 0, y = 0, cx = 0, cy = 0;
    bool bVisible = true;
    bool bEnabled = true;
    bool bGroup = false;                // starts a group (radio buttons run to the next one)
    std::vector<const char*> items = {}; // list entries a combo or list box starts with
};

struct DialogTemplate {
    UINT nID = 0;
    const char* pszCaption = "";
    const char* pszFont = "MS Sans Serif";
    int nPointSize = 8;
    int x = 0, y = 0, cx = 0, cy = 0;
    bool bChild = false; // a child strip for another dialog, without a caption
    std::vector<DialogItemTemplate> items = {};

    const DialogItemTemplate* FindItem(int nItemID) const;
    // Pixels per 4 horizontal and per 8 vertical dialog units: the average character of the
    // dialog's font (6 x 13 pixels for 8 points at 96 dpi).
    CSize GetBaseUnits() const;
};

// The dialog templates a program carries, found by ID as resources are.
void AfxRegisterDialogTemplate(const DialogTemplate* pTemplate);
const DialogTemplate* AfxFindDialogTemplate(UINT nID);

// The frame around a dialog with a caption: its border and caption bar, in pixels.
constexpr int kDialogBorder = 3;
constexpr int kDialogCaption = 19;

class CDialog;
// Plays the user of a modal dialog. It returns when it is done; a dialog it has not ended
// by then is cancelled.
typedef std::function<void(CDialog& dlg)> ModalDriver;
// Installs the driver that DoModal runs (nullptr for none) and returns the one before it.
ModalDriver SetModalDriver(ModalDriver driver);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    CDialog(const DialogTemplate* pTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the dialog (hidden), runs OnInitDialog, shows it (WM_SHOWWINDOW), delivers what
    // was posted, paints it and runs the modal driver; returns what the dialog ended with,
    // or -1 if it could not be built or no driver is installed.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    bool IsEnded() const { return m_bEnded; }
    void GotoDlgCtrl(CWnd* pWndCtrl);
    UINT GetTemplateID() const { return m_pTemplate ? m_pTemplate->nID : m_nIDTemplate; }
    const DialogTemplate* GetTemplate() const { return m_pTemplate; }
    // Dialog units to pixels, by the dialog's font.
    void MapDialogRect(RECT* lpRect) const;

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // WM_CLOSE ends the dialog as Cancel does; WM_NEXTDLGCTL with a nonzero lParam puts the
    // focus on the control whose handle wParam holds.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CDialog)

protected:
    // Builds the windows from the template; the dialog's own window is attached to this.
    BOOL CreateFromTemplate();
    // For dialogs that carry their own layout rather than a resource.
    void UseTemplate(const DialogTemplate* pTemplate);

private:
    UINT m_nIDTemplate;
    const DialogTemplate* m_pTemplate;
    bool m_bEnded = false;
    int m_nResult = IDCANCEL;
};

#include "platform/data_exchange.h"
#include "platform/user_actions.h"
