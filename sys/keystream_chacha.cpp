// The keystream where the system offers only random bytes: keys from the
// system's secure source, or from a seed through BLAKE2b, expanded with the
// portable ChaCha20 exactly as libsodium does on Linux, so a seed gives the
// same stream on every system.
#include "sys/chacha20.h"
#include "sys/keystream.h"
#include "sys/secure_random.h"

namespace keystream {

void init()
{
    unsigned char probe[16];
    secureRandom(probe, sizeof probe);
    wipe(probe, sizeof probe);
}

void newKey(unsigned char (&key)[kKeyBytes])
{
    secureRandom(key, sizeof key);
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

} // namespace keystream
