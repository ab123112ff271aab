#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "common/TrackDigest.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The digest key is part of the recording file format: every stored track digest depends on it,
// so it is pinned here independently of the implementation.
constexpr std::array<unsigned char, 8> kFormatKey = {0x5a, 0x65, 0x70, 0x68, 0x72, 0x65, 0x6c, 0x21};

uint32_t le32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Plain MD5 from OpenSSL, folded to 64 bits as stored in a track header.
uint64_t foldedMd5(const Bytes& input) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int mdSize = 0;
    if (EVP_Digest(input.data(), input.size(), md, &mdSize, EVP_md5(), nullptr) != 1 || mdSize != 16)
        ADD_FAILURE() << "OpenSSL MD5 failed";
    uint64_t ab = uint64_t{le32(md)} << 32 | le32(md + 4);
    uint64_t cd = uint64_t{le32(md + 8)} << 32 | le32(md + 12);
    return ab ^ cd;
}

// The keyed digest expressed through plain MD5: every full 64-byte block is XORed with the key;
// the tail that ends up in the padding block is not.
uint64_t expectedDigest(Bytes input) {
    const std::size_t keyed = input.size() / 64 * 64;
    for (std::size_t i = 0; i < keyed; ++i)
        input[i] ^= kFormatKey[i % 8];
    return foldedMd5(input);
}

uint64_t digestOf(const Bytes& input) {
    TrackDigest digest;
    digest.update(input.data(), input.size());
    return digest.finish();
}

Bytes randomBytes(std::mt19937& rng, std::size_t size) {
    Bytes b(size);
    for (unsigned char& c : b)
        c = static_cast<unsigned char>(rng());
    return b;
}

Bytes pattern(std::size_t size) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<unsigned char>(i * 7 + 3);
    return b;
}

// Every length up to two blocks and a half (across the padding boundary at 55/56 and the block
// boundaries), then several blocks.
std::vector<std::size_t> lengths() {
    std::vector<std::size_t> sizes(161);
    std::iota(sizes.begin(), sizes.end(), 0);
    sizes.insert(sizes.end(), {191, 192, 500, 1024, 1031, 4096});
    return sizes;
}

TEST(TrackDigestTest, FullBlocksAreKeyedAndThePaddingIsNot) {
    std::mt19937 rng(8);
    for (std::size_t size : lengths()) {
        SCOPED_TRACE("size " + std::to_string(size));
        Bytes input = randomBytes(rng, size);
        EXPECT_EQ(expectedDigest(input), digestOf(input));
    }
    // With one full block the keyed and plain results differ: the key must not be lost.
    EXPECT_NE(foldedMd5(Bytes(64, 0)), digestOf(Bytes(64, 0)));
}

TEST(TrackDigestTest, KnownValuesStayTheSame) {
    // Digests stored in existing files depend on these values; they were cross-checked against
    // the OpenSSL route above.
    const std::string text = "Zephrel track data";
    EXPECT_EQ(0x41859d3d7af0f863u, digestOf({}));
    EXPECT_EQ(0x545ee5a7284c467du, digestOf(Bytes(text.begin(), text.end())));
    EXPECT_EQ(0xeeec381498ebfcc3u, digestOf(pattern(64)));
    EXPECT_EQ(0xdea3d2014278865du, digestOf(pattern(200)));
}

// One digest is used for every trial: reset after a finished digest, or in the middle of one
// (with input both buffered and compressed), starts afresh.
TEST(TrackDigestTest, PiecewiseUpdatesAfterAResetEqualOneUpdate) {
    std::mt19937 rng(9);
    TrackDigest digest;
    for (std::size_t size : lengths()) {
        Bytes input = randomBytes(rng, size);
        const uint64_t whole = digestOf(input);
        for (int trial = 0; trial < 4; ++trial) {
            SCOPED_TRACE("size " + std::to_string(size) + ", trial " + std::to_string(trial));
            digest.reset();
            if (trial == 3) {
                digest.update(pattern(100).data(), 100);
                digest.reset();
            }
            // Pieces from empty (with a null pointer, as an empty record array may come) to more than
            // a block, and byte by byte, so that every buffering path is taken.
            digest.update(nullptr, 0);
            for (std::size_t at = 0; at < size;) {
                const std::size_t piece = trial == 0 ? 1 : std::min<std::size_t>(rng() % 140, size - at);
                digest.update(piece == 0 ? nullptr : input.data() + at, piece);
                at += piece;
            }
            digest.update(nullptr, 0);
            EXPECT_EQ(whole, digest.finish());
        }
    }
}

} // namespace
