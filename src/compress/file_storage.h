// A storage over a file on disk.
#pragma once

#include "compress/storage.h"

class ALFile : public ALStorage {
public:
    explicit ALFile(const char* name, size_t bufferSize = kDefaultBufferSize,
                    ALCase nameCase = AL_MIXED);
    ~ALFile() override;
    ALStorage* Clone(const char* name, int storageType) const override;

protected:
    int OpenMedium(bool create) override;
    void CloseMedium() override;
    long MediumSize() const override;
    long ReadAt(long address, unsigned char* buffer, size_t count) override;
    bool WriteAt(long address, const unsigned char* buffer, size_t count) override;

private:
    int miHandle = -1;
};
