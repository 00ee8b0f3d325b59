#include "archive/member_io.h"

#include <algorithm>

// ALMemberInput

ALMemberInput::ALMemberInput(const char* name, ALStorage& archive, long start, long length, ALCryptoEngine* crypto)
    : ALStorage(name), mArchive(archive), mlStart(start), mlLength(length < 0 ? 0 : length), mpCrypto(crypto)
{
}

ALMemberInput::~ALMemberInput()
{
    Close();
}

int ALMemberInput::OpenMedium(bool create)
{
    if (create) return mStatus.SetError(AL_WRITE_ERROR, "Attempt to write into archive member %s", GetName());
    return AL_SUCCESS;
}

long ALMemberInput::ReadAt(long address, unsigned char* buffer, size_t count)
{
    if (address >= mlLength) return 0;
    size_t want = std::min(count, (size_t)(mlLength - address));
    if (mArchive.Seek(mlStart + address) < 0) {
        mStatus = mArchive.mStatus;
        return -1;
    }
    size_t got = mArchive.ReadBuffer(buffer, want);
    if (mArchive.mStatus < 0) {
        mStatus = mArchive.mStatus;
        return -1;
    }
    if (mpCrypto) mpCrypto->Decrypt(buffer, got);
    return (long)got;
}

bool ALMemberInput::WriteAt(long, const unsigned char*, size_t)
{
    mStatus.SetError(AL_WRITE_ERROR, "Attempt to write into archive member %s", GetName());
    return false;
}

// ALBoundedOutput

ALBoundedOutput::ALBoundedOutput(ALStorage& target, long limit, std::string detail)
    : ALStorage(target.GetName()), mTarget(target), mlLimit(limit < 0 ? 0 : limit), mDetail(std::move(detail))
{
}

ALBoundedOutput::~ALBoundedOutput()
{
    Close();
}

bool ALBoundedOutput::CopyTargetError()
{
    if (mTarget.mStatus >= 0) return false;
    mStatus = mTarget.mStatus;
    return true;
}

int ALBoundedOutput::OpenMedium(bool create)
{
    if (!create) return mStatus.SetError(AL_READ_ERROR, "Attempt to read from the output %s", GetName());
    mlWritten = 0;
    mbLimitReached = false;
    mTarget.Create();
    if (CopyTargetError()) return mStatus;
    return AL_SUCCESS;
}

void ALBoundedOutput::CloseMedium()
{
    mTarget.Close();
    if (mStatus >= 0) CopyTargetError();
}

bool ALBoundedOutput::WriteAt(long address, const unsigned char* buffer, size_t count)
{
    // The engines write straight on; the address is where the last write ended.
    size_t room = address >= mlLimit ? 0 : (size_t)(mlLimit - address);
    size_t take = std::min(count, room);
    if (take && mTarget.WriteBuffer(buffer, take) != take) {
        CopyTargetError();
        return false;
    }
    mlWritten = std::max(mlWritten, address + (long)take);
    if (take < count) {
        mbLimitReached = true;
        mStatus.SetError(AL_CRC_ERROR, "%s", mDetail.c_str());
        return false;
    }
    return true;
}
