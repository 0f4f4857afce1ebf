// The keystream on Windows: keys from the system's preferred random
// generator (BCryptGenRandom), or from a seed through BLAKE2b, expanded with
// ChaCha20 exactly as on Linux, so a seed gives the same stream on both.
#include "sys/keystream.h"

#include "sys/chacha20.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstdio>
#include <cstdlib>

namespace keystream {
namespace {

void systemRandom(unsigned char* out, std::size_t n)
{
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, out, ULONG(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        // No random numbers means no program.
        std::fputs("kelvane: the system's random number generator failed\n", stderr);
        std::abort();
    }
}

} // namespace

void init()
{
    unsigned char probe[16];
    systemRandom(probe, sizeof probe);
    wipe(probe, sizeof probe);
}

void newKey(unsigned char (&key)[kKeyBytes])
{
    systemRandom(key, sizeof key);
}

bool keyFromSeed(unsigned char (&key)[kKeyBytes], std::string_view context, std::string_view seed)
{
    cipher::Blake2b h(sizeof key);
    h.update(reinterpret_cast<const unsigned char*>(context.data()), context.size());
    h.update(reinterpret_cast<const unsigned char*>(seed.data()), seed.size());
    h.final(key);
    return true;
}

void fill(unsigned char* out, std::size_t n, std::uint64_t nonce, std::uint64_t firstBlock,
          const unsigned char (&key)[kKeyBytes])
{
    unsigned char iv[8];
    for (std::size_t i = 0; i < sizeof iv; ++i)
        iv[i] = static_cast<unsigned char>(nonce >> (8 * i));
    cipher::chacha20(out, n, iv, key, firstBlock);
}

void wipe(void* p, std::size_t n)
{
    SecureZeroMemory(p, n);
}

} // namespace keystream
