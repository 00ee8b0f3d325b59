// A growing memory storage with a ceiling: writes beyond it fail (and say so), so that a
// stream that expands enormously ends as soon as it passes what the caller can use.
#pragma once

#include "compress/storage.h"

#include <vector>

class ALLimitedMemory : public ALStorage {
public:
    // With keepBytes false the storage only counts what is written.
    ALLimitedMemory(const char* name, long limit, bool keepBytes = true);
    ~ALLimitedMemory() override;
    bool LimitReached() const { return mbLimitReached; }
    long Used() const { return mlUsed; }
    const unsigned char* Data() const { return mBytes.data(); }

protected:
    int OpenMedium(bool create) override;
    void CloseMedium() override {}
    long MediumSize() const override { return mlUsed; }
    long ReadAt(long address, unsigned char* buffer, size_t count) override;
    bool WriteAt(long address, const unsigned char* buffer, size_t count) override;

private:
    long mlLimit;
    bool mbKeep;
    bool mbLimitReached = false;
    long mlUsed = 0;
    std::vector<unsigned char> mBytes;
};
