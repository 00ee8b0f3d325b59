// Resources a program carries (dialog templates, bitmaps), found by ID. Of two with one ID
// the one registered last is found, so a host can replace one of the library's.
#pragma once

#include "platform/types.h"

#include <vector>

template <class T> class ResourceRegistry {
public:
    static void Register(const T* pResource)
    {
        if (pResource) List().push_back(pResource);
    }
    static const T* Find(UINT nID)
    {
        const auto& list = List();
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            if ((*it)->nID == nID) return *it;
        return nullptr;
    }

private:
    static std::vector<const T*>& List()
    {
        static std::vector<const T*> list;
        return list;
    }
};
