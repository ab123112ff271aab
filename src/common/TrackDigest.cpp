#include "common/TrackDigest.h"

#include <bit>
#include <cstring>

namespace {

struct Key {
    uint32_t even; // XORed into message words 0, 2, 4, ...
    uint32_t odd;  // XORed into message words 1, 3, 5, ...
};

// The key is assembled when it is needed rather than stored as one value in the module image.
Key buildKey() {
    constexpr unsigned char kKeyBytes[8] = {0x5a, 0x65, 0x70, 0x68, 0x72, 0x65, 0x6c, 0x21};
    Key key{};
    for (int i = 0; i < 4; ++i) {
        key.even |= uint32_t{kKeyBytes[i]} << (8 * i);
        key.odd |= uint32_t{kKeyBytes[i + 4]} << (8 * i);
    }
    return key;
}

inline uint32_t load32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

#define ZD_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
// G as the sum of two disjoint halves, so the half without x is ready before x is.
#define ZD_G(x, y, z) (((y) & ~(z)) + ((x) & (z)))
#define ZD_H(x, y, z) ((x) ^ ((y) ^ (z)))
#define ZD_I(x, y, z) ((y) ^ ((x) | ~(z)))
// The message word and constant are added first: they do not wait for the previous step.
#define ZD_STEP(f, a, b, c, d, m, t, s)                                                                          \
    a += (m) + (t);                                                                                              \
    a += f(b, c, d);                                                                                             \
    a = std::rotl(a, s) + b;

// The MD5 compression function over one 64-byte block, whose words are XORed with the key first.
void compress(uint32_t state[4], const unsigned char* block, Key key) {
    uint32_t m[16];
    for (int i = 0; i < 16; i += 2) {
        m[i] = load32(block + 4 * i) ^ key.even;
        m[i + 1] = load32(block + 4 * i + 4) ^ key.odd;
    }
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    ZD_STEP(ZD_F, a, b, c, d, m[0], 0xd76aa478, 7)
    ZD_STEP(ZD_F, d, a, b, c, m[1], 0xe8c7b756, 12)
    ZD_STEP(ZD_F, c, d, a, b, m[2], 0x242070db, 17)
    ZD_STEP(ZD_F, b, c, d, a, m[3], 0xc1bdceee, 22)
    ZD_STEP(ZD_F, a, b, c, d, m[4], 0xf57c0faf, 7)
    ZD_STEP(ZD_F, d, a, b, c, m[5], 0x4787c62a, 12)
    ZD_STEP(ZD_F, c, d, a, b, m[6], 0xa8304613, 17)
    ZD_STEP(ZD_F, b, c, d, a, m[7], 0xfd469501, 22)
    ZD_STEP(ZD_F, a, b, c, d, m[8], 0x698098d8, 7)
    ZD_STEP(ZD_F, d, a, b, c, m[9], 0x8b44f7af, 12)
    ZD_STEP(ZD_F, c, d, a, b, m[10], 0xffff5bb1, 17)
    ZD_STEP(ZD_F, b, c, d, a, m[11], 0x895cd7be, 22)
    ZD_STEP(ZD_F, a, b, c, d, m[12], 0x6b901122, 7)
    ZD_STEP(ZD_F, d, a, b, c, m[13], 0xfd987193, 12)
    ZD_STEP(ZD_F, c, d, a, b, m[14], 0xa679438e, 17)
    ZD_STEP(ZD_F, b, c, d, a, m[15], 0x49b40821, 22)

    ZD_STEP(ZD_G, a, b, c, d, m[1], 0xf61e2562, 5)
    ZD_STEP(ZD_G, d, a, b, c, m[6], 0xc040b340, 9)
    ZD_STEP(ZD_G, c, d, a, b, m[11], 0x265e5a51, 14)
    ZD_STEP(ZD_G, b, c, d, a, m[0], 0xe9b6c7aa, 20)
    ZD_STEP(ZD_G, a, b, c, d, m[5], 0xd62f105d, 5)
    ZD_STEP(ZD_G, d, a, b, c, m[10], 0x02441453, 9)
    ZD_STEP(ZD_G, c, d, a, b, m[15], 0xd8a1e681, 14)
    ZD_STEP(ZD_G, b, c, d, a, m[4], 0xe7d3fbc8, 20)
    ZD_STEP(ZD_G, a, b, c, d, m[9], 0x21e1cde6, 5)
    ZD_STEP(ZD_G, d, a, b, c, m[14], 0xc33707d6, 9)
    ZD_STEP(ZD_G, c, d, a, b, m[3], 0xf4d50d87, 14)
    ZD_STEP(ZD_G, b, c, d, a, m[8], 0x455a14ed, 20)
    ZD_STEP(ZD_G, a, b, c, d, m[13], 0xa9e3e905, 5)
    ZD_STEP(ZD_G, d, a, b, c, m[2], 0xfcefa3f8, 9)
    ZD_STEP(ZD_G, c, d, a, b, m[7], 0x676f02d9, 14)
    ZD_STEP(ZD_G, b, c, d, a, m[12], 0x8d2a4c8a, 20)

    ZD_STEP(ZD_H, a, b, c, d, m[5], 0xfffa3942, 4)
    ZD_STEP(ZD_H, d, a, b, c, m[8], 0x8771f681, 11)
    ZD_STEP(ZD_H, c, d, a, b, m[11], 0x6d9d6122, 16)
    ZD_STEP(ZD_H, b, c, d, a, m[14], 0xfde5380c, 23)
    ZD_STEP(ZD_H, a, b, c, d, m[1], 0xa4beea44, 4)
    ZD_STEP(ZD_H, d, a, b, c, m[4], 0x4bdecfa9, 11)
    ZD_STEP(ZD_H, c, d, a, b, m[7], 0xf6bb4b60, 16)
    ZD_STEP(ZD_H, b, c, d, a, m[10], 0xbebfbc70, 23)
    ZD_STEP(ZD_H, a, b, c, d, m[13], 0x289b7ec6, 4)
    ZD_STEP(ZD_H, d, a, b, c, m[0], 0xeaa127fa, 11)
    ZD_STEP(ZD_H, c, d, a, b, m[3], 0xd4ef3085, 16)
    ZD_STEP(ZD_H, b, c, d, a, m[6], 0x04881d05, 23)
    ZD_STEP(ZD_H, a, b, c, d, m[9], 0xd9d4d039, 4)
    ZD_STEP(ZD_H, d, a, b, c, m[12], 0xe6db99e5, 11)
    ZD_STEP(ZD_H, c, d, a, b, m[15], 0x1fa27cf8, 16)
    ZD_STEP(ZD_H, b, c, d, a, m[2], 0xc4ac5665, 23)

    ZD_STEP(ZD_I, a, b, c, d, m[0], 0xf4292244, 6)
    ZD_STEP(ZD_I, d, a, b, c, m[7], 0x432aff97, 10)
    ZD_STEP(ZD_I, c, d, a, b, m[14], 0xab9423a7, 15)
    ZD_STEP(ZD_I, b, c, d, a, m[5], 0xfc93a039, 21)
    ZD_STEP(ZD_I, a, b, c, d, m[12], 0x655b59c3, 6)
    ZD_STEP(ZD_I, d, a, b, c, m[3], 0x8f0ccc92, 10)
    ZD_STEP(ZD_I, c, d, a, b, m[10], 0xffeff47d, 15)
    ZD_STEP(ZD_I, b, c, d, a, m[1], 0x85845dd1, 21)
    ZD_STEP(ZD_I, a, b, c, d, m[8], 0x6fa87e4f, 6)
    ZD_STEP(ZD_I, d, a, b, c, m[15], 0xfe2ce6e0, 10)
    ZD_STEP(ZD_I, c, d, a, b, m[6], 0xa3014314, 15)
    ZD_STEP(ZD_I, b, c, d, a, m[13], 0x4e0811a1, 21)
    ZD_STEP(ZD_I, a, b, c, d, m[4], 0xf7537e82, 6)
    ZD_STEP(ZD_I, d, a, b, c, m[11], 0xbd3af235, 10)
    ZD_STEP(ZD_I, c, d, a, b, m[2], 0x2ad7d2bb, 15)
    ZD_STEP(ZD_I, b, c, d, a, m[9], 0xeb86d391, 21)

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

#undef ZD_STEP
#undef ZD_I
#undef ZD_H
#undef ZD_G
#undef ZD_F

} // namespace

void TrackDigest::reset() {
    state_[0] = 0x67452301;
    state_[1] = 0xefcdab89;
    state_[2] = 0x98badcfe;
    state_[3] = 0x10325476;
    length_ = 0;
    buffered_ = 0;
}

void TrackDigest::update(const void* data, std::size_t size) {
    // Nothing to add; an empty piece may come with a null pointer, which memcpy must not see.
    if (size == 0)
        return;
    const Key key = buildKey();
    const auto* in = static_cast<const unsigned char*>(data);
    length_ += size;
    if (buffered_ > 0) {
        std::size_t take = sizeof buffer_ - buffered_;
        if (take > size)
            take = size;
        std::memcpy(buffer_ + buffered_, in, take);
        buffered_ += take;
        in += take;
        size -= take;
        if (buffered_ < sizeof buffer_)
            return;
        compress(state_, buffer_, key);
        buffered_ = 0;
    }
    for (; size >= 64; in += 64, size -= 64)
        compress(state_, in, key);
    std::memcpy(buffer_, in, size);
    buffered_ = size;
}

uint64_t TrackDigest::finish() {
    // The padding blocks are compressed as plain MD5 blocks: a zero key leaves them as they are.
    constexpr Key kPlain{0, 0};
    const uint64_t bits = length_ * 8;
    buffer_[buffered_++] = 0x80;
    if (buffered_ > 56) {
        std::memset(buffer_ + buffered_, 0, sizeof buffer_ - buffered_);
        compress(state_, buffer_, kPlain);
        buffered_ = 0;
    }
    std::memset(buffer_ + buffered_, 0, 56 - buffered_);
    for (int i = 0; i < 8; ++i)
        buffer_[56 + i] = static_cast<unsigned char>(bits >> (8 * i));
    compress(state_, buffer_, kPlain);
    buffered_ = 0;

    uint64_t ab = (uint64_t{state_[0]} << 32) | state_[1];
    uint64_t cd = (uint64_t{state_[2]} << 32) | state_[3];
    return ab ^ cd;
}
