#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/MappedRange.h"

// An XML track file read node by node as it comes, from a window of the file, so that a file of
// any size takes little memory and is read at the speed of the disk. Elements are matched by
// their local name, whatever the prefix; namespaces are not resolved. Text comes with the five
// predefined entities and character references decoded; a document with entities of its own
// (<!DOCTYPE [...]>) is refused, nothing is ever fetched. A document that is not well-formed
// (tags that do not match, text outside the root, a file ending inside an element), or whose root
// is not the one expected, is a TrackError naming the file and line.
class XmlStream {
public:
    static std::unique_ptr<XmlStream> openFile(const std::string& path, std::string root);
    static std::unique_ptr<XmlStream> openText(std::string_view text, std::string name, std::string root);
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // The next element start, element end or text; false at the end of the document. White space
    // before an element or an end tag is not text; text keeps the white space around it.
    bool advance();
    bool atStart(std::string_view localName) const;
    // At the element's end, or at the element itself when it is empty (<trkseg/>).
    bool atEnd(std::string_view localName) const;
    bool atEmptyElement() const { return kind_ == Kind::Start && empty_; }
    // At the end tag of the element that began at `depth`.
    bool atEndOfDepth(int depth) const { return kind_ == Kind::End && depth_ == depth; }
    // The root element is at depth 0, its children at 1, text at its element's depth plus one.
    int depth() const { return depth_; }
    // The text inside the current element, up to its end, which becomes the current node. Valid
    // until the next call.
    std::string_view text();
    // A child element of one plain text: its local name and its text.
    struct PlainChild {
        std::string_view name;
        std::string_view text;
    };
    // At an element's start, where all in it up to its end tag is white space and children of
    // one plain text each (<ele>1500</ele>, as in most track points), none of them empty or with
    // attributes, and all of it is in the window: those children in order, read in one step, the
    // element's end becoming the current node. False, with nothing read, for any other element,
    // which is then read node by node. Valid until the next call.
    bool readPlainChildren(std::vector<PlainChild>& children);
    // The next node, where it is an element of the local name `localName` whose attributes are
    // written name="value" without references and whose content is as readPlainChildren takes
    // it (or none: <trkpt lat="1" lon="2"/>), all of it in the window: read whole in one step,
    // its children in `children`, its attributes answering attribute(); its end becomes the
    // current node, though nodeLine() gives the line it begins at. False, with nothing read, for
    // anything else, which advance() then reads. For a track file's points, nearly all of them
    // alike; `localName` must outlive the node (a literal).
    bool readPlainElement(std::string_view localName, std::vector<PlainChild>& children);
    // An attribute of the current element, by its name as written; empty when it has none.
    std::string_view attribute(std::string_view name) const {
        // Here, so that a name known where it is asked for is compared in place.
        const auto in = [&](const auto& list) {
            for (std::size_t i = 0; i < attributeCount_; ++i)
                if (list[i].name.size() == name.size() &&
                    std::memcmp(list[i].name.data(), name.data(), name.size()) == 0)
                    return list[i].value;
            return std::string_view();
        };
        return plainAttributes_ ? in(plain_) : in(attributes_);
    }
    // The line where the current node begins (counted when asked for).
    uint64_t nodeLine();
    // Where the current node begins in the file, and the line there, which may be asked for
    // after the stream has moved on (counting on from the line asked for last).
    uint64_t nodeOffset() const { return windowAt_ + nodeStart_; }
    uint64_t lineAt(uint64_t offset);
    const std::string& name() const { return name_; }

    // Bytes of a file seen at a time, at least (a megabyte, mapped in place). A file cut short
    // by another program while it is read is a TrackError, "the file was cut short while it was
    // read".
    static constexpr std::size_t kReadSize = 1 << 20;

private:
    enum class Kind { None, Start, End, Text };
    // An attribute of the current tag: its name in the window, its value in the window or, where
    // it has references, decoded into `decoded`.
    struct Attribute {
        std::string_view name;
        std::string_view value;
        bool referenced = false;
        std::string decoded;
    };
    // An element open: where its name begins and ends in names_, and where its local name begins.
    struct Open {
        std::size_t begin, end, local;
    };

