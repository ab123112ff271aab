#include "installer/XmlDocument.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "installer/ReplaceFile.h"
#include "installer/SourceWriter.h"
#include "installer/XmlError.h"

namespace {

// Every node is kept, whitespace between elements and the line breaks as written included.
constexpr unsigned kParseOptions = (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_eol;

// A query pugixml cannot compile fails as XmlError.
template <typename Evaluation> auto evaluated(const char* query, Evaluation evaluation) {
    try {
        return evaluation();
    } catch (const pugi::xpath_exception& error) {
        throw XmlError(std::string("the query ") + query + " fails: " + error.what());
    }
}

} // namespace

XmlDocument::XmlDocument(std::string text, TextEncoding encoding,
                         std::unique_ptr<pugi::xml_document> document)
    : text_(std::move(text)), encoding_(encoding), document_(std::move(document)), map_(*document_, text_),
      layout_(*document_, text_) {}

XmlDocument XmlDocument::load(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        throw XmlError(path + " cannot be opened: " + std::strerror(errno));
    std::string bytes;
    char block[65536];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
        bytes.append(block, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throw XmlError(path + " cannot be read");
    try {
        return parse(bytes);
    } catch (const XmlError& error) {
        throw XmlError(path + ": " + error.what());
    }
}

XmlDocument XmlDocument::parse(std::string_view bytes) {
    const TextEncoding encoding = detectEncoding(bytes);
    std::string text = decodeText(bytes, encoding);
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result parsed =
        document->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    if (!parsed)
        throw XmlError(std::string("not well-formed: ") + parsed.description() + " at byte " +
                       std::to_string(parsed.offset));
    // pugixml takes more than one root element; XML does not.
    int roots = 0;
    for (pugi::xml_node node : document->children())
        roots += node.type() == pugi::node_element;
    if (roots != 1)
        throw XmlError("not well-formed: more than one root element");
    return XmlDocument(std::move(text), encoding, std::move(document));
}

XmlDocument XmlDocument::create(const char* rootName) {
    XmlDocument created("\n", TextEncoding::Utf8, std::make_unique<pugi::xml_document>());
    created.document_->append_child(rootName);
    return created;
}

pugi::xml_node XmlDocument::select(pugi::xml_node from, const char* query,
                                   pugi::xpath_variable_set* variables) const {
    return evaluated(query, [&] { return from.select_node(query, variables).node(); });
}

void XmlDocument::remove(pugi::xml_node node) {
    map_.markChanged(node.parent());
    node.parent().remove_child(node);
}

void XmlDocument::selectAllAndRemove(pugi::xml_node from, const char* query) {
    pugi::xpath_node_set found = evaluated(query, [&] { return from.select_nodes(query); });
    found.sort();
    std::set<pugi::xml_node> doomed;
    for (const pugi::xpath_node& match : found)
        if (match.node() && match.node().parent())
            doomed.insert(match.node());
    // Last first, so that a node goes before the node that holds it.
    for (auto match = found.end(); match != found.begin();) {
        const pugi::xml_node node = (--match)->node();
        if (doomed.count(node) == 0)
            continue;
        const pugi::xml_node indent = XmlLayout::indentation(node);
        if (node.type() == pugi::node_element && indent && doomed.count(indent) == 0)
            remove(indent);
        remove(node);
    }
}

void XmlDocument::removeChildren(pugi::xml_node node) {
    while (node.first_child())
        remove(node.first_child());
}

pugi::xml_node XmlDocument::addElement(pugi::xml_node parent, const char* name) {
    const pugi::xml_node element = layout_.append(parent, name);
    if (!element)
        throw XmlError(std::string("the element ") + name + " cannot be added");
    map_.markChanged(parent);
    return element;
}

void XmlDocument::setText(pugi::xml_node element, std::string_view text) {
    if (text.empty())
        throw XmlError(std::string("the element ") + element.name() + " cannot take an empty text");
    // The text becomes the element's whole content: a second text part, a CDATA section or an
    // element left inside would otherwise stay in its value (a Path of the module's path and more).
    pugi::xml_node textNode = element.first_child();
    if (textNode.type() != pugi::node_pcdata || textNode.next_sibling()) {
        removeChildren(element);
        textNode = element.append_child(pugi::node_pcdata);
    }
    if (!textNode || !textNode.set_value(std::string(text).c_str()))
        throw XmlError(std::string("the element ") + element.name() + " cannot take a text");
    map_.markChanged(textNode);
}

void XmlDocument::setAttribute(pugi::xml_node element, const char* name, const char* value) {
    pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        attribute = element.append_attribute(name);
    if (!attribute || !attribute.set_value(value))
        throw XmlError(std::string("the attribute ") + name + " cannot be set");
    map_.markRewritten(element);
}

std::string XmlDocument::bytes() const {
    return encodeText(writeSource(*document_, map_, text_), encoding_);
}

void XmlDocument::save(const std::string& path) const {
    replaceFile(path, bytes());
}
