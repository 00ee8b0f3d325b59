#include "archive/pk_engines.h"

#include "compress/engine_support.h"

#include <zlib.h>

#include <new>

using alengine::CopyBytes;
using alengine::OpenedStorages;
using alengine::Outcome;

namespace {

constexpr size_t kInputChunk = 16384;
constexpr size_t kOutputChunk = 32768;

bool IsDeflateType(int engineType)
{
    return engineType >= AL_PK_DEFLATE_NORMAL && engineType <= AL_PK_DEFLATE_SUPER_FAST;
}

int DeflateLevel(int engineType)
{
    switch (engineType) {
    case AL_PK_DEFLATE_MAXIMUM: return 9;
    case AL_PK_DEFLATE_FAST: return 2;
    case AL_PK_DEFLATE_SUPER_FAST: return 1;
    default: return Z_DEFAULT_COMPRESSION;
    }
}

// One inflater per thread, reset for each member: an archive of many small designs would
// otherwise spend much of its time setting inflaters up and taking them down.
class InflaterCache {
public:
    ~InflaterCache()
    {
        if (mbReady) inflateEnd(&mStream);
    }
    z_stream* Get()
    {
        if (mbReady) {
            if (inflateReset(&mStream) == Z_OK) return &mStream;
            inflateEnd(&mStream);
            mbReady = false;
        }
        mStream = z_stream{};
        mbReady = inflateInit2(&mStream, -MAX_WBITS) == Z_OK;
        return mbReady ? &mStream : nullptr;
    }

private:
    z_stream mStream{};
    bool mbReady = false;
};

z_stream* ThreadInflater()
{
    thread_local InflaterCache inflater;
    return inflater.Get();
}

} // namespace

int ALPkEngineTypeOf(int method, int flags)
{
    if (method == 0) return AL_PK_STORED;
    if (method == 8) return AL_PK_DEFLATE_NORMAL + ((flags >> 1) & 3);
    return method + 100;
}

bool ALPkIsKnownType(int engineType)
{
    return engineType == AL_PK_STORED || IsDeflateType(engineType);
}

// Copy engines

int ALPkCopyCompressor::Compress(ALStorage& input, ALStorage& output)
{
    mStatus.Clear();
    OpenedStorages opened(input, output);
    if (Outcome(mStatus, input, output) < 0) return mStatus;
    input.InitCrc32(0xFFFFFFFF);
    CopyBytes(input, output, -1);
    opened.Close();
    return Outcome(mStatus, input, output);
}

ALPkCopyCompressor* ALPkCopyCompressor::Clone(int engineType) const
{
    return engineType == AL_PK_STORED ? new (std::nothrow) ALPkCopyCompressor : nullptr;
}

int ALPkCopyDecompressor::Decompress(ALStorage& input, ALStorage& output, long compressedLength)
{
    mStatus.Clear();
    OpenedStorages opened(input, output);
    if (Outcome(mStatus, input, output) < 0) return mStatus;
    output.InitCrc32(0xFFFFFFFF);
    CopyBytes(input, output, compressedLength);
    opened.Close();
    return Outcome(mStatus, input, output);
}

ALPkCopyDecompressor* ALPkCopyDecompressor::Clone(int engineType) const
{
    return engineType == AL_PK_STORED ? new (std::nothrow) ALPkCopyDecompressor : nullptr;
}

// Deflate

ALPkCompressor::ALPkCompressor(int engineType)
    : miEngineType(IsDeflateType(engineType) ? engineType : AL_PK_DEFLATE_NORMAL)
{
}

int ALPkCompressor::Compress(ALStorage& input, ALStorage& output)
{
    mStatus.Clear();
    OpenedStorages opened(input, output);
    if (Outcome(mStatus, input, output) < 0) return mStatus;
    input.InitCrc32(0xFFFFFFFF);

    z_stream z{};
    if (deflateInit2(&z, DeflateLevel(miEngineType), Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return mStatus.SetError(AL_MEMORY_ALLOCATION_FAILURE, "Can't allocate the deflater for %s",
                                input.GetName());
    unsigned char in[kInputChunk];
    unsigned char out[kOutputChunk];
    int flush = Z_NO_FLUSH;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        if (z.avail_in == 0 && flush == Z_NO_FLUSH) {
            size_t got = input.ReadBuffer(in, sizeof in);
            if (input.mStatus < 0) break;
            z.next_in = in;
            z.avail_in = (uInt)got;
            if (got == 0) flush = Z_FINISH;
        }
        z.next_out = out;
        z.avail_out = sizeof out;
        result = deflate(&z, flush);
        size_t produced = sizeof out - z.avail_out;
        if (produced && output.WriteBuffer(out, produced) != produced) break;
        if (result == Z_STREAM_ERROR) {
            mStatus.SetError(AL_INTERNAL_ERROR, "Deflate failed for %s", input.GetName());
            break;
        }
    }
    deflateEnd(&z);
    opened.Close();
    return Outcome(mStatus, input, output);
}

ALPkCompressor* ALPkCompressor::Clone(int engineType) const
{
    return IsDeflateType(engineType) ? new (std::nothrow) ALPkCompressor(engineType) : nullptr;
}

// Inflate

int ALPkDecompressor::Decompress(ALStorage& input, ALStorage& output, long compressedLength)
{
    mStatus.Clear();
    OpenedStorages opened(input, output);
    if (Outcome(mStatus, input, output) < 0) return mStatus;
    output.InitCrc32(0xFFFFFFFF);

    z_stream* stream = ThreadInflater();
    if (!stream)
        return mStatus.SetError(AL_MEMORY_ALLOCATION_FAILURE, "Can't allocate the inflater for %s",
                                input.GetName());
    z_stream& z = *stream;
    z.next_in = nullptr; // a reset keeps what the last member left unread
    z.avail_in = 0;
    unsigned char in[kInputChunk];
    unsigned char out[kOutputChunk];
    long remaining = compressedLength; // -1: up to the end of the input
    for (;;) {
        if (z.avail_in == 0) {
            size_t want = remaining < 0 || remaining > (long)sizeof in ? sizeof in : (size_t)remaining;
            size_t got = want ? input.ReadBuffer(in, want) : 0;
            if (input.mStatus < 0) break;
            if (got == 0) {
                mStatus.SetError(AL_INVALID_ARCHIVE, "The deflate data of %s end before the stream does",
                                 input.GetName());
                break;
            }
            if (remaining > 0) remaining -= (long)got;
            z.next_in = in;
            z.avail_in = (uInt)got;
        }
        z.next_out = out;
        z.avail_out = sizeof out;
        int result = inflate(&z, Z_NO_FLUSH);
        size_t produced = sizeof out - z.avail_out;
        if (produced && output.WriteBuffer(out, produced) != produced) break;
        if (result == Z_STREAM_END) break;
        if (result == Z_DATA_ERROR || result == Z_NEED_DICT) {
            mStatus.SetError(AL_INVALID_ARCHIVE, "Invalid deflate data in %s: %s", input.GetName(),
                             z.msg ? z.msg : "bad stream");
            break;
        }
        if (result == Z_MEM_ERROR) {
            mStatus.SetError(AL_MEMORY_ALLOCATION_FAILURE, "Memory allocation failure inflating %s",
                             input.GetName());
            break;
        }
    }
    opened.Close();
    return Outcome(mStatus, input, output);
}

ALPkDecompressor* ALPkDecompressor::Clone(int engineType) const
{
    return IsDeflateType(engineType) ? new (std::nothrow) ALPkDecompressor : nullptr;
}
