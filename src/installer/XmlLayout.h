#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

// How a document's elements are laid out on lines, learnt from the document, so that an element
// added where others are indented is indented like them and one removed takes its indentation
// along: a file that had an entry added and removed again is the file it was. Whitespace between
// elements is kept as text nodes, the line breaks included.
class XmlLayout {
public:
    // A new document: "\n" and one space a level, as the simulator writes its own file.
    XmlLayout() = default;
    // The line break the text uses ("\r\n" when it has one) and the indentation of one level, from
    // the first element below the document element that has its own line.
    XmlLayout(const pugi::xml_document& document, std::string_view text);

    // Adds an element at the end of `parent`'s content, before the whitespace that closes it:
    // indented as the last element there is, when that one has its indentation; one level deeper
    // than `parent` when `parent` held no more than whitespace (on the same line when the
    // document's elements are on one line); else without whitespace.
    pugi::xml_node append(pugi::xml_node parent, const char* name) const;

    // The whitespace just before the node that indents it; null when there is none.
    static pugi::xml_node indentation(pugi::xml_node node);

private:
    static bool blank(pugi::xml_node node);

    std::string lineBreak_ = "\n";
    std::string unit_ = " ";
};
