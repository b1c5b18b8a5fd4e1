#include "digest/md5.h"

#include <bit>
#include <cstddef>
#include <cstring>

namespace vorlund {
namespace {

// A plain record: state, count, buffer, in this order, nothing else.
static_assert(offsetof(TMD5State, state) == 0 && offsetof(TMD5State, count) == 16 &&
              offsetof(TMD5State, buffer) == 24 && sizeof(TMD5State) == 88);

// The word at p, stored little-endian.
inline uint32_t LoadLE(const uint8_t* p) {
  if constexpr (std::endian::native == std::endian::little) {
    uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
  } else {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  }
}

inline void StoreLE(uint8_t* p, uint32_t w) {
  p[0] = static_cast<uint8_t>(w);
  p[1] = static_cast<uint8_t>(w >> 8);
  p[2] = static_cast<uint8_t>(w >> 16);
  p[3] = static_cast<uint8_t>(w >> 24);
}

// The step routines: a = b + ((a + f(b, c, d) + mk) <<< s), where mk is the message word with
// the step's constant already added. The sums are grouped so that what does not depend on b
// (the newest word, the end of the dependency chain) is added first.

inline void FF(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t mk, int s) {
  // (b & c) | (~b & d), written as d ^ (b & (c ^ d)): two operations after b is known.
  a = b + std::rotl(a + mk + (d ^ (b & (c ^ d))), s);
}

inline void GG(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t mk, int s) {
  // (b & d) | (c & ~d): the two terms share no bits, so their or is their sum, and the term
  // without b joins the sum before b is known.
  a = b + std::rotl(a + mk + (c & ~d) + (b & d), s);
}

inline void HH(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t mk, int s) {
  a = b + std::rotl(a + mk + (b ^ (c ^ d)), s);
}

inline void II(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t mk, int s) {
  a = b + std::rotl(a + mk + (c ^ (b | ~d)), s);
}

// The MD5 compression of one 64-byte block, read from the context's buffer.
//
// GCC would pack the four additions into state at the end into one vector store; the next
// block's transform begins with four word loads that the processor cannot forward from such a
// store, and the stall sits on the dependency chain (about 5% of the throughput).
#if defined(__GNUC__) && !defined(__clang__)
[[gnu::optimize("no-tree-slp-vectorize")]]
#endif
void Transform(uint32_t state[4], const uint8_t block[64]) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLE(block + 4 * i);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

  // Round 1.
  FF(a, b, c, d, x[0] + 0xd76aa478, 7);
  FF(d, a, b, c, x[1] + 0xe8c7b756, 12);
  FF(c, d, a, b, x[2] + 0x242070db, 17);
  FF(b, c, d, a, x[3] + 0xc1bdceee, 22);
  FF(a, b, c, d, x[4] + 0xf57c0faf, 7);
  FF(d, a, b, c, x[5] + 0x4787c62a, 12);
  FF(c, d, a, b, x[6] + 0xa8304613, 17);
  FF(b, c, d, a, x[7] + 0xfd469501, 22);
  FF(a, b, c, d, x[8] + 0x698098d8, 7);
  FF(d, a, b, c, x[9] + 0x8b44f7af, 12);
  FF(c, d, a, b, x[10] + 0xffff5bb1, 17);
  FF(b, c, d, a, x[11] + 0x895cd7be, 22);
  FF(a, b, c, d, x[12] + 0x6b901122, 7);
  FF(d, a, b, c, x[13] + 0xfd987193, 12);
  FF(c, d, a, b, x[14] + 0xa679438e, 17);
  FF(b, c, d, a, x[15] + 0x49b40821, 22);

  // Round 2.
  GG(a, b, c, d, x[1] + 0xf61e2562, 5);
  GG(d, a, b, c, x[6] + 0xc040b340, 9);
  GG(c, d, a, b, x[11] + 0x265e5a51, 14);
  GG(b, c, d, a, x[0] + 0xe9b6c7aa, 20);
  GG(a, b, c, d, x[5] + 0xd62f105d, 5);
  GG(d, a, b, c, x[10] + 0x02441453, 9);
  GG(c, d, a, b, x[15] + 0xd8a1e681, 14);
  GG(b, c, d, a, x[4] + 0xe7d3fbc8, 20);
  GG(a, b, c, d, x[9] + 0x21e1cde6, 5);
  GG(d, a, b, c, x[14] + 0xc33707d6, 9);
  GG(c, d, a, b, x[3] + 0xf4d50d87, 14);
  GG(b, c, d, a, x[8] + 0x455a14ed, 20);
  GG(a, b, c, d, x[13] + 0xa9e3e905, 5);
  GG(d, a, b, c, x[2] + 0xfcefa3f8, 9);
  GG(c, d, a, b, x[7] + 0x676f02d9, 14);
  GG(b, c, d, a, x[12] + 0x8d2a4c8a, 20);

