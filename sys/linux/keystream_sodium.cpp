// The keystream on libsodium: ChaCha20 keyed from randombytes or BLAKE2b.
#include "sys/keystream.h"

#include <sodium.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

void fill(unsigned char* out, std::size_t n, std::uint64_t nonce, std::uint64_t firstBlock,
          const unsigned char (&key)[kKeyBytes])
{
    unsigned char iv[crypto_stream_chacha20_NONCEBYTES];
    for (std::size_t i = 0; i < sizeof iv; ++i)
        iv[i] = static_cast<unsigned char>(nonce >> (8 * i));
    if (firstBlock == 0) {
        crypto_stream_chacha20(out, n, iv, key);
        return;
    }
    // The keystream from a later block: XOR it over zeros.
    std::memset(out, 0, n);
    crypto_stream_chacha20_xor_ic(out, out, n, iv, firstBlock, key);
}

void wipe(void* p, std::size_t n)
{
    sodium_memzero(p, n);
}

} // namespace keystream