    XmlStream(int file, uint64_t fileSize, std::string_view text, std::string name, std::string root);
    // Makes at least `count` bytes from pos_ on available; false where the input ends first.
    bool have(std::size_t count) { return data_.size() - pos_ >= count || readMore(count); }
    bool readMore(std::size_t count);
    // The offset of `c` at or after pos_ + from, reading more as needed; npos where the input ends first.
    std::size_t find(char c, std::size_t from);
    std::size_t find(std::string_view text, std::size_t from);
    [[noreturn]] void fail(const std::string& what) const;
    void readStartTag();
    // Reads the start tag at pos_ where the window holds all of it; false, with nothing read,
    // where it does not.
    bool scanStartTag();
    void readEndTag();
    // Makes the end of the innermost element, whose end tag ends before `after`, the current node.
    void endElement(std::size_t after);
    void pushName(std::string_view name, std::size_t localOffset);
    // The text of an element of one text without references, up to its end tag, taken in one
    // step (most elements of a track file are); nothing, with nothing read, for any other.
    std::optional<std::string_view> readPlainText();
    // readPlainElement's element from `at`, past white space, read as it is written: where it
    // ends, its attributes kept (`count` of them) and its children in `children`; nullptr for
    // any other.
    const char* readPlainAt(const char* at, std::string_view localName, std::vector<PlainChild>& children,
                            std::size_t& count);
    // The last element read whole by readPlainElement, as written less its values: the next one
    // is first matched against it, as a track file's points are nearly all written alike, and
    // then read without its names and spaces looked at again.
    struct Shape {
        std::string_view localName; // what it was read as; none before the first
        std::string literals;       // its bytes outside the values, one part after the other
        struct Value {
            std::size_t literalEnd; // the value comes after literals up to here
            char delimiter;         // what ends it: the quote, or '<' for a child's text
        };
        std::vector<Value> values;      // the attributes' values, then the children's texts
        std::vector<std::string> names; // the attributes' names, then the children's local names
        std::size_t attributes = 0;
    };
    void learnShape(const char* start, const char* after, std::string_view localName, std::size_t count,
                    const std::vector<PlainChild>& children);
    // Where the element at `at` ends, read as shape_ says; nullptr where it is not written so.
    const char* readAsShape(const char* at, std::string_view localName, std::vector<PlainChild>& children);
    // The content from `at` of the element `element` up to its end tag, where it is as
    // readPlainChildren takes it: its children in `children`, and where the end tag ends;
    // nullptr for any other.
    const char* readPlainContent(const char* at, std::string_view element, std::vector<PlainChild>& children) const;
    // Whether the end tag of `name`, </name>, is at `at`, all of it in the window.
    bool endTagAt(const char* at, std::string_view name) const;
    std::string_view topName() const;
    std::string_view topLocalName() const;
    void readText();
    // Decodes the entity or character reference at `at` (at '&'), which ends before `limit`, into
    // `out`; where it ends.
    std::size_t readReference(std::string& out, std::size_t at, std::size_t limit);
    // Skips a comment, processing instruction, DOCTYPE; reads CDATA as text. True where it was text.
    bool readMarkup();

    int file_; // -1 for a text
    uint64_t fileSize_;
    // What is read from: a range of the file seen in place (mapped_), or the file's last part or
    // the whole text copied into window_; after it, room for sixteen bytes read past its end.
    std::string_view data_;
    MappedRange mapped_;
    std::unique_ptr<char[]> window_;
    static constexpr std::size_t kPadding = 16;
    uint64_t windowAt_ = 0; // where data_ begins in the file
    std::size_t pos_ = 0;   // in data_
    bool ended_ = false;    // no more input to read
    // Lines are counted only when one is asked for, from where the last was: a track file's
    // lines are seldom needed (a skipped point, an error), and its bytes are long gone from the
    // processor's caches by the time the window moves on.
    uint64_t line_ = 1;        // the line at countedAt_
    uint64_t countedAt_ = 0;   // where in the file (or text)
    // The line ends from countedAt_ to `offset` (not before it).
    uint64_t newlinesBefore(uint64_t offset) const;

    std::string name_;
    std::string root_;
    std::string kindName_; // the root's name as users know the format: "GPX"

    Kind kind_ = Kind::None;
    bool empty_ = false;
    int depth_ = -1;
    std::size_t nodeStart_ = 0; // in data_: where the current node begins
    std::string_view local_;    // the current element's local name, in names_
    std::vector<Attribute> attributes_;
    std::size_t attributeCount_ = 0;
    // The attributes of the element read whole by readPlainElement, and of the one being read,
    // kept apart from attributes_: an element that turns out not to be read so leaves the current
    // node's attributes as they were. `plainAttributes_` says which list attribute() answers from.
    struct PlainAttribute {
        std::string_view name, value;
    };
    std::vector<PlainAttribute> plain_, plainRead_;
    bool plainAttributes_ = false;
    std::string content_;     // the current text
    std::string elementText_; // what text() gathered
    // Elements inside each other, at most: deeper is no track file; children read in one step,
    // at most.
    static constexpr std::size_t kMaxDepth = 256;
    static constexpr std::size_t kMaxPlainChildren = 64;
    // The elements open, outermost first: the first openCount_ of open_, their names one after
    // the other in names_.
    std::array<Open, kMaxDepth> open_;
    std::size_t openCount_ = 0;
    std::string names_;
    bool popPending_ = false; // the current node ends the innermost element (an end tag or <a/>)
    Shape shape_;
    bool rootSeen_ = false;
    bool rootClosed_ = false;
};
