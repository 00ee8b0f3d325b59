#include "archive/toolkit.h"

#include "archive/pk_engines.h"
#include "compress/file_storage.h"
#include "compress/glcompressor.h"

#include <new>

namespace {

template <class T> void Append(std::vector<std::shared_ptr<const T>>& to, const std::vector<std::shared_ptr<const T>>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

template <class T, class Make> auto FirstServing(const std::vector<std::shared_ptr<const T>>& prototypes, Make make)
    -> decltype(make(*prototypes.front()))
{
    for (const auto& prototype : prototypes)
        if (auto* made = make(*prototype)) return made;
    return nullptr;
}

} // namespace

ALToolKit& ALToolKit::AddCompressor(std::unique_ptr<ALCompressor> prototype)
{
    if (prototype) mCompressors.push_back(std::move(prototype));
    return *this;
}

ALToolKit& ALToolKit::AddDecompressor(std::unique_ptr<ALDecompressor> prototype)
{
    if (prototype) mDecompressors.push_back(std::move(prototype));
    return *this;
}

ALToolKit& ALToolKit::AddStorage(std::unique_ptr<ALStorage> prototype)
{
    if (prototype) mStorages.push_back(std::move(prototype));
    return *this;
}

ALToolKit& ALToolKit::AddCrypto(std::unique_ptr<ALCryptoEngine> prototype)
{
    if (prototype) mCrypto.push_back(std::move(prototype));
    return *this;
}

ALToolKit ALToolKit::operator+(const ALToolKit& other) const
{
    ALToolKit sum = *this;
    Append(sum.mCompressors, other.mCompressors);
    Append(sum.mDecompressors, other.mDecompressors);
    Append(sum.mStorages, other.mStorages);
    Append(sum.mCrypto, other.mCrypto);
    return sum;
}

ALCompressor* ALToolKit::CreateCompressor(int engineType) const
{
    return FirstServing(mCompressors, [&](const ALCompressor& p) -> ALCompressor* { return p.Clone(engineType); });
}

ALDecompressor* ALToolKit::CreateDecompressor(int engineType) const
{
    return FirstServing(mDecompressors,
                        [&](const ALDecompressor& p) -> ALDecompressor* { return p.Clone(engineType); });
}

ALStorage* ALToolKit::CreateStorageObject(const char* name, int storageType) const
{
    return FirstServing(mStorages, [&](const ALStorage& p) { return p.Clone(name, storageType); });
}

ALCryptoEngine* ALToolKit::CreateCryptoEngine() const
{
    return FirstServing(mCrypto, [](const ALCryptoEngine& p) { return p.Clone(); });
}

namespace {

ALToolKit PkStorages()
{
    ALToolKit kit;
    kit.AddStorage(std::make_unique<ALFile>("", ALStorage::kDefaultBufferSize, AL_MIXED));
    kit.AddStorage(std::make_unique<ALMemory>("", nullptr, 0, AL_MIXED));
    return kit;
}

} // namespace

ALToolKit PkDecompressTools()
{
    ALToolKit kit;
    kit.AddDecompressor(std::make_unique<ALPkCopyDecompressor>());
    kit.AddDecompressor(std::make_unique<ALPkDecompressor>());
    return kit + PkStorages();
}

ALToolKit PkDecompressTools(const ALCryptoEngine& crypto)
{
    ALToolKit kit = PkDecompressTools();
    kit.AddCrypto(std::unique_ptr<ALCryptoEngine>(crypto.Clone()));
    return kit;
}

ALToolKit FullTools()
{
    ALToolKit kit;
    kit.AddCompressor(std::make_unique<ALPkCopyCompressor>());
    kit.AddCompressor(std::make_unique<ALPkCompressor>());
    kit.AddCompressor(std::make_unique<ALGlCompressor>());
    kit.AddDecompressor(std::make_unique<ALPkCopyDecompressor>());
    kit.AddDecompressor(std::make_unique<ALPkDecompressor>());
    kit.AddDecompressor(std::make_unique<ALGlDecompressor>());
    return kit + PkStorages();
}
