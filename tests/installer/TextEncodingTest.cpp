// The encodings a dll.xml is read and written back in.

#include <gtest/gtest.h>

#include <string>

#include "installer/TextEncoding.h"
#include "installer/XmlError.h"

namespace {

TEST(TextEncoding, EveryByteOfTheSingleByteEncodingsReadsAndWritesBack) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    for (const TextEncoding encoding : {TextEncoding::Windows1252, TextEncoding::Latin1})
        EXPECT_EQ(encodeText(decodeText(all, encoding), encoding), all);
    EXPECT_EQ(decodeText("\x80\x9F\xE9", TextEncoding::Windows1252), "\xE2\x82\xAC\xC5\xB8\xC3\xA9");
}

TEST(TextEncoding, CharactersWithoutAByteBecomeCharacterReferences) {
    const std::string text = "\xC3\xA9\xE2\x82\xAC\xCE\xA9\xF0\x9F\x9B\xA9"; // é € Ω and an aeroplane
    EXPECT_EQ(encodeText(text, TextEncoding::Windows1252), "\xE9\x80&#937;&#128745;");
    EXPECT_EQ(encodeText(text, TextEncoding::Latin1), "\xE9&#8364;&#937;&#128745;");
    EXPECT_EQ(encodeText(text, TextEncoding::Ascii), "&#233;&#8364;&#937;&#128745;");
    EXPECT_EQ(encodeText(text, TextEncoding::Utf8), text);
    for (const std::string bad : {"\xC3", "\xC0\xA9", "\xED\xA0\x80", "\xFF"})
        EXPECT_THROW(encodeText(bad, TextEncoding::Latin1), XmlError);
}

TEST(TextEncoding, TheByteOrderMarkAndTheDeclarationTellTheEncoding) {
    const struct {
        std::string start;
        TextEncoding encoding;
    } cases[] = {
        {"<a/>", TextEncoding::Utf8},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1252\"?>", TextEncoding::Utf8},
        {"<?xml version=\"1.0\" encoding = 'Windows-1252' ?>", TextEncoding::Windows1252},
        {"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>", TextEncoding::Latin1},
        {"<?xml version=\"1.0\" encoding=\"us-ascii\"?>", TextEncoding::Ascii},
        {"<?xml version=\"1.0\"?><a encoding='latin1'/>", TextEncoding::Utf8},
    };
    for (const auto& [start, encoding] : cases)
        EXPECT_EQ(detectEncoding(start), encoding) << start;
    for (const std::string& start : {std::string("\xFE\xFF\0<", 4), std::string("<\0?\0", 4),
                                     std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?>")})
        EXPECT_THROW(detectEncoding(start), XmlError);
}

} // namespace