  // Round 3.
  HH(a, b, c, d, x[5] + 0xfffa3942, 4);
  HH(d, a, b, c, x[8] + 0x8771f681, 11);
  HH(c, d, a, b, x[11] + 0x6d9d6122, 16);
  HH(b, c, d, a, x[14] + 0xfde5380c, 23);
  HH(a, b, c, d, x[1] + 0xa4beea44, 4);
  HH(d, a, b, c, x[4] + 0x4bdecfa9, 11);
  HH(c, d, a, b, x[7] + 0xf6bb4b60, 16);
  HH(b, c, d, a, x[10] + 0xbebfbc70, 23);
  HH(a, b, c, d, x[13] + 0x289b7ec6, 4);
  HH(d, a, b, c, x[0] + 0xeaa127fa, 11);
  HH(c, d, a, b, x[3] + 0xd4ef3085, 16);
  HH(b, c, d, a, x[6] + 0x04881d05, 23);
  HH(a, b, c, d, x[9] + 0xd9d4d039, 4);
  HH(d, a, b, c, x[12] + 0xe6db99e5, 11);
  HH(c, d, a, b, x[15] + 0x1fa27cf8, 16);
  HH(b, c, d, a, x[2] + 0xc4ac5665, 23);

  // Round 4.
  II(a, b, c, d, x[0] + 0xf4292244, 6);
  II(d, a, b, c, x[7] + 0x432aff97, 10);
  II(c, d, a, b, x[14] + 0xab9423a7, 15);
  II(b, c, d, a, x[5] + 0xfc93a039, 21);
  II(a, b, c, d, x[12] + 0x655b59c3, 6);
  II(d, a, b, c, x[3] + 0x8f0ccc92, 10);
  II(c, d, a, b, x[10] + 0xffeff47d, 15);
  II(b, c, d, a, x[1] + 0x85845dd1, 21);
  II(a, b, c, d, x[8] + 0x6fa87e4f, 6);
  II(d, a, b, c, x[15] + 0xfe2ce6e0, 10);
  II(c, d, a, b, x[6] + 0xa3014314, 15);
  II(b, c, d, a, x[13] + 0x4e0811a1, 21);
  II(a, b, c, d, x[4] + 0xf7537e82, 6);
  II(d, a, b, c, x[11] + 0xbd3af235, 10);
  II(c, d, a, b, x[2] + 0x2ad7d2bb, 15);
  II(b, c, d, a, x[9] + 0xeb86d391, 21);

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void MD5Init(TMD5State& context) {
  std::memset(&context, 0, sizeof context);
  context.state[0] = 0x67452301;
  context.state[1] = 0xefcdab89;
  context.state[2] = 0x98badcfe;
  context.state[3] = 0x10325476;
}

void MD5Update(TMD5State& context, const void* data, int32_t length) {
  const uint8_t* input = static_cast<const uint8_t*>(data);
  const uint32_t len = static_cast<uint32_t>(length);
  if (len == 0) return;
  uint32_t index = (context.count[0] >> 3) & 63;

  // The bit count as one 64-bit number: the low word's carry, then the bits of length * 8
  // above bit 31.
  const uint32_t bits = len << 3;
  context.count[0] += bits;
  if (context.count[0] < bits) ++context.count[1];
  context.count[1] += len >> 29;

  uint32_t pos = 0;
  if (index != 0) {
    const uint32_t room = 64 - index;
    if (len < room) {
      std::memcpy(context.buffer + index, input, len);
      return;
    }
    std::memcpy(context.buffer + index, input, room);
    Transform(context.state, context.buffer);
    pos = room;
  }
  // Every block goes through the context's buffer: the transform never reads the caller's
  // memory.
  for (; len - pos >= 64; pos += 64) {
    std::memcpy(context.buffer, input + pos, 64);
    Transform(context.state, context.buffer);
  }
  std::memcpy(context.buffer, input + pos, len - pos);
}

void MD5Final(uint8_t digest[16], TMD5State& context) {
  const uint32_t index = (context.count[0] >> 3) & 63;
  context.buffer[index] = 0x80;
  if (index <= 55) {
    std::memset(context.buffer + index + 1, 0, 55 - index);
  } else {
    std::memset(context.buffer + index + 1, 0, 63 - index);
    Transform(context.state, context.buffer);
    std::memset(context.buffer, 0, 56);
  }
  StoreLE(context.buffer + 56, context.count[0]);
  StoreLE(context.buffer + 60, context.count[1]);
  Transform(context.state, context.buffer);
  for (int i = 0; i < 4; ++i) StoreLE(digest + 4 * i, context.state[i]);
  std::memset(&context, 0, sizeof context);
}

std::string MD5DigestHex(const uint8_t digest[16]) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text(32, '0');
  for (int i = 0; i < 16; ++i) {
    text[2 * i] = kHex[digest[i] >> 4];
    text[2 * i + 1] = kHex[digest[i] & 15];
  }
  return text;
}

}  // namespace vorlund
