#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

using xmlTextReaderPtr = struct _xmlTextReader*;

// An XML track file read node by node through libxml2's streaming reader, so that a file of any
// size takes little memory. Elements are matched by their local name, whatever the prefix. A
// document that is not well-formed, or whose root is not the one expected, is a TrackError naming
// the file and line. Entities are not expanded and nothing is fetched from the network.
class XmlStream {
public:
    static std::unique_ptr<XmlStream> openFile(const std::string& path, std::string root);
    // `text` must outlive the stream.
    static std::unique_ptr<XmlStream> openText(std::string_view text, std::string name, std::string root);
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // The next node; false at the end of the document.
    bool advance();
    bool atStart(std::string_view localName) const;
    // At the element's end, or at the element itself when it is empty (<trkseg/>).
    bool atEnd(std::string_view localName) const;
    bool atEmptyElement() const;
    // At the end tag of the element that began at `depth`.
    bool atEndOfDepth(int depth) const;
    int depth() const;
    // The text inside the current element, up to its end, which becomes the current node.
    std::string text();
    // An attribute of the current element; empty when it has none.
    std::string attribute(const char* name) const;
    // The line where the current node begins.
    uint64_t nodeLine() const;
    const std::string& name() const { return name_; }

private:
    XmlStream(xmlTextReaderPtr reader, std::string name, std::string root);
    // Where the parser is.
    uint64_t line() const;

    xmlTextReaderPtr reader_;
    std::string name_;
    std::string root_;
    std::string kind_; // the root's name as users know the format: "GPX"
    std::string firstError_;
    bool rootSeen_ = false;
};
