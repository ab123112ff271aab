#include "tracks/XmlStream.h"

#include <libxml/xmlreader.h>

#include <filesystem>

#include "tracks/TrackError.h"

namespace {

// No entities expanded, no DTD loaded, nothing from the network; libxml2's own size limits stay.
constexpr int kParseOptions = XML_PARSE_NONET;

std::string_view view(const xmlChar* text) {
    return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

void keepFirstError(void* target, const char* message, xmlParserSeverities, xmlTextReaderLocatorPtr) {
    auto& first = *static_cast<std::string*>(target);
    if (first.empty() && message != nullptr) {
        first = message;
        while (!first.empty() && (first.back() == '\n' || first.back() == ' '))
            first.pop_back();
    }
}

} // namespace

std::unique_ptr<XmlStream> XmlStream::openFile(const std::string& path, std::string root) {
    std::error_code unknown;
    if (!std::filesystem::is_regular_file(path, unknown))
        throw TrackError(path, 0, "the file cannot be opened");
    if (std::filesystem::file_size(path, unknown) == 0 && !unknown)
        throw TrackError(path, 1, "the file is empty");
    xmlTextReaderPtr reader = xmlReaderForFile(path.c_str(), nullptr, kParseOptions);
    if (reader == nullptr)
        throw TrackError(path, 0, "the file cannot be opened");
    return std::unique_ptr<XmlStream>(new XmlStream(reader, path, std::move(root)));
}

std::unique_ptr<XmlStream> XmlStream::openText(std::string_view text, std::string name, std::string root) {
    if (text.empty())
        throw TrackError(name, 1, "the file is empty");
    xmlTextReaderPtr reader =
        xmlReaderForMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, kParseOptions);
    if (reader == nullptr)
        throw TrackError(name, 0, "the text cannot be read");
    return std::unique_ptr<XmlStream>(new XmlStream(reader, std::move(name), std::move(root)));
}

XmlStream::XmlStream(xmlTextReaderPtr reader, std::string name, std::string root)
    : reader_(reader), name_(std::move(name)), root_(std::move(root)) {
    for (const char c : root_)
        kind_ += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    xmlTextReaderSetErrorHandler(reader_, keepFirstError, &firstError_);
}

XmlStream::~XmlStream() {
    xmlFreeTextReader(reader_);
}

uint64_t XmlStream::line() const {
    const int line = xmlTextReaderGetParserLineNumber(reader_);
    return line > 0 ? static_cast<uint64_t>(line) : 1;
}

uint64_t XmlStream::nodeLine() const {
    const long line = xmlGetLineNo(xmlTextReaderCurrentNode(reader_));
    return line > 0 ? static_cast<uint64_t>(line) : this->line();
}

bool XmlStream::advance() {
    const int read = xmlTextReaderRead(reader_);
    if (read < 0)
        throw TrackError(name_, line(),
                         "this is no well-formed XML" +
                             (firstError_.empty() ? std::string() : ": " + firstError_));
    if (read == 0) {
        if (!rootSeen_)
            throw TrackError(name_, line(), "this is no " + kind_ + " file: it has no element");
        return false;
    }
    if (!rootSeen_ && xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT) {
        rootSeen_ = true;
        const std::string_view root = view(xmlTextReaderConstLocalName(reader_));
        if (root != root_)
            throw TrackError(name_, nodeLine(),
                             "this is no " + kind_ + " file: its root is <" + std::string(root) + ">");
    }
    return true;
}

bool XmlStream::atStart(std::string_view localName) const {
    return xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT &&
           view(xmlTextReaderConstLocalName(reader_)) == localName;
}

bool XmlStream::atEnd(std::string_view localName) const {
    const int type = xmlTextReaderNodeType(reader_);
    return view(xmlTextReaderConstLocalName(reader_)) == localName &&
           (type == XML_READER_TYPE_END_ELEMENT || (type == XML_READER_TYPE_ELEMENT && atEmptyElement()));
}

bool XmlStream::atEmptyElement() const {
    return xmlTextReaderIsEmptyElement(reader_) == 1;
}

bool XmlStream::atEndOfDepth(int depth) const {
    return xmlTextReaderNodeType(reader_) == XML_READER_TYPE_END_ELEMENT && this->depth() == depth;
}

int XmlStream::depth() const {
    return xmlTextReaderDepth(reader_);
}

std::string XmlStream::text() {
    std::string content;
    if (atEmptyElement())
        return content;
    const int depth = this->depth();
    while (advance() && !atEndOfDepth(depth)) {
        const int type = xmlTextReaderNodeType(reader_);
        if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA)
            content += view(xmlTextReaderConstValue(reader_));
    }
    return content;
}

std::string XmlStream::attribute(const char* name) const {
    xmlChar* value = xmlTextReaderGetAttribute(reader_, reinterpret_cast<const xmlChar*>(name));
    std::string text(view(value));
    xmlFree(value);
    return text;
}
