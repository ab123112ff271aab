#include <gtest/gtest.h>

#include <set>
#include <string>

#include "system/Guid.h"

namespace {

// data1 0x00112233, data2 0x4455, data3 0x6677, data4 88 99 aa bb cc dd ee ff.
const Guid sample{0x00112233, 0x4455, 0x6677, {0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff}};

class GuidParse : public ::testing::TestWithParam<const char*> {};

TEST_P(GuidParse, AcceptsStandardForm) {
    const auto guid = Guid::parse(GetParam());
    ASSERT_TRUE(guid.has_value());
    EXPECT_EQ(*guid, sample);
}

INSTANTIATE_TEST_SUITE_P(Forms, GuidParse,
                         ::testing::Values("00112233-4455-6677-8899-aabbccddeeff",
                                           "00112233-4455-6677-8899-AABBCCDDEEFF",
                                           "00112233-4455-6677-8899-AaBbCcDdEeFf",
                                           "{00112233-4455-6677-8899-aabbccddeeff}",
                                           "{00112233-4455-6677-8899-AABBCCDDEEFF}"));

class GuidReject : public ::testing::TestWithParam<const char*> {};

TEST_P(GuidReject, RefusesAnythingElse) { EXPECT_FALSE(Guid::parse(GetParam()).has_value()); }

INSTANTIATE_TEST_SUITE_P(Forms, GuidReject,
                         ::testing::Values("", "{}", "not a guid",
                                           "{00112233-4455-6677-8899-aabbccddeeff",   // one brace
                                           "00112233-4455-6677-8899-aabbccddeeff}",   // one brace
                                           "(00112233-4455-6677-8899-aabbccddeeff)",  // other brackets
                                           "00112233-4455-6677-8899-aabbccddeef",     // a digit short
                                           "00112233-4455-6677-8899-aabbccddeeff0",   // a digit over
                                           "0011223-34455-6677-8899-aabbccddeeff",    // hyphen moved
                                           "00112233-4455-6677-88990aabbccddeeff",    // hyphen missing
                                           "00112233445566778899aabbccddeeff",        // no hyphens
                                           "00112233-4455-6677-8899-aabbccddeefg",    // not hex
                                           "+0112233-4455-6677-8899-aabbccddeeff",    // a sign
                                           "0011 233-4455-6677-8899-aabbccddeeff",    // a blank
                                           " 00112233-4455-6677-8899-aabbccddeeff",   // leading blank
                                           "00112233-4455-6677-8899-aabbccddeeff ")); // trailing blank

TEST(Guid, FormatsLowerCaseWithoutBraces) {
    EXPECT_EQ(sample.toString(), "00112233-4455-6677-8899-aabbccddeeff");
    const Guid high{0xFEDCBA98, 0xFFFF, 0x0001, {0, 1, 2, 3, 4, 5, 6, 0xF0}};
    EXPECT_EQ(high.toString(), "fedcba98-ffff-0001-0001-0203040506f0");
}

TEST(Guid, BytesFollowTheOriginalMemoryLayout) {
    const Guid::Bytes expected = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                                  0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    EXPECT_EQ(sample.toBytes(), expected);
    EXPECT_EQ(Guid::fromBytes(expected), sample);
}

TEST(Guid, EqualityLooksAtEveryField) {
    EXPECT_EQ(sample, Guid(sample));
    Guid other = sample;
    other.data1 ^= 1;
    EXPECT_NE(other, sample);
    other = sample;
    other.data2 ^= 1;
    EXPECT_NE(other, sample);
    other = sample;
    other.data3 ^= 1;
    EXPECT_NE(other, sample);
    for (std::size_t i = 0; i < 8; ++i) {
        other = sample;
        other.data4[i] ^= 1;
        EXPECT_NE(other, sample) << "data4[" << i << "]";
    }
}

TEST(Guid, CreatedIdentifiersAreDistinctVersion4AndRoundTrip) {
    std::set<std::string> seen;
    uint8_t orBytes[16] = {};
    for (int i = 0; i < 1000; ++i) {
        const Guid guid = Guid::create();
        EXPECT_EQ(guid.data3 >> 12, 4);
        EXPECT_EQ(guid.data4[0] & 0xC0, 0x80); // RFC 4122 variant
        const std::string text = guid.toString();
        EXPECT_EQ(Guid::parse(text), guid);
        EXPECT_EQ(Guid::fromBytes(guid.toBytes()), guid);
        EXPECT_TRUE(seen.insert(text).second) << text;
        const Guid::Bytes bytes = guid.toBytes();
        for (std::size_t b = 0; b < 16; ++b)
            orBytes[b] = static_cast<uint8_t>(orBytes[b] | bytes[b]);
    }
    // Every byte position gets random bits, not only the first few.
    for (std::size_t b = 0; b < 16; ++b)
        EXPECT_NE(orBytes[b], 0) << "byte " << b;
}

} // namespace
