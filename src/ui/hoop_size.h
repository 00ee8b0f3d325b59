// The hoop size dialog: the embroidery fields of the supported home machines, and optionally
// a custom size; the choice is remembered in the profile section "Options".
#pragma once

#include "platform/dialog.h"

// One hoop of the dialog: its radio button, texts and size in millimetres.
struct HoopInfo {
    int nControl;
    const char* pszLabel;
    const char* pszGroup;
    int cx, cy; // 0 x 0 for the custom hoop, whose size is the custom width and height
};

constexpr int kHoopCount = 15;
constexpr int kCustomHoop = 14;

// The hoops by radio index, kHoopCount of them.
const HoopInfo* GetHoopTable();
// The size of hoop nHoop; any index that is no hoop gives 100 x 100.
CSize HoopSizeOf(int nHoop, int nCustomX, int nCustomY);
// The hoop to preselect for a design of that width saved with that extension (any case),
// or nCurrent when no rule fits.
int HoopForDesign(int nCurrent, int nWidth, const char* pszExt);

class CHoopSize : public CDialog {
public:
    enum { IDD = 204 };

    // Reads "HoopSize", "CustomX" and "CustomY" of the running application's profile.
    explicit CHoopSize(CWnd* pParent = nullptr);
    // Writes "HoopSize", and "CustomX" and "CustomY" when custom sizes are allowed.
    ~CHoopSize() override;

    int m_bAllowCustom = 0; // set by the host before DoModal
    int m_nHoop;            // radio index
    int m_nCustomX;         // mm
    int m_nCustomY;         // mm

    void GetHoopSize(CSize& size) const;
    // Preselects the hoop for a design of that width and extension; the height is not used.
    void SetHoopSize(int nWidth, int nHeight, const char* pszExt);

    BOOL OnInitDialog() override;
    void OnCustom();
    void OnHoop(UINT nID);

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void EnableCustomEdits(BOOL bEnable);
};
