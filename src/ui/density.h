// The density dialogs: CDensityParams turns a thread weight and a percentage into a density
// value; CAdvanced holds separate percentages and a maximum stitch length.
#pragma once

#include "platform/dialog.h"

// The density value of a thread weight (radio index, 0 "60 wt" to 4 "Yarn", and 5) and a
// percentage: the weight's base x percentage / 100, worked in 64 bits. False, leaving
// nDensity alone, for a percentage of 0, a weight without a base, or a value outside
// kMinDensity to kMaxDensity.
constexpr int kMinDensity = 1;
constexpr int kMaxDensity = 1000000;
bool DensityFor(int nWeight, int nPercent, int& nDensity);
// The percentages a weight takes (1 to ...), for the message that refuses another.
bool PercentRangeFor(int nWeight, int& nMin, int& nMax);

class CAdvanced : public CDialog {
public:
    enum { IDD = 202 };

    explicit CAdvanced(CWnd* pParent = nullptr);

    int m_nFillDensity = 100;   // 2316, % 10 to 200
    int m_nColumnDensity = 100; // 2315, % 10 to 200
    int m_nFillLength = 100;    // 2317, % 10 to 200
    int m_nRunLength = 100;     // 2318, % 10 to 200
    double m_dMaxLength = 10.0; // 2319, mm 0.3 to 10.0

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CDensityParams : public CDialog {
public:
    enum { IDD = 206 };

    explicit CDensityParams(CWnd* pParent = nullptr);

    CAdvanced m_Advanced;
    int m_nWeight = 2;        // radio index: 0 "60 wt", 1 "50 wt", 2 "40 wt", 3 "30 wt", 4 "Yarn"
    int m_nPercent = 100;     // edit 2364
    int m_bOfferAdvanced = 0; // shows the "Advanced" button
    int m_nDensity = 1000;    // the resulting density value

    BOOL OnInitDialog() override;
    void OnAdvanced();
    // The keyboard focus goes to the percentage.
    void OnShowWindow(BOOL bShow, UINT nStatus);

    DECLARE_MESSAGE_MAP()

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
