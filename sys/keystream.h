#pragma once
// The keystream behind RandomGen: a 256-bit key, either fresh from the
// system's secure source or derived from a seed text, expanded into blocks of
// bytes. One implementation per system (libsodium's ChaCha20 on Linux).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace keystream {

inline constexpr std::size_t kKeyBytes = 32;

// Prepares the source; ends the program with a message when it cannot work
// (no random numbers means no program).
void init();

// A fresh key from the system's secure random source.
void newKey(unsigned char (&key)[kKeyBytes]);

// The key of a seed: the same context and seed give the same key everywhere.
// Returns false where seeded streams are not offered.
bool keyFromSeed(unsigned char (&key)[kKeyBytes], std::string_view context, std::string_view seed);

// Fills out[0..n) with the keystream of key under the 64-bit `nonce`, from
// 64-byte block `firstBlock` of that nonce's stream on. Different nonces give
// unrelated bytes, so no part of a stream repeats.
void fill(unsigned char* out, std::size_t n, std::uint64_t nonce, std::uint64_t firstBlock,
          const unsigned char (&key)[kKeyBytes]);

// Overwrites n bytes at p with zeros in a way the compiler cannot drop.
void wipe(void* p, std::size_t n);

} // namespace keystream
