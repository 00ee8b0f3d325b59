// Dialog data exchange and validation.
#include "platform/window_state.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace wndmodel;

namespace {

std::string Trimmed(const std::string& t)
{
    size_t a = 0, b = t.size();
    while (a < b && std::isspace((unsigned char)t[a])) ++a;
    while (b > a && std::isspace((unsigned char)t[b - 1])) --b;
    return t.substr(a, b - a);
}

bool ParseWhole(const std::string& text, long long& v, bool allowSign)
{
    std::string t = Trimmed(text);
    if (t.empty() || (!allowSign && t[0] == '-')) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtoll(t.c_str(), &end, 10);
    return errno == 0 && end && *end == 0;
}

bool ParseReal(const std::string& text, double& v)
{
    std::string t = Trimmed(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtod(t.c_str(), &end);
    return end && *end == 0 && std::isfinite(v) && errno != ERANGE;
}

std::string RealText(double v, int digits)
{
    char t[64];
    std::snprintf(t, sizeof t, "%.*g", digits, v);
    return t;
}

WindowState* Control(CDataExchange* pDX, int nIDC) { return pDX->PrepareCtrl(nIDC); }

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    if (m_bFailed || !m_pDlgWnd || !m_pDlgWnd->m_hWnd) return nullptr;
    WindowState* s = m_pDlgWnd->m_hWnd->Child(nIDC);
    // A control the dialog does not have fails the exchange: the value could not be taken.
    if (!s) m_bFailed = true;
    else m_idLastControl = nIDC;
    return s;
}

void CDataExchange::Fail(const char* pszWhy)
{
    if (pszWhy && *pszWhy) AfxMessageBox(pszWhy, MB_OK | MB_ICONWARNING);
    m_bFailed = true;
    HWND last = m_pDlgWnd && m_pDlgWnd->m_hWnd ? m_pDlgWnd->m_hWnd->Child(m_idLastControl) : nullptr;
    if (last) {
        ChangeFocus(last);
        if (last->kind == ControlKind::Edit) {
            last->nSelStart = 0;
            last->nSelEnd = (int)last->text.size();
        }
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd) return;
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (!rControl.Attach(s)) pDX->m_bFailed = true;
    else rControl.PreSubclassWindow();
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        value = s->nCheck;
    } else {
        // Out of range the framework shows the box unchecked and takes 0.
        if (value < 0 || value > 2) value = 0;
        s->nCheck = value;
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (s->kind != ControlKind::RadioButton) {
        pDX->m_bFailed = true;
        return;
    }
    // The group runs from the given button to the next control that starts a group; only
    // its radio buttons count, as the framework counts them.
    const auto& ch = s->pParent->children;
    size_t first = IndexInParent(s);
    size_t last = first + 1;
    while (last < ch.size() && !ch[last]->bGroup) ++last;
    int index = 0;
    if (pDX->m_bSaveAndValidate) value = -1;
    for (size_t i = first; i < last; ++i) {
        if (ch[i]->kind != ControlKind::RadioButton) continue;
        if (pDX->m_bSaveAndValidate) {
            if (ch[i]->nCheck && value < 0) value = index;
        } else {
            ch[i]->nCheck = index == value;
        }
        ++index;
    }
}

namespace {

template <class T>
void TextInteger(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi, bool allowSign,
                 const char* pszWhy, const char* pszFormat)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        long long v;
        if (!ParseWhole(s->text, v, allowSign) || v < lo || v > hi) {
            pDX->Fail(pszWhy);
            return;
        }
        value = (T)v;
    } else {
        char t[32];
        std::snprintf(t, sizeof t, pszFormat, (long long)value);
        s->text = t;
    }
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextInteger(pDX, nIDC, value, INT_MIN, INT_MAX, true, "Please enter an integer.", "%lld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextInteger(pDX, nIDC, value, 0, UINT_MAX, false, "Please enter a positive integer.", "%lld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextInteger(pDX, nIDC, value, LONG_MIN, LONG_MAX, true, "Please enter an integer.", "%lld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        double v;
        if (!ParseReal(s->text, v)) return pDX->Fail("Please enter a number.");
        value = v;
    } else {
        s->text = RealText(value, 15);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        double v;
        if (!ParseReal(s->text, v) || std::fabs(v) > 3.402823466e38) return pDX->Fail("Please enter a number.");
        value = (float)v;
    } else {
        s->text = RealText(value, 6);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) value = s->text;
    else s->text = value;
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) index = s->nCurSel;
    else SelectItem(s, index);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) { DDX_CBIndex(pDX, nIDC, index); }

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        value = s->kind == ControlKind::ComboBox || s->nCurSel < 0 ? s->text : s->items[(size_t)s->nCurSel];
        return;
    }
    int found = -1;
    for (size_t i = 0; i < s->items.size() && found < 0; ++i)
        if (StartsWithText(s->items[i], value.c_str())) found = (int)i;
    SelectItem(s, found);
    if (s->kind == ControlKind::ComboBox) s->text = value;
}

void DDX_LBString(CDataExchange* pDX, int nIDC, std::string& value)
{
    WindowState* s = Control(pDX, nIDC);
    if (!s) return;
    if (pDX->m_bSaveAndValidate) {
        value = s->nCurSel >= 0 ? s->items[(size_t)s->nCurSel] : std::string();
        return;
    }
    int found = -1;
    for (size_t i = 0; i < s->items.size() && found < 0; ++i)
        if (StartsWithText(s->items[i], value.c_str())) found = (int)i;
    SelectItem(s, found);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(FormatText("Please enter an integer between %d and %d.", minVal, maxVal).c_str());
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(FormatText("Please enter a positive integer between %u and %u.", minVal, maxVal).c_str());
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(FormatText("Please enter an integer between %ld and %ld.", minVal, maxVal).c_str());
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(("Please enter a number between " + RealText(minVal, 15) + " and " + RealText(maxVal, 15) + ".").c_str());
}

void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value < minVal || value > maxVal)
        pDX->Fail(("Please enter a number between " + RealText(minVal, 6) + " and " + RealText(maxVal, 6) + ".").c_str());
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars)
{
    if (pDX->m_bFailed) return;
    if (!pDX->m_bSaveAndValidate) {
        if (WindowState* s = pDX->m_pDlgWnd->m_hWnd ? pDX->m_pDlgWnd->m_hWnd->Child(pDX->m_idLastControl) : nullptr)
            s->nLimitText = nChars > 0 ? nChars : 0;
        return;
    }
    if ((int)value.size() > nChars) pDX->Fail(FormatText("Enter no more than %d characters.", nChars).c_str());
}

