#pragma once
// The system's secure random source under the portable ChaCha20 keystream
// (sys/keystream_chacha.cpp), for the systems whose keystream is not the
// system library's own (Windows, the browser).
#include <cstddef>

namespace keystream {

// Fills out[0..n) from the system's secure random source; ends the program
// with a message when there is none (no random numbers means no program).
void secureRandom(unsigned char* out, std::size_t n);

} // namespace keystream
