#include "installer/SourceWriter.h"

namespace {

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override { out_.append(static_cast<const char*>(data), size); }

private:
    std::string& out_;
};

void writeNode(pugi::xml_node node, const SourceMap& map, std::string_view text, std::string& out) {
    const SourceMap::Extent* extent = map.extent(node);
    if (extent != nullptr && !map.changed(node)) {
        out += text.substr(extent->begin, extent->end - extent->begin);
        return;
    }
    if (extent == nullptr || map.rewritten(node) || node.type() != pugi::node_element) {
        StringWriter writer(out);
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
        return;
    }
    const std::string_view startTag = text.substr(extent->begin, extent->startTagEnd - extent->begin);
    if (extent->selfClosing && !node.first_child()) {
        out += startTag;
        return;
    }
    // "<name .../>" opens the element once it has content.
    out += extent->selfClosing ? std::string(startTag.substr(0, startTag.size() - 2)) + ">"
                               : std::string(startTag);
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        writeNode(child, map, text, out);
    if (extent->selfClosing)
        out += "</" + std::string(node.name()) + ">";
    else
        out += text.substr(extent->endTagBegin, extent->end - extent->endTagBegin);
}

} // namespace

std::string writeSource(const pugi::xml_document& document, const SourceMap& map, std::string_view text) {
    std::string out;
    out.reserve(text.size() + 512);
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        if (const SourceMap::Extent* extent = map.extent(node))
            out += text.substr(extent->gapBegin, extent->begin - extent->gapBegin);
        writeNode(node, map, text, out);
    }
    out += text.substr(map.tailBegin());
    return out;
}
