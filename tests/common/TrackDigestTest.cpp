#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "TrackDigest.h"

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

// Lengths around the padding boundary (55/56) and the block boundary (63/64/65), and several blocks.
const std::size_t kLengths[] = {0,   1,   3,   8,   55,  56,  57,  63,  64,  65,   100,
                                119, 120, 127, 128, 129, 191, 192, 500, 1024, 1031, 4096};

TEST(TrackDigestTest, InputShorterThanABlockIsPlainFoldedMd5) {
    std::mt19937 rng(7);
    for (std::size_t size = 0; size < 64; ++size) {
        SCOPED_TRACE("size " + std::to_string(size));
        Bytes input = randomBytes(rng, size);
        EXPECT_EQ(digestOf(input), foldedMd5(input));
    }
}

TEST(TrackDigestTest, FullBlocksAreKeyedAndThePaddingIsNot) {
    std::mt19937 rng(8);
    for (std::size_t size : kLengths) {
        SCOPED_TRACE("size " + std::to_string(size));
        Bytes input = randomBytes(rng, size);
        EXPECT_EQ(digestOf(input), expectedDigest(input));
    }
}

TEST(TrackDigestTest, KeyedBlocksDifferFromPlainMd5) {
    // A change of the key handling must show: with one full block the keyed and plain results differ.
    Bytes block(64, 0);
    EXPECT_NE(digestOf(block), foldedMd5(block));
    EXPECT_EQ(digestOf(block), expectedDigest(block));
}

TEST(TrackDigestTest, KnownValuesStayTheSame) {
    // Digests stored in existing files depend on these values; they were cross-checked against
    // the OpenSSL route above.
    const std::string text = "Zephrel track data";
    EXPECT_EQ(digestOf({}), 0x41859d3d7af0f863u);
    EXPECT_EQ(digestOf(Bytes(text.begin(), text.end())), 0x545ee5a7284c467du);
    EXPECT_EQ(digestOf(pattern(64)), 0xeeec381498ebfcc3u);
    EXPECT_EQ(digestOf(pattern(200)), 0xdea3d2014278865du);
}

TEST(TrackDigestTest, PiecewiseUpdatesEqualOneUpdate) {
    std::mt19937 rng(9);
    for (std::size_t size : kLengths) {
        Bytes input = randomBytes(rng, size);
        const uint64_t whole = digestOf(input);
        for (int trial = 0; trial < 8; ++trial) {
            SCOPED_TRACE("size " + std::to_string(size) + ", trial " + std::to_string(trial));
            TrackDigest digest;
            std::size_t at = 0;
            while (at < size) {
                // Pieces from empty to more than a block, so every buffering path is taken.
                std::size_t piece = static_cast<std::size_t>(rng() % 140);
                if (piece > size - at)
                    piece = size - at;
                digest.update(input.data() + at, piece);
                at += piece;
            }
            EXPECT_EQ(digest.finish(), whole);
        }
    }
}

TEST(TrackDigestTest, ByteByByteUpdatesEqualOneUpdate) {
    Bytes input = pattern(200);
    TrackDigest digest;
    for (unsigned char c : input)
        digest.update(&c, 1);
    EXPECT_EQ(digest.finish(), digestOf(input));
}

TEST(TrackDigestTest, EmptyPiecesChangeNothing) {
    // An empty record array may be passed as a null pointer with size 0, at any point.
    Bytes input = pattern(100);
    TrackDigest digest;
    digest.update(nullptr, 0);
    digest.update(input.data(), 30);
    digest.update(nullptr, 0);
    digest.update(input.data() + 30, 70);
    digest.update(nullptr, 0);
    EXPECT_EQ(digest.finish(), digestOf(input));

    TrackDigest empty;
    empty.update(nullptr, 0);
    EXPECT_EQ(empty.finish(), foldedMd5({}));
}

TEST(TrackDigestTest, ResetStartsAFreshDigest) {
    Bytes first = pattern(150);
    Bytes second = pattern(70);
    TrackDigest digest;
    digest.update(first.data(), first.size());
    EXPECT_EQ(digest.finish(), digestOf(first));
    digest.reset();
    digest.update(second.data(), second.size());
    EXPECT_EQ(digest.finish(), digestOf(second));

    // Reset in the middle discards buffered and compressed input alike.
    digest.reset();
    digest.update(first.data(), 100);
    digest.reset();
    digest.update(second.data(), second.size());
    EXPECT_EQ(digest.finish(), digestOf(second));
}

TEST(TrackDigestTest, EveryByteOfTheInputCounts) {
    Bytes input = pattern(130);
    const uint64_t original = digestOf(input);
    for (std::size_t i : {std::size_t{0}, std::size_t{7}, std::size_t{63}, std::size_t{64}, std::size_t{127},
                          std::size_t{128}, std::size_t{129}}) {
        Bytes changed = input;
        changed[i] ^= 0x01;
        EXPECT_NE(digestOf(changed), original) << "byte " << i;
    }
    Bytes longer = input;
    longer.push_back(0);
    EXPECT_NE(digestOf(longer), original);
}

} // namespace
