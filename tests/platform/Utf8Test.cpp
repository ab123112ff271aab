#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "text/Utf8.h"

namespace {

TEST(Utf8, EachLengthEncodesAndDecodesAtItsBoundaries) {
    for (const char32_t point : {U'\0', U'\x7F', U'\x80', U'\x7FF', U'\x800', U'\xD7FF', U'\xE000',
                                 U'\xFFFF', U'\x10000', U'\x10FFFF'}) {
        std::string bytes;
        appendUtf8(bytes, point);
        std::size_t at = 0;
        EXPECT_EQ(nextUtf8(bytes, at), point) << static_cast<unsigned>(point);
        EXPECT_EQ(at, bytes.size());
    }
    std::string euro;
    appendUtf8(euro, U'\x20AC');
    EXPECT_EQ(euro, "\xE2\x82\xAC");
}

TEST(Utf8, MalformedSequencesAreRefusedWithoutMoving) {
    const std::string_view bad[] = {
        "\x80",             // a continuation byte first
        "\xC0\xAF",         // overlong
        "\xE0\x80\xAF",     // overlong
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xF5\x80\x80\x80", // no such lead byte
        "\xE2\x82",         // cut short
        "\xE2\x28\xAC",     // a continuation byte missing
    };
    for (const std::string_view text : bad) {
        std::size_t at = 0;
        EXPECT_FALSE(nextUtf8(text, at).has_value()) << testing::PrintToString(std::string(text));
        EXPECT_EQ(at, 0u);
    }
}

} // namespace
