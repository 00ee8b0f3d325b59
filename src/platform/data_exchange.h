// Dialog data exchange and validation: DDX_ moves a value between a field and a control
// (into the control, or back with validation), DDV_ checks a range when the value comes back.
#pragma once

#include "platform/window.h"

#include <string>

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // Set by the first exchange or validation that fails; later ones then do nothing.
    bool m_bFailed = false;
    int m_idLastControl = 0;

    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
    // Tells the user why (with a message box), puts the focus on the control last prepared
    // (an edit's text selected, for retyping) and fails the exchange.
    void Fail(const char* pszWhy = nullptr);
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// value is the index of the checked radio button of the group that starts at nIDC (the
// radio buttons up to the next control that starts a group), -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, std::string& value);

// Range checks, after the DDX_Text of the same value; they check only when saving.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);
