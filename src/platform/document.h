// The host's document: the framework class a host's documents derive from. The library only
// passes it back to the host (the colour toolbar's callback).
#pragma once

#include "platform/window.h"

#include <string>

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override = default;

    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const char* lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const char* lpszPathName) { m_strPathName = lpszPathName ? lpszPathName : ""; }

    DECLARE_DYNAMIC(CDocument)

private:
    std::string m_strTitle;
    std::string m_strPathName;
};
