// The secure random source on Windows: the system's preferred random
// generator (BCryptGenRandom), under the portable keystream.
#include "sys/keystream.h"
#include "sys/secure_random.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstdio>
#include <cstdlib>

namespace keystream {

void secureRandom(unsigned char* out, std::size_t n)
{
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, out, ULONG(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        std::fputs("kelvane: the system's random number generator failed\n", stderr);
        std::abort();
    }
}

void wipe(void* p, std::size_t n)
{
    SecureZeroMemory(p, n);
}

} // namespace keystream
