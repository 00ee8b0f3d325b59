#include "archive/crypto.h"

#include <cstring>
#include <new>

ALXorCrypto::ALXorCrypto(const char* key)
{
    if (key) mKey.assign(key, key + std::strlen(key));
}

ALXorCrypto::ALXorCrypto(const unsigned char* key, int length)
{
    if (key && length > 0) mKey.assign(key, key + length);
}

ALXorCrypto* ALXorCrypto::Clone() const
{
    return new (std::nothrow) ALXorCrypto(mKey.data(), (int)mKey.size());
}

int ALXorCrypto::Start()
{
    miPosition = 0;
    if (mKey.empty()) return mStatus.SetError(AL_INVALID_KEY, "Xor Encryption needs a key of one byte or more");
    mStatus.Clear();
    return AL_SUCCESS;
}

void ALXorCrypto::Apply(unsigned char* data, size_t count)
{
    if (mKey.empty()) return;
    const size_t n = mKey.size();
    size_t k = miPosition;
    for (size_t i = 0; i < count; ++i) {
        data[i] ^= mKey[k];
        if (++k == n) k = 0;
    }
    miPosition = k;
}
