// Cipher engines for archive members. An archive deciphers every byte of an enciphered
// member as it reads it, starting the engine afresh for each member.
#pragma once

#include "compress/status.h"

#include <cstddef>
#include <vector>

class ALCryptoEngine {
public:
    virtual ~ALCryptoEngine() = default;
    virtual const char* GetName() const = 0;
    // Each starts a member; 0 or a negative status.
    virtual int StartEncrypt() = 0;
    virtual int StartDecrypt() = 0;
    virtual void Encrypt(unsigned char* data, size_t count) = 0;
    virtual void Decrypt(unsigned char* data, size_t count) = 0;
    // A new engine with the same key, at the start of a member.
    virtual ALCryptoEngine* Clone() const = 0;

    ALStatus mStatus;
};

// A repeating key XORed over the data: enciphering and deciphering are the same. The key is
// copied; its position returns to the first byte at the start of every member.
class ALXorCrypto : public ALCryptoEngine {
public:
    explicit ALXorCrypto(const char* key);
    ALXorCrypto(const unsigned char* key, int length);

    const char* GetName() const override { return "Xor Encryption"; }
    int StartEncrypt() override { return Start(); }
    int StartDecrypt() override { return Start(); }
    void Encrypt(unsigned char* data, size_t count) override { Apply(data, count); }
    void Decrypt(unsigned char* data, size_t count) override { Apply(data, count); }
    ALXorCrypto* Clone() const override;

    size_t GetKeyLength() const { return mKey.size(); }

private:
    int Start();
    void Apply(unsigned char* data, size_t count);

    std::vector<unsigned char> mKey;
    size_t miPosition = 0;
};
