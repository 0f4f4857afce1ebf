#pragma once
// ChaCha20 (20 rounds, 64-bit nonce and 64-bit block counter) and BLAKE2b,
// the two primitives of the keystream, so that a seed gives the same stream
// on Windows as on Linux.
#include <cstddef>
#include <cstdint>

namespace cipher {

// n bytes of the ChaCha20 keystream of key and nonce, from 64-byte block
// firstBlock on (the 64-bit block counter carries into its high word).
void chacha20(unsigned char* out, std::size_t n, const unsigned char (&nonce)[8], const unsigned char (&key)[32],
              std::uint64_t firstBlock = 0);

// Unkeyed BLAKE2b with a digest of outLen (1..64) bytes, fed in parts.
class Blake2b {
public:
    explicit Blake2b(std::size_t outLen);
    void update(const unsigned char* data, std::size_t n);
    void final(unsigned char* out);

private:
    void compress(bool last);
    std::uint64_t h_[8];
    std::uint64_t t_[2] = {0, 0};
    unsigned char buf_[128];
    std::size_t fill_ = 0;
    std::size_t outLen_;
};

} // namespace cipher
