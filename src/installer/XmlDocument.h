#pragma once

#include <pugixml.hpp>

#include <memory>
#include <string>
#include <string_view>

#include "installer/SourceMap.h"
#include "installer/TextEncoding.h"
#include "installer/XmlLayout.h"

// An XML file as a document object model with XPath (pugixml), edited so that what is not edited
// stays as it was, byte for byte: the declaration and its encoding, the line breaks, the layout,
// comments, and everything else that was there. Every failing operation throws XmlError.
class XmlDocument {
public:
    // A file that cannot be read, is not well-formed or is in an encoding that cannot be written
    // back fails.
    static XmlDocument load(const std::string& path);
    static XmlDocument parse(std::string_view bytes);
    // A document of one root element, without a declaration (so UTF-8), ending with a line break.
    static XmlDocument create(const char* rootName);

    pugi::xml_node document() const { return document_->root(); }

    // The first node the query finds from `from`; null when it finds none.
    pugi::xml_node select(pugi::xml_node from, const char* query,
                          pugi::xpath_variable_set* variables = nullptr) const;
    // Removes every node the query finds from `from` (attributes are not removed), with the
    // whitespace that indents it.
    void selectAllAndRemove(pugi::xml_node from, const char* query);
    // Removes every child of the node.
    void removeChildren(pugi::xml_node node);
    // Appends a new element to `parent`, laid out as the document is.
    pugi::xml_node addElement(pugi::xml_node parent, const char* name);
    // Replaces the value of the element's first text child, or appends one; an empty text fails.
    void setText(pugi::xml_node element, std::string_view text);
    void setAttribute(pugi::xml_node element, const char* name, const char* value);

    // The file's bytes, in its encoding.
    std::string bytes() const;
    // Replaces the file as a whole (see replaceFile).
    void save(const std::string& path) const;

private:
    XmlDocument(std::string text, TextEncoding encoding, std::unique_ptr<pugi::xml_document> document);
    void remove(pugi::xml_node node);

    std::string text_; // as parsed, in UTF-8
    TextEncoding encoding_;
    std::unique_ptr<pugi::xml_document> document_;
    SourceMap map_;
    XmlLayout layout_;
};
