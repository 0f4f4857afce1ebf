// The secure random source in the browser: crypto.getRandomValues, under
// the portable keystream (sys/keystream_chacha.cpp).
#include "sys/keystream.h"
#include "sys/secure_random.h"

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
} // namespace

namespace keystream {

void secureRandom(unsigned char* out, std::size_t n)
{
    if (!kelvane_random_bytes(out, int(n))) {
        std::fputs("kelvane: this browser has no secure random source (crypto.getRandomValues)\n", stderr);
        std::abort();
    }
}

void wipe(void* p, std::size_t n)
{
    volatile unsigned char* b = static_cast<volatile unsigned char*>(p);
    while (n--)
        *b++ = 0;
}

} // namespace keystream
