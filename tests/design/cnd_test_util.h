// Helpers of the condensed design tests: archives in memory and a test element that sews
// the points it is given.
#pragma once

#include "test_util.h"

#include "design/cnd_object.h"
#include "design/emb_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Found by argument lookup from gtest's comparisons.
inline bool operator==(const tagPOINT& a, const tagPOINT& b) { return a.x == b.x && a.y == b.y; }
inline std::ostream& operator<<(std::ostream& os, const tagPOINT& p) { return os << "(" << p.x << ", " << p.y << ")"; }

namespace cndtest {

inline std::vector<tagPOINT> Points(CEmbObject& d)
{
    if (d.GetNoStitches() <= 0) return {};
    return std::vector<tagPOINT>(d.GetStitchData(), d.GetStitchData() + d.GetNoStitches());
}

template <class T> std::vector<uint8_t> Store(T& object)
{
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    return std::vector<uint8_t>(mem.Data(), mem.Data() + mem.GetLength());
}

// Loads a design object from archive bytes; null when the load failed.
inline std::unique_ptr<CEmbObject> Load(const std::vector<uint8_t>& bytes)
{
    CMemFile mem;
    if (!bytes.empty()) mem.Write(bytes.data(), (UINT)bytes.size());
    mem.SeekToBegin();
    CArchive ar(&mem, CArchive::load);
    return std::unique_ptr<CEmbObject>(CEmbObject::LoadObject(ar));
}

inline CCndObject* AsCnd(const std::unique_ptr<CEmbObject>& p)
{
    return p && p->IsKindOf(RUNTIME_CLASS(CCndObject)) ? static_cast<CCndObject*>(p.get()) : nullptr;
}

// Sews its points one by one as normal stitches: a stand-in for the outline elements where
// only the order of stitches and colour blocks matters.
class PointsElement : public CEmbData {
public:
    explicit PointsElement(std::vector<tagPOINT> pts) : m_Pts(std::move(pts)) {}
    CEmbData* Copy() override { return new PointsElement(m_Pts); }
    void MoveTo(tagPOINT off) override
    {
        for (auto& p : m_Pts) MovePoint(off, p);
    }
    void ScaleBy(tagSIZE f) override
    {
        for (auto& p : m_Pts) ScalePoint(f, p);
    }
    void MirrorH(int s) override
    {
        for (auto& p : m_Pts) p.x = s - p.x;
    }
    int RendorStitches(CCndObject* d) override
    {
        for (auto& p : m_Pts) d->AddStitches(p.x, p.y, SpecStNormal);
        return 1;
    }
    std::vector<tagPOINT> m_Pts;
};

} // namespace cndtest
