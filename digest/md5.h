// The MD5 message digest (RFC 1321), computed incrementally over a message that arrives in
// pieces of any size, and the text form of a digest. Needs no Win32.
#pragma once

#include <cstdint>
#include <string>

namespace vorlund {

// The running computation of one message. A plain record owned by its caller.
struct TMD5State {
  uint32_t state[4];   // chaining values A, B, C, D
  uint32_t count[2];   // bits absorbed since MD5Init, modulo 2^64, low word first
  uint8_t buffer[64];  // the bytes of the incomplete block, from byte 0 on
};

// Starts a message: every field zero, then the standard's initial chaining values.
void MD5Init(TMD5State& context);

// Absorbs the next length bytes (0 or more) of the message.
void MD5Update(TMD5State& context, const void* data, int32_t length);

// Finishes the message, writes its digest and leaves every field of the context zero.
void MD5Final(uint8_t digest[16], TMD5State& context);

// The digest as 32 upper-case hexadecimal characters, byte 0 first, high four bits first.
std::string MD5DigestHex(const uint8_t digest[16]);

}  // namespace vorlund
