// A storage for fuzzing that keeps no bytes: it counts them, hashes them, and refuses
// writes beyond a limit, so a stream that expands enormously ends quickly as a write error.
#pragma once

#include "kwfilter.h"

class CountingSink : public ALStorage {
public:
    explicit CountingSink(long limit) : ALStorage("sink"), mlLimit(limit) {}
    ~CountingSink() override { Close(); }
    long Written() const { return mlWritten; }

protected:
    int OpenMedium(bool) override { return AL_SUCCESS; }
    void CloseMedium() override {}
    long MediumSize() const override { return mlWritten; }
    long ReadAt(long, unsigned char*, size_t) override { return 0; }
    bool WriteAt(long address, const unsigned char*, size_t count) override
    {
        if (address + (long)count > mlLimit) {
            mStatus.SetError(AL_WRITE_ERROR, "Sink limit reached");
            return false;
        }
        if (address + (long)count > mlWritten) mlWritten = address + (long)count;
        return true;
    }

private:
    long mlLimit;
    long mlWritten = 0;
};
