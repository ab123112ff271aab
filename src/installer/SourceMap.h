#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <map>
#include <set>
#include <string_view>

// Where each node of a parsed document lies in the text it was parsed from, and which nodes have
// changed since, so that writing the document copies every untouched part of the text as it was.
// Nodes are known by their place in the parsed text (pugixml's offset_debug); a node added later
// has none.
class SourceMap {
public:
    struct Extent {
        std::size_t gapBegin = 0;    // a node of the document level: where the text skipped before it begins
        std::size_t begin = 0;       // the node's first character ('<' of a tag)
        std::size_t startTagEnd = 0; // an element: just after its start tag
        std::size_t endTagBegin = 0; // an element that is not self-closing: its end tag "</"
        std::size_t end = 0;         // just after the node
        bool selfClosing = false;
    };

    // Documents nested this deep are not taken; dll.xml has three levels.
    static constexpr int kMaxDepth = 64;

    // XmlError when the nodes do not account for every character but the whitespace between the
    // document's own nodes, or are nested too deep.
    SourceMap(const pugi::xml_document& document, std::string_view text);

    // Null for a node added after parsing.
    const Extent* extent(pugi::xml_node node) const;
    // Where the text after the document's last parsed node begins.
    std::size_t tailBegin() const { return tailBegin_; }

    // The node's content changed; so did its ancestors'.
    void markChanged(pugi::xml_node node);
    // The node's own markup (its attributes) changed: it is written anew, with all it holds.
    void markRewritten(pugi::xml_node node);
    bool changed(pugi::xml_node node) const { return contains(changed_, node); }
    bool rewritten(pugi::xml_node node) const { return contains(rewritten_, node); }

private:
    std::size_t add(pugi::xml_node node, std::string_view text, int depth);
    std::size_t addElement(pugi::xml_node element, std::size_t begin, std::string_view text, int depth);
    bool contains(const std::set<std::ptrdiff_t>& marks, pugi::xml_node node) const;

    std::map<std::ptrdiff_t, Extent> extents_;
    std::set<std::ptrdiff_t> changed_;
    std::set<std::ptrdiff_t> rewritten_;
    std::size_t tailBegin_ = 0;
};
