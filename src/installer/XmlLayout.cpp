#include "installer/XmlLayout.h"

#include <optional>

namespace {

pugi::xml_node addText(pugi::xml_node parent, pugi::xml_node before, const std::string& text) {
    pugi::xml_node node = before ? parent.insert_child_before(pugi::node_pcdata, before)
                                 : parent.append_child(pugi::node_pcdata);
    node.set_value(text.c_str());
    return node;
}

} // namespace

bool XmlLayout::blank(pugi::xml_node node) {
    const std::string_view value = node.type() == pugi::node_pcdata ? node.value() : "";
    return !value.empty() && value.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

pugi::xml_node XmlLayout::indentation(pugi::xml_node node) {
    const pugi::xml_node before = node.previous_sibling();
    return blank(before) ? before : pugi::xml_node();
}

XmlLayout::XmlLayout(const pugi::xml_document& document, std::string_view text) {
    if (text.find("\r\n") != std::string_view::npos)
        lineBreak_ = "\r\n";
    for (pugi::xml_node element : document.document_element().children()) {
        const std::string_view indent = indentation(element).value();
        const std::size_t lineStart = indent.find_last_of('\n');
        if (element.type() == pugi::node_element && lineStart != std::string_view::npos) {
            unit_ = indent.substr(lineStart + 1);
            break;
        }
    }
}

pugi::xml_node XmlLayout::append(pugi::xml_node parent, const char* name) const {
    const pugi::xml_node closing = blank(parent.last_child()) ? parent.last_child() : pugi::xml_node();
    pugi::xml_node lastElement = parent.last_child();
    while (lastElement && lastElement.type() != pugi::node_element)
        lastElement = lastElement.previous_sibling();

    if (lastElement) {
        // Whitespace next to text would become part of it when the file is read again, and could
        // not go with the element.
        const pugi::xml_node before = closing ? closing.previous_sibling() : parent.last_child();
        const pugi::xml_node indent = indentation(lastElement);
        if (indent && before.type() != pugi::node_pcdata)
            addText(parent, closing, indent.value());
    } else if (parent.first_child() == closing) {
        // Nothing but whitespace yet: one level deeper than the parent's own indentation; the
        // document element starts a line.
        std::optional<std::string> own;
        if (const pugi::xml_node indent = indentation(parent))
            own = indent.value();
        else if (parent.parent().type() == pugi::node_document)
            own = lineBreak_;
        if (own) {
            // Elements laid out on one line stay on it.
            addText(parent, closing, own->find('\n') == std::string::npos ? *own : *own + unit_);
            if (!closing)
                return parent.insert_child_before(name, addText(parent, {}, *own));
        }
    }
    return closing ? parent.insert_child_before(name, closing) : parent.append_child(name);
}
