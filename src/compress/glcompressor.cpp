#include "compress/glcompressor.h"

#include "compress/engine_support.h"
#include "compress/glstream.h"

#include <new>

using alengine::CopyBytes;
using alengine::OpenedStorages;
using alengine::Outcome;

namespace {

constexpr short kDefaultLevel = 4;
constexpr short kDefaultLevelArgument = -2;
constexpr short kStoredLevel = -1;
constexpr short kEngineDataVersion = 2;

const char kBadLevel[] =
    "Incorrect compression level parameter passed to compressor.  Compression level = %d";

} // namespace

// ALGlCompressor

ALGlCompressor::ALGlCompressor(short level, short failUncompressible)
    : miCompressionLevel(level), miFailUncompressible(failUncompressible ? 1 : 0)
{
}

int ALGlCompressor::Compress(ALStorage& input, ALStorage& output)
{
    mStatus.Clear();
    OpenedStorages opened(input, output);
    if (Outcome(mStatus, input, output) < 0) return mStatus;

    long inputStart = input.Tell();
    long outputStart = output.Tell();
    input.InitCrc32(0xFFFFFFFF);
    if (miCompressionLevel != kStoredLevel) {
        if (miCompressionLevel < glstream::kMinLevel || miCompressionLevel > glstream::kMaxLevel)
            return mStatus.SetError(AL_ILLEGAL_PARAMETER, kBadLevel, miCompressionLevel);
        // Measured from the position, not the storage's start: a stream is only worth
        // keeping when it is shorter than the bytes it replaces.
        long inputSize = input.GetSize() - inputStart;
        glstream::EncodeResult result = glstream::Encode(input, output, miCompressionLevel,
                                                         miFailUncompressible != 0, inputSize, mStatus);
        if (result.status < 0) return mStatus;
        if (!result.stopped) {
            opened.Close();
            return Outcome(mStatus, input, output);
        }
        if (Outcome(mStatus, input, output) < 0) return mStatus;
    }
    StoredCopy(input, output, inputStart, outputStart);
    opened.Close();
    return Outcome(mStatus, input, output);
}

int ALGlCompressor::StoredCopy(ALStorage& input, ALStorage& output, long inputStart, long outputStart)
{
    input.Seek(inputStart);
    output.Seek(outputStart);
    input.InitCrc32(0xFFFFFFFF);
    miCompressionLevel = kStoredLevel;
    CopyBytes(input, output, -1);
    return Outcome(mStatus, input, output);
}

namespace {

// Engine data: a version word, then the level, big-endian.
int WriteLevel(ALStorage* storage, short level)
{
    storage->WriteGlShort(kEngineDataVersion);
    return storage->WriteGlShort(level);
}

int ReadLevel(ALStorage* storage, short& level)
{
    short version = 0;
    short stored = 0;
    int status = storage->ReadGlShort(version);
    if (status == AL_SUCCESS) status = storage->ReadGlShort(stored);
    if (status == AL_SUCCESS) level = stored;
    return status;
}

} // namespace

ALGlCompressor* ALGlCompressor::Clone(int engineType) const
{
    if (engineType != AL_ENGINE_DEFAULT && engineType != AL_ENGINE_GL) return nullptr;
    return new (std::nothrow) ALGlCompressor(miCompressionLevel, miFailUncompressible);
}

int ALGlCompressor::WriteEngineData(ALStorage* storage)
{
    return WriteLevel(storage, miCompressionLevel);
}

int ALGlCompressor::ReadEngineData(ALStorage* storage)
{
    return ReadLevel(storage, miCompressionLevel);
}

// ALGlDecompressor

ALGlDecompressor::ALGlDecompressor(short level) : miCompressionLevel(level) {}

int ALGlDecompressor::Decompress(ALStorage& input, ALStorage& output, long compressedLength)
{
    mStatus.Clear();
    OpenedStorages opened(input, output);
    if (Outcome(mStatus, input, output) < 0) return mStatus;
    output.InitCrc32(0xFFFFFFFF);

    if (miCompressionLevel == kStoredLevel) {
        CopyBytes(input, output, compressedLength);
    } else if (miCompressionLevel < glstream::kMinLevel || miCompressionLevel > glstream::kMaxLevel) {
        return mStatus.SetError(AL_ILLEGAL_PARAMETER, kBadLevel, miCompressionLevel);
    } else if (glstream::Decode(input, output, miCompressionLevel, compressedLength, mStatus) < 0) {
        return mStatus;
    }
    opened.Close();
    return Outcome(mStatus, input, output);
}

ALGlDecompressor* ALGlDecompressor::Clone(int engineType) const
{
    if (engineType != AL_ENGINE_DEFAULT && engineType != AL_ENGINE_GL) return nullptr;
    return new (std::nothrow) ALGlDecompressor(miCompressionLevel);
}

int ALGlDecompressor::WriteEngineData(ALStorage* storage)
{
    return WriteLevel(storage, miCompressionLevel);
}

int ALGlDecompressor::ReadEngineData(ALStorage* storage)
{
    return ReadLevel(storage, miCompressionLevel);
}

ALGlCompressor* newALGlCompressor(short level, short failUncompressible)
{
    return new (std::nothrow) ALGlCompressor(level == kDefaultLevelArgument ? kDefaultLevel : level, failUncompressible);
}

ALGlDecompressor* newALGlDecompressor(short level)
{
    return new (std::nothrow) ALGlDecompressor(level == kDefaultLevelArgument ? kDefaultLevel : level);
}
