#pragma once

#include <string>
#include <string_view>

// The encodings a dll.xml can be edited in and written back without changing a byte of what is
// not edited: UTF-8, and the single-byte ones the simulator's own files and older installers use.
// The document is edited as UTF-8; on writing, a character the file's encoding has no byte for
// becomes a character reference ("&#8364;"), which is valid wherever the editing puts text
// (element text and attribute values).
enum class TextEncoding { Utf8, Windows1252, Latin1, Ascii };

// From the byte-order mark and the XML declaration; none of either is UTF-8. XmlError for
// UTF-16, UTF-32 and any other encoding name.
TextEncoding detectEncoding(std::string_view bytes);

// The file's bytes as UTF-8 (UTF-8 bytes as they are). XmlError for a byte the encoding does not
// have.
std::string decodeText(std::string_view bytes, TextEncoding encoding);

// UTF-8 text in the encoding (UTF-8 as it is). XmlError for text that is not UTF-8.
std::string encodeText(std::string_view utf8, TextEncoding encoding);
