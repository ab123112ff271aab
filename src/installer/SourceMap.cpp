#include "installer/SourceMap.h"

#include <cstring>
#include <string>

#include "installer/XmlError.h"

namespace {

constexpr auto npos = std::string_view::npos;

[[noreturn]] void unaccounted(std::size_t at) {
    throw XmlError("the text at byte " + std::to_string(at) + " is not where its node was parsed from");
}

std::size_t checkedOffset(pugi::xml_node node) {
    const std::ptrdiff_t offset = node.offset_debug();
    if (offset < 0)
        throw XmlError("a parsed node has no place in the text");
    return static_cast<std::size_t>(offset);
}

// Just after `close`, searched from `from`.
std::size_t after(std::string_view text, std::string_view close, std::size_t from) {
    const std::size_t at = text.find(close, from);
    if (at == npos)
        unaccounted(from);
    return at + close.size();
}

// Just after the '>' that ends the tag whose name starts at `from`; quoted attribute values may
// hold '>'.
std::size_t afterTag(std::string_view text, std::size_t from) {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (text[at] == '"' || text[at] == '\'') {
            at = text.find(text[at], at + 1);
            if (at == npos)
                break;
        } else if (text[at] == '>') {
            return at + 1;
        }
    }
    unaccounted(from);
}

// The node's markup begins `opening` before its name or value.
std::size_t openedAt(std::string_view text, std::size_t offset, std::string_view opening) {
    if (offset < opening.size() || text.substr(offset - opening.size(), opening.size()) != opening)
        unaccounted(offset);
    return offset - opening.size();
}

// Between the nodes of the document level only whitespace may stand, and the byte-order mark at
// the start.
bool blank(std::string_view gap, std::size_t at) {
    if (at == 0 && gap.substr(0, 3) == "\xEF\xBB\xBF")
        gap.remove_prefix(3);
    return gap.find_first_not_of(" \t\r\n") == npos;
}

} // namespace

SourceMap::SourceMap(const pugi::xml_document& document, std::string_view text) {
    std::size_t end = 0;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        const std::size_t gapBegin = end;
        end = add(node, text, 1);
        Extent& extent = extents_.at(node.offset_debug());
        if (extent.begin < gapBegin || !blank(text.substr(gapBegin, extent.begin - gapBegin), gapBegin))
            unaccounted(gapBegin);
        extent.gapBegin = gapBegin;
    }
    if (!blank(text.substr(end), end))
        unaccounted(end);
    tailBegin_ = end;
}

std::size_t SourceMap::add(pugi::xml_node node, std::string_view text, int depth) {
    if (depth > kMaxDepth)
        throw XmlError("the elements are nested more than " + std::to_string(kMaxDepth) + " deep");
    const std::size_t offset = checkedOffset(node);
    Extent extent;
    switch (node.type()) {
    case pugi::node_element:
        return addElement(node, openedAt(text, offset, "<"), text, depth);
    case pugi::node_pcdata: {
        extent.begin = offset;
        const std::size_t next = text.find('<', offset);
        extent.end = next == npos ? text.size() : next;
        break;
    }
    case pugi::node_cdata:
        extent.begin = openedAt(text, offset, "<![CDATA[");
        extent.end = after(text, "]]>", offset);
        break;
    case pugi::node_comment:
        extent.begin = openedAt(text, offset, "<!--");
        extent.end = after(text, "-->", offset);
        break;
    case pugi::node_pi:
    case pugi::node_declaration:
        extent.begin = openedAt(text, offset, "<?");
        extent.end = after(text, "?>", offset);
        break;
    case pugi::node_doctype:
        // The value runs to the closing '>', its internal subset included.
        extent.begin = text.rfind("<!DOCTYPE", offset);
        extent.end = offset + std::strlen(node.value()) + 1;
        if (extent.begin == npos || extent.end > text.size() || text[extent.end - 1] != '>')
            unaccounted(offset);
        break;
    default:
        unaccounted(offset);
    }
    extents_[static_cast<std::ptrdiff_t>(offset)] = extent;
    return extent.end;
}

std::size_t SourceMap::addElement(pugi::xml_node element, std::size_t begin, std::string_view text,
                                  int depth) {
    Extent extent;
    extent.begin = begin;
    extent.startTagEnd = afterTag(text, begin + 1);
    extent.selfClosing = text[extent.startTagEnd - 2] == '/';
    if (extent.selfClosing) {
        if (element.first_child())
            unaccounted(begin);
        extent.end = extent.endTagBegin = extent.startTagEnd;
    } else {
        // The children fill the element from its start tag to its end tag without a gap.
        std::size_t at = extent.startTagEnd;
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            const std::size_t childEnd = add(child, text, depth + 1);
            if (extents_.at(child.offset_debug()).begin != at)
                unaccounted(at);
            at = childEnd;
        }
        if (text.substr(at, 2) != "</")
            unaccounted(at);
        extent.endTagBegin = at;
        extent.end = afterTag(text, at + 2);
    }
    extents_[element.offset_debug()] = extent;
    return extent.end;
}

const SourceMap::Extent* SourceMap::extent(pugi::xml_node node) const {
    const auto found = extents_.find(node.offset_debug());
    return found == extents_.end() ? nullptr : &found->second;
}

void SourceMap::markChanged(pugi::xml_node node) {
    for (; node && node.type() != pugi::node_document; node = node.parent())
        if (extent(node) != nullptr)
            changed_.insert(node.offset_debug());
}

void SourceMap::markRewritten(pugi::xml_node node) {
    markChanged(node);
    if (extent(node) != nullptr)
        rewritten_.insert(node.offset_debug());
}

bool SourceMap::contains(const std::set<std::ptrdiff_t>& marks, pugi::xml_node node) const {
    return extent(node) != nullptr && marks.count(node.offset_debug()) != 0;
}
