// A tool kit: the prototype engines and storages from which an entry list gives each entry
// its own, chosen by engine or storage type. Kits are values; copies share the prototypes.
#pragma once

#include "archive/crypto.h"
#include "compress/engine.h"
#include "compress/storage.h"

#include <memory>
#include <vector>

class ALToolKit {
public:
    ALToolKit() = default;

    ALToolKit& AddCompressor(std::unique_ptr<ALCompressor> prototype);
    ALToolKit& AddDecompressor(std::unique_ptr<ALDecompressor> prototype);
    ALToolKit& AddStorage(std::unique_ptr<ALStorage> prototype);
    ALToolKit& AddCrypto(std::unique_ptr<ALCryptoEngine> prototype);
    // Everything of both kits, this kit's prototypes first.
    ALToolKit operator+(const ALToolKit& other) const;

    // New objects the caller owns, from the first prototype that serves the type; null when
    // none does.
    ALCompressor* CreateCompressor(int engineType) const;
    ALDecompressor* CreateDecompressor(int engineType) const;
    ALStorage* CreateStorageObject(const char* name, int storageType = AL_STORAGE_DEFAULT) const;
    ALCryptoEngine* CreateCryptoEngine() const;

private:
    std::vector<std::shared_ptr<const ALCompressor>> mCompressors;
    std::vector<std::shared_ptr<const ALDecompressor>> mDecompressors;
    std::vector<std::shared_ptr<const ALStorage>> mStorages;
    std::vector<std::shared_ptr<const ALCryptoEngine>> mCrypto;
};

// Reading ZIP archives: the copy and inflating engines, a file storage (4096-byte buffer)
// and a memory storage, names compared without regard to case. A file storage is what an
// entry gets by default.
ALToolKit PkDecompressTools();
// The same, deciphering enciphered members with the given engine (e.g. ALXorCrypto and the
// host's key).
ALToolKit PkDecompressTools(const ALCryptoEngine& crypto);
// Every engine of the library, both ways, and both storages; for listing archives.
ALToolKit FullTools();
