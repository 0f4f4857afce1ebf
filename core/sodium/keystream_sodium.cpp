// The keystream on libsodium: ChaCha20 keyed from randombytes or BLAKE2b.
#include "core/sys/keystream.h"

#include <sodium.h>

#include <cstdio>
#include <cstdlib>

namespace keystream {

void init()
{
    if (sodium_init() < 0) {
        std::fputs("kelvane: libsodium could not be initialised\n", stderr);
        std::abort();
    }
}

void newKey(unsigned char (&key)[kKeyBytes])
{
    randombytes_buf(key, sizeof key);
}

bool keyFromSeed(unsigned char (&key)[kKeyBytes], std::string_view context, std::string_view seed)
{
    crypto_generichash_state st;
    crypto_generichash_init(&st, nullptr, 0, sizeof key);
    crypto_generichash_update(&st, reinterpret_cast<const unsigned char*>(context.data()), context.size());
    crypto_generichash_update(&st, reinterpret_cast<const unsigned char*>(seed.data()), seed.size());
    crypto_generichash_final(&st, key, sizeof key);
    return true;
}

void fill(unsigned char* out, std::size_t n, std::uint64_t block, const unsigned char (&key)[kKeyBytes])
{
    unsigned char nonce[crypto_stream_chacha20_NONCEBYTES];
    for (std::size_t i = 0; i < sizeof nonce; ++i)
        nonce[i] = static_cast<unsigned char>(block >> (8 * i));
    crypto_stream_chacha20(out, n, nonce, key);
}

void wipe(void* p, std::size_t n)
{
    sodium_memzero(p, n);
}

} // namespace keystream
