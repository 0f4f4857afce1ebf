// The keystream in the browser: keys from crypto.getRandomValues, or from a
// seed through BLAKE2b, expanded with the same portable ChaCha20 as on
// Windows, so a seed gives the same stream as on the desktop.
#include "sys/keystream.h"

#include "sys/chacha20.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>

namespace {
// Fills out[0..n) from the browser's secure source; 0 when there is none.
EM_JS(int, kelvane_random_bytes, (unsigned char* out, int n), {
    const c = globalThis.crypto;
    if (!c || !c.getRandomValues)
        return 0;
    // getRandomValues takes at most 65536 bytes a call.
    for (let at = 0; at < n; at += 65536)
        c.getRandomValues(HEAPU8.subarray(out + at, out + Math.min(n, at + 65536)));
    return 1;
});

void systemRandom(unsigned char* out, std::size_t n)
{
    if (!kelvane_random_bytes(out, int(n))) {
        // No random numbers means no program.
        std::fputs("kelvane: this browser has no secure random source (crypto.getRandomValues)\n", stderr);
        std::abort();
    }
}
} // namespace

namespace keystream {

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
    volatile unsigned char* b = static_cast<volatile unsigned char*>(p);
    while (n--)
        *b++ = 0;
}

} // namespace keystream
