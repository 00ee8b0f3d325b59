// The two ends of extracting one member: the member's bytes as they lie in the archive,
// deciphered as they are read, and the entry's storage behind a ceiling on what is written.
#pragma once

#include "archive/crypto.h"
#include "compress/storage.h"

#include <string>

// Reads the length bytes at start of the archive storage (open for reading), passing each
// through the cipher when one is given. Reads only go forward, as a cipher needs.
class ALMemberInput : public ALStorage {
public:
    ALMemberInput(const char* name, ALStorage& archive, long start, long length, ALCryptoEngine* crypto);
    ~ALMemberInput() override;

protected:
    int OpenMedium(bool create) override;
    void CloseMedium() override {}
    long MediumSize() const override { return mlLength; }
    long ReadAt(long address, unsigned char* buffer, size_t count) override;
    bool WriteAt(long address, const unsigned char* buffer, size_t count) override;

private:
    ALStorage& mArchive;
    long mlStart;
    long mlLength;
    ALCryptoEngine* mpCrypto;
};

// Creates the target on open and closes it on close; a write that would take the target
// beyond the limit writes what fits and fails with -1184 and the given detail text.
class ALBoundedOutput : public ALStorage {
public:
    ALBoundedOutput(ALStorage& target, long limit, std::string detail);
    ~ALBoundedOutput() override;
    bool LimitReached() const { return mbLimitReached; }
    long Written() const { return mlWritten; }

protected:
    int OpenMedium(bool create) override;
    void CloseMedium() override;
    long MediumSize() const override { return mlWritten; }
    long ReadAt(long, unsigned char*, size_t) override { return 0; }
    bool WriteAt(long address, const unsigned char* buffer, size_t count) override;

private:
    bool CopyTargetError();

    ALStorage& mTarget;
    long mlLimit;
    std::string mDetail;
    long mlWritten = 0;
    bool mbLimitReached = false;
};
