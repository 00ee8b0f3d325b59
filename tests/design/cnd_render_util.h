// Helpers of the stitch generation tests: point lists shown as text (so a failure shows
// exactly which points differ) and a fixture that starts every test from the same
// process-wide state and leaves that state as it found it.
#pragma once

#include "cnd_test_util.h"

#include "core/settings.h"

#include <sstream>
#include <string>
#include <vector>

namespace cndtest {

using Pts = std::vector<tagPOINT>;

inline std::string Show(const Pts& pts)
{
    std::ostringstream s;
    for (const auto& p : pts) s << '(' << p.x << ',' << p.y << ')';
    return s.str();
}

class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedCorastitch = GetSetup()->m_bCorastitch;
        GetSetup()->m_bCorastitch = 0;
        CCndObject::s_nSatinLineStagger = CCndObject::s_nSatinReturnStagger = CCndObject::s_nFillRowStagger = 0;
        bForceFill = bLongSatins = bLettering = 0;
    }
    void TearDown() override
    {
        GetSetup()->m_bCorastitch = m_nSavedCorastitch;
        bForceFill = bLongSatins = bLettering = 0;
    }
    void Corastitch(int on) { GetSetup()->m_bCorastitch = on; }

private:
    int m_nSavedCorastitch = 0;
};

} // namespace cndtest
