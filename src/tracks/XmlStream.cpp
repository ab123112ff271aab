#include "tracks/XmlStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

#include "tracks/TrackError.h"

namespace {

// Bytes seen of a file at a time; a tag, comment or reference may not be longer.
constexpr std::size_t kBlock = XmlStream::kReadSize;
constexpr const char* kCutShort = "the file was cut short while it was read";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// What each byte is to the tag scanner: a byte of a name (the colon before a local name among
// them), or what ends one.
enum ByteKind : unsigned char { kNameByte, kColon, kEndsName };
constexpr auto kByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (const char c : {' ', '\t', '\n', '\r', '/', '=', '<', '>', '"', '\''})
        kinds[static_cast<unsigned char>(c)] = kEndsName;
    kinds[':'] = kColon;
    return kinds;
}();

// The first of the bytes `a`, `b` and `c` at or after `at`, before `end`; `end` where there is
// none. Sixteen bytes at a time, compared all at once (the compiler's vectors, SSE2 or NEON), as
// text and values run to dozens: the window has room for sixteen bytes read past its end.
const char* findAny(const char* at, const char* end, char a, char b, char c) {
    if constexpr (std::endian::native == std::endian::little) {
        using Lanes = char __attribute__((vector_size(16)));
        for (; at < end; at += 16) {
            Lanes bytes;
            std::memcpy(&bytes, at, sizeof bytes);
            const auto found = (bytes == a) | (bytes == b) | (bytes == c); // all ones where equal
#if defined(__SSE2__)
            // A bit for each byte, in one instruction.
            const int bits = __builtin_ia32_pmovmskb128(reinterpret_cast<Lanes>(found));
            if (bits != 0)
                return std::min(end, at + std::countr_zero(static_cast<unsigned>(bits)));
#else
            uint64_t halves[2];
            std::memcpy(halves, &found, sizeof halves);
            if ((halves[0] | halves[1]) != 0)
                return std::min(end, at + (halves[0] != 0 ? std::countr_zero(halves[0])
                                                          : 64 + std::countr_zero(halves[1])) /
                                              8);
#endif
        }
        return end;
    }
    while (at < end && *at != a && *at != b && *at != c)
        ++at;
    return at;
}

// Whether two names are the same: inline, as names are short and compared at every node.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// Whether the `count` bytes at `a` and `b` are the same: a word at a time, the last word
// overlapping the one before, as the bytes between an element's values are a dozen or so.
[[gnu::always_inline]] inline bool sameBytes(const char* a, const char* b, std::size_t count) {
    const auto word = []<class Word>(const char* at, Word value) {
        std::memcpy(&value, at, sizeof value);
        return value;
    };
    if (count < 4) {
        for (std::size_t i = 0; i < count; ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    if (count < 8) // ('" lon="', '"><ele>'): two words of four
        return word(a, uint32_t{}) == word(b, uint32_t{}) &&
               word(a + count - 4, uint32_t{}) == word(b + count - 4, uint32_t{});
    for (std::size_t i = 0; i + 8 < count; i += 8)
        if (word(a + i, uint64_t{}) != word(b + i, uint64_t{}))
            return false;
    return word(a + count - 8, uint64_t{}) == word(b + count - 8, uint64_t{});
}

bool isNameByte(char c) {
    return kByteKinds[static_cast<unsigned char>(c)] != kEndsName;
}

void appendUtf8(std::string& out, uint32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | point >> 6);
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | point >> 12);
        out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | point >> 18);
        out += static_cast<char>(0x80 | (point >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

uint64_t newlines(const char* from, const char* to) {
    uint64_t count = 0;
    while (from < to) {
        const void* found = std::memchr(from, '\n', static_cast<std::size_t>(to - from));
        if (found == nullptr)
            break;
        ++count;
        from = static_cast<const char*>(found) + 1;
    }
    return count;
}

} // namespace

std::unique_ptr<XmlStream> XmlStream::openFile(const std::string& path, std::string root) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (file < 0 || fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (file >= 0)
            ::close(file);
        throw TrackError(path, 0, "the file cannot be opened");
    }
    if (status.st_size == 0) {
        ::close(file);
        throw TrackError(path, 1, "the file is empty");
    }
    return std::unique_ptr<XmlStream>(
        new XmlStream(file, static_cast<uint64_t>(status.st_size), {}, path, std::move(root)));
}

std::unique_ptr<XmlStream> XmlStream::openText(std::string_view text, std::string name, std::string root) {
    if (text.empty())
        throw TrackError(name, 1, "the file is empty");
    return std::unique_ptr<XmlStream>(new XmlStream(-1, 0, text, std::move(name), std::move(root)));
}

XmlStream::XmlStream(int file, uint64_t fileSize, std::string_view text, std::string name, std::string root)
    : file_(file), fileSize_(fileSize), ended_(file < 0), name_(std::move(name)), root_(std::move(root)) {
    if (file_ < 0) {
        window_ = std::make_unique_for_overwrite<char[]>(text.size() + kPadding);
        std::memcpy(window_.get(), text.data(), text.size());
        std::memset(window_.get() + text.size(), 0, kPadding);
        data_ = std::string_view(window_.get(), text.size());
    }
    for (const char c : root_)
        kindName_ += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    names_.resize(1024);
    if (have(2) && (data_.substr(0, 2) == "\xFF\xFE" || data_.substr(0, 2) == "\xFE\xFF"))
        fail("the file is written in UTF-16, which is not read (UTF-8 only)");
    if (have(3) && data_.substr(0, 3) == "\xEF\xBB\xBF")
        countedAt_ = nodeStart_ = pos_ = 3;
}

XmlStream::~XmlStream() {
    if (file_ >= 0)
        ::close(file_);
}

bool XmlStream::readMore(std::size_t count) {
    while (data_.size() - pos_ < count) {
        if (ended_)
            return false;
        // What was read of the window is only good where the file kept it.
        if (mapped_.cut())
            throw TrackError(name_, 0, kCutShort);
        // Keep the current node and what follows it, and the next block after them: the file
        // seen in place where it goes on past them and their padding, its last part copied with
        // zeros after it.
        const uint64_t from = windowAt_ + nodeStart_;
        const std::size_t length = data_.size() - nodeStart_ + kBlock;
        const uint64_t rest = fileSize_ - from;
        const char* seen = reinterpret_cast<const char*>(mapped_.map(
            file_, from, rest > length + kPadding ? length + kPadding : static_cast<std::size_t>(rest)));
        if (seen == nullptr)
            fail("the file cannot be read");
        if (rest > length + kPadding) {
            data_ = std::string_view(seen, length);
        } else {
            const auto last = static_cast<std::size_t>(rest);
            window_ = std::make_unique_for_overwrite<char[]>(last + kPadding);
            std::memcpy(window_.get(), seen, last);
            std::memset(window_.get() + last, 0, kPadding);
            if (mapped_.cut())
                throw TrackError(name_, 0, kCutShort);
            mapped_.unmap();
            data_ = std::string_view(window_.get(), last);
            ended_ = true;
        }
        windowAt_ = from;
        pos_ -= nodeStart_;
        nodeStart_ = 0;
    }
    return true;
}

std::size_t XmlStream::find(char c, std::size_t from) {
    while (true) {
        if (pos_ + from < data_.size()) {
            const void* found = std::memchr(data_.data() + pos_ + from, c, data_.size() - pos_ - from);
            if (found != nullptr)
                return static_cast<std::size_t>(static_cast<const char*>(found) - data_.data()) - pos_;
        }
        from = data_.size() - pos_;
        if (from > kBlock)
            fail("a tag, comment or reference is longer than a megabyte");
        if (!have(from + 1))
            return std::string_view::npos;
    }
}

std::size_t XmlStream::find(std::string_view text, std::size_t from) {
    while (true) {
        const std::size_t at = find(text.front(), from);
        if (at == std::string_view::npos || !have(at + text.size()))
            return std::string_view::npos;
        if (data_.substr(pos_ + at, text.size()) == text)
            return at;
        from = at + 1;
    }
}

uint64_t XmlStream::nodeLine() {
    return lineAt(nodeOffset());
}

uint64_t XmlStream::lineAt(uint64_t offset) {
    // Lines are counted on from the last asked for; for one before it, from the start again.
    if (offset < countedAt_) {
        line_ = 1;
        countedAt_ = 0;
    }
    line_ += newlinesBefore(offset);
    countedAt_ = offset;
    return line_;
}

uint64_t XmlStream::newlinesBefore(uint64_t offset) const {
    uint64_t count = 0;
    uint64_t at = countedAt_;
    // What has left the window since is seen again, a block at a time.
    const uint64_t gone = std::min(offset, windowAt_);
    for (MappedRange earlier; at < gone;) {
        const auto size = static_cast<std::size_t>(std::min<uint64_t>(kBlock, gone - at));
        const char* const seen = reinterpret_cast<const char*>(earlier.map(file_, at, size));
        if (seen == nullptr)
            throw TrackError(name_, 0, "the file cannot be read");
        count += newlines(seen, seen + size);
        if (earlier.cut())
            throw TrackError(name_, 0, kCutShort);
        at += size;
    }
    if (at < offset)
        count += newlines(data_.data() + (at - windowAt_), data_.data() + (offset - windowAt_));
    return count;
}

void XmlStream::fail(const std::string& what) const {
    // Zeros where the file was cut short under the window are no fault of the file's XML.
    if (mapped_.cut())
        throw TrackError(name_, 0, kCutShort);
    const uint64_t line = line_ + newlinesBefore(windowAt_ + std::min(pos_, data_.size()));
    throw TrackError(name_, line, "this is no well-formed XML: " + what);
}

bool XmlStream::advance() {
    if (popPending_) {
        --openCount_;
        popPending_ = false;
    }
    while (true) {
        attributeCount_ = 0;
        plainAttributes_ = false;
        if (!have(1)) {
            if (openCount_ != 0)
                fail("the file ends inside <" + std::string(topName()) + ">");
            if (!rootSeen_)
                fail("it has no element");
            kind_ = Kind::None;
            return false;
        }
        // White space between elements, as track files lay them out, is no node.
        nodeStart_ = pos_;
        while (isSpace(data_[pos_]) && (pos_ + 1 < data_.size() || have(2)))
            ++pos_;
        if (data_[pos_] != '<')
            pos_ = nodeStart_;
        nodeStart_ = pos_;
        if (data_[pos_] != '<') {
            readText();
            if (openCount_ == 0) {
                if (std::any_of(content_.begin(), content_.end(), [](char c) { return !isSpace(c); }))
                    fail("text outside the root element");
                continue;
            }
            kind_ = Kind::Text;
            depth_ = static_cast<int>(openCount_);
            return true;
        }
        if (!have(2))
            fail("the file ends inside a tag");
        const char next = data_[pos_ + 1];
        if (next == '/') {
            readEndTag();
            return true;
        }
        if (next == '!' || next == '?') {
            if (readMarkup()) {
                if (openCount_ == 0)
                    fail("text outside the root element");
                kind_ = Kind::Text;
                depth_ = static_cast<int>(openCount_);
                return true;
            }
            continue;
        }
        readStartTag();
        return true;
    }
}

std::string_view XmlStream::topName() const {
    const Open& open = open_[openCount_ - 1];
    return {names_.data() + open.begin, open.end - open.begin};
}

std::string_view XmlStream::topLocalName() const {
    const Open& open = open_[openCount_ - 1];
    return {names_.data() + open.local, open.end - open.local};
}

void XmlStream::pushName(std::string_view name, std::size_t localOffset) {
    if (openCount_ == kMaxDepth)
        fail("elements nested deeper than " + std::to_string(kMaxDepth));
    const std::size_t begin = openCount_ == 0 ? 0 : open_[openCount_ - 1].end;
    if (begin + name.size() > names_.size())
        names_.resize(std::max(2 * names_.size(), begin + name.size()));
    std::memcpy(names_.data() + begin, name.data(), name.size());
    open_[openCount_++] = {begin, begin + name.size(), begin + localOffset};
}

void XmlStream::readStartTag() {
    if (rootClosed_)
        fail("a second root element");
    // The tag is read whole from the window; where the window ends inside it, more is read and
    // the tag read again.
    while (!scanStartTag()) {
        if (data_.size() - pos_ > kBlock)
            fail("a tag is longer than a megabyte");
        if (!readMore(data_.size() - pos_ + 1)) {
            pos_ = data_.size();
            fail("the file ends inside a tag");
        }
    }
}

bool XmlStream::scanStartTag() {
    const char* const begin = data_.data();
    const char* const end = begin + data_.size();
    const auto failAt = [&](const char* at, const std::string& what) {
        pos_ = static_cast<std::size_t>(at - begin);
        fail(what);
    };
    const auto skipSpaces = [&](const char*& at) {
        while (at < end && isSpace(*at))
            ++at;
        return at < end;
    };
    const char* const nameBegin = begin + pos_ + 1;
    const char* at = nameBegin;
    const char* colon = nullptr;
    for (; at < end; ++at) {
        const ByteKind kind = kByteKinds[static_cast<unsigned char>(*at)];
        if (kind == kEndsName)
            break;
        if (kind == kColon && colon == nullptr)
            colon = at;
    }
    if (at == end)
        return false;
    const std::string_view element(nameBegin, static_cast<std::size_t>(at - nameBegin));
    if (element.empty())
        failAt(at, "a tag without a name");
    std::size_t count = 0;
    bool anyReferenced = false;
    while (true) {
        const char* const before = at;
        if (!skipSpaces(at))
            return false;
        if (*at == '>')
            break;
        if (*at == '/') {
            if (at + 1 == end)
                return false;
            if (at[1] != '>')
                failAt(at, "a / inside <" + std::string(element) + ">");
            ++at;
            break;
        }
        if (at == before)
            failAt(at, "no space before an attribute of <" + std::string(element) + ">");
        const char* const attributeName = at;
        while (at < end && isNameByte(*at))
            ++at;
        if (at == end)
            return false;
        const std::string_view name(attributeName, static_cast<std::size_t>(at - attributeName));
        if (name.empty())
            failAt(at, "a stray character inside <" + std::string(element) + ">");
        for (std::size_t i = 0; i < count; ++i)
            if (sameName(attributes_[i].name, name))
                failAt(at, "the attribute " + std::string(name) + " is given twice");
        if (!skipSpaces(at))
            return false;
        if (*at != '=')
            failAt(at, "the attribute " + std::string(name) + " has no value");
        ++at;
        if (!skipSpaces(at))
            return false;
        if (*at != '"' && *at != '\'')
            failAt(at, "the value of " + std::string(name) + " is not quoted");
        const char quote = *at++;
        const char* const value = at;
        bool referenced = false;
        while (true) {
            at = findAny(at, end, quote, '<', '&');
            if (at == end)
                return false;
            if (*at == quote)
                break;
            if (*at == '<')
                failAt(at, "a < inside the value of " + std::string(name));
            referenced = true;
            ++at;
        }
        if (count == attributes_.size())
            attributes_.emplace_back();
        Attribute& attribute = attributes_[count++];
        attribute.name = name;
        attribute.value = std::string_view(value, static_cast<std::size_t>(at - value));
        attribute.referenced = referenced;
        anyReferenced = anyReferenced || referenced;
        ++at;
    }
    // Read whole: the tag ends at `at`.
    empty_ = at[-1] == '/';
    attributeCount_ = count;
    for (std::size_t i = 0; anyReferenced && i < count; ++i) {
        Attribute& attribute = attributes_[i];
        if (!attribute.referenced)
            continue;
        attribute.decoded.clear();
        const auto valueEnd =
            static_cast<std::size_t>(attribute.value.data() + attribute.value.size() - begin);
        for (auto from = static_cast<std::size_t>(attribute.value.data() - begin); from < valueEnd;) {
            if (begin[from] == '&')
                from = readReference(attribute.decoded, from, valueEnd);
            else
                attribute.decoded += begin[from++];
        }
        attribute.value = attribute.decoded;
    }
    const std::size_t localOffset = colon == nullptr ? 0 : static_cast<std::size_t>(colon + 1 - nameBegin);
    if (!rootSeen_) {
        rootSeen_ = true;
        if (element.substr(localOffset) != root_)
            throw TrackError(name_, nodeLine(),
                             "this is no " + kindName_ + " file: its root is <" +
                                 std::string(element.substr(localOffset)) + ">");
    }
    pos_ = static_cast<std::size_t>(at + 1 - begin);
    kind_ = Kind::Start;
    depth_ = static_cast<int>(openCount_);
    pushName(element, localOffset);
    local_ = topLocalName();
    if (empty_) {
        popPending_ = true;
        rootClosed_ = openCount_ == 1;
    }
    return true;
}

void XmlStream::readEndTag() {
    std::size_t at = 2;
    for (; have(at + 1) && isNameByte(data_[pos_ + at]); ++at)
        if (at > kBlock)
            fail("a tag is longer than a megabyte");
    const std::string_view element = data_.substr(pos_ + 2, at - 2);
    const std::string_view open = openCount_ == 0 ? std::string_view() : topName();
    if (openCount_ == 0 || !sameName(element, open))
        fail("</" + std::string(element) + "> closes " +
             (openCount_ == 0 ? "nothing" : "<" + std::string(open) + ">"));
    while (have(at + 1) && isSpace(data_[pos_ + at]) && at <= kBlock)
        ++at;
    if (!have(at + 1)) {
        pos_ = data_.size();
        fail("the file ends inside a tag");
    }
    if (data_[pos_ + at] != '>')
        fail("the end tag </" + std::string(open) + "> is not closed");
    endElement(pos_ + at + 1);
}

void XmlStream::endElement(std::size_t after) {
    pos_ = after;
    local_ = topLocalName();
    popPending_ = true;
    rootClosed_ = openCount_ == 1;
    kind_ = Kind::End;
    empty_ = false;
    depth_ = static_cast<int>(openCount_) - 1;
}

void XmlStream::readText() {
    content_.clear();
    while (have(1)) {
        const void* less = std::memchr(data_.data() + pos_, '<', data_.size() - pos_);
        const std::size_t end = less == nullptr
                                    ? data_.size()
                                    : static_cast<std::size_t>(static_cast<const char*>(less) - data_.data());
        const void* ampersand = std::memchr(data_.data() + pos_, '&', end - pos_);
        if (ampersand == nullptr) {
            content_.append(data_, pos_, end - pos_);
            pos_ = end;
            if (less != nullptr)
                return;
            continue;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(ampersand) - data_.data());
        content_.append(data_, pos_, at - pos_);
        pos_ = at;
        have(13);
        pos_ = readReference(content_, pos_, data_.size());
    }
}

std::size_t XmlStream::readReference(std::string& out, std::size_t at, std::size_t limit) {
    const std::size_t end = data_.substr(at, std::min<std::size_t>(13, limit - at)).find(';');
    const auto failHere = [&](const std::string& what) {
        pos_ = at;
        fail(what);
    };
    if (end == std::string_view::npos)
        failHere("a & that starts no reference");
    const std::string_view name = data_.substr(at + 1, end - 1);
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    bool known = false;
    for (const auto& [entity, c] : kEntities)
        if (name == entity) {
            out += c;
            known = true;
        }
    if (!known) {
        const bool numeric = name.size() > 1 && name[0] == '#';
        const bool hex = numeric && name.size() > 2 && name[1] == 'x';
        const std::string_view digits = numeric ? name.substr(hex ? 2 : 1) : std::string_view();
        uint32_t point = 0;
        bool valid = !digits.empty();
        for (const char d : digits) {
            const int value = d >= '0' && d <= '9'          ? d - '0'
                              : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                              : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                            : -1;
            valid = valid && value >= 0 && point <= 0x10FFFF;
            point = point * (hex ? 16u : 10u) + static_cast<uint32_t>(std::max(value, 0));
        }
        if (!valid || point == 0 || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            failHere("an unknown reference &" + std::string(name) + ";");
        appendUtf8(out, point);
    }
    return at + end + 1;
}

bool XmlStream::readMarkup() {
    const auto skipTo = [&](std::string_view close, const char* what) {
        const std::size_t end = find(close, 2);
        if (end == std::string_view::npos)
            fail(std::string("the file ends inside ") + what);
        pos_ += end + close.size();
    };
    if (data_[pos_ + 1] == '?') {
        skipTo("?>", "a processing instruction");
        return false;
    }
    if (have(4) && data_.substr(pos_, 4) == "<!--") {
        skipTo("-->", "a comment");
        return false;
    }
    if (have(9) && data_.substr(pos_, 9) == "<![CDATA[") {
        const std::size_t end = find("]]>", 9);
        if (end == std::string_view::npos)
            fail("the file ends inside a CDATA section");
        content_.assign(data_.substr(pos_ + 9, end - 9));
        pos_ += end + 3;
        return true;
    }
    if (have(9) && data_.substr(pos_, 9) == "<!DOCTYPE" && !rootSeen_) {
        const std::size_t end = find('>', 9);
        if (end == std::string_view::npos)
            fail("the file ends inside <!DOCTYPE>");
        if (data_.substr(pos_, end).find('[') != std::string_view::npos)
            fail("the document declares entities of its own, which are not read");
        pos_ += end + 1;
        return false;
    }
    fail("a <! that starts no comment, CDATA section or DOCTYPE");
}

bool XmlStream::atStart(std::string_view localName) const {
    return kind_ == Kind::Start && sameName(local_, localName);
}

bool XmlStream::atEnd(std::string_view localName) const {
    return (kind_ == Kind::End || (kind_ == Kind::Start && empty_)) && sameName(local_, localName);
}

std::string_view XmlStream::text() {
    if (kind_ != Kind::Start || empty_)
        return {};
    if (const std::optional<std::string_view> plain = readPlainText())
        return *plain;
    elementText_.clear();
    const int depth = depth_;
    while (advance() && !atEndOfDepth(depth))
        if (kind_ == Kind::Text)
            elementText_ += content_;
    return elementText_;
}

bool XmlStream::readPlainChildren(std::vector<PlainChild>& children) {
    if (kind_ != Kind::Start || empty_)
        return false;
    const std::string_view element = topName();
    const char* const after = readPlainContent(data_.data() + pos_, element, children);
    if (after == nullptr)
        return false;
    nodeStart_ = static_cast<std::size_t>(after - data_.data()) - element.size() - 3;
    endElement(nodeStart_ + element.size() + 3);
    return true;
}

bool XmlStream::readPlainElement(std::string_view localName, std::vector<PlainChild>& children) {
    // Only between the root's start and its end, where an element's start and end leave the
    // elements open as they were.
    const std::size_t open = openCount_ - (popPending_ ? 1 : 0);
    if (open == 0 || rootClosed_)
        return false;
    const char* const begin = data_.data();
    const char* const end = begin + data_.size();
    const char* start = begin + pos_;
    while (start < end && isSpace(*start))
        ++start;
    std::size_t count = shape_.attributes;
    const char* after = readAsShape(start, localName, children);
    if (after == nullptr) {
        after = readPlainAt(start, localName, children, count);
        if (after == nullptr)
            return false;
        learnShape(start, after, localName, count, children);
    }
    // Read whole: the element's end is the current node, the element having begun at `start`.
    if (popPending_) {
        --openCount_;
        popPending_ = false;
    }
    plain_.swap(plainRead_);
    attributeCount_ = count;
    plainAttributes_ = true;
    nodeStart_ = static_cast<std::size_t>(start - begin);
    pos_ = static_cast<std::size_t>(after - begin);
    kind_ = Kind::End;
    empty_ = false;
    depth_ = static_cast<int>(openCount_);
    local_ = localName;
    return true;
}

const char* XmlStream::readPlainAt(const char* at, std::string_view localName, std::vector<PlainChild>& children,
                                   std::size_t& count) {
    const char* const end = data_.data() + data_.size();
    if (end - at < 2 || *at != '<')
        return nullptr;
    const char* const name = ++at;
    const char* local = name;
    for (; at < end && kByteKinds[static_cast<unsigned char>(*at)] != kEndsName; ++at)
        if (*at == ':' && local == name)
            local = at + 1;
    if (at == end || !sameName(std::string_view(local, static_cast<std::size_t>(at - local)), localName))
        return nullptr;
    const std::string_view element(name, static_cast<std::size_t>(at - name));
    // Attributes written name="value" (or with single quotes) without references; anything else
    // is left to the node-by-node reading, which refuses what it must.
    count = 0;
    while (true) {
        const char* const before = at;
        while (at < end && isSpace(*at))
            ++at;
        if (at == end)
            return nullptr;
        if (*at == '>' || *at == '/')
            break;
        const char* const attributeName = at;
        while (at < end && isNameByte(*at))
            ++at;
        if (before == attributeName || at == attributeName || end - at < 2 || at[0] != '=' ||
            (at[1] != '"' && at[1] != '\''))
            return nullptr;
        const std::string_view nameSeen(attributeName, static_cast<std::size_t>(at - attributeName));
        for (std::size_t i = 0; i < count; ++i)
            if (sameName(plainRead_[i].name, nameSeen))
                return nullptr;
        const char quote = at[1];
        const char* const value = at + 2;
        at = findAny(value, end, quote, '<', '&');
        if (at == end || *at != quote)
            return nullptr;
        if (count == plainRead_.size())
            plainRead_.emplace_back();
        plainRead_[count++] = {nameSeen, std::string_view(value, static_cast<std::size_t>(at - value))};
        ++at;
    }
    if (*at != '/')
        return readPlainContent(at + 1, element, children);
    children.clear();
    return end - at >= 2 && at[1] == '>' ? at + 2 : nullptr;
}

void XmlStream::learnShape(const char* start, const char* after, std::string_view localName, std::size_t count,
                           const std::vector<PlainChild>& children) {
    Shape& shape = shape_;
    shape.localName = localName;
    shape.attributes = count;
    shape.literals.clear();
    shape.values.clear();
    shape.names.resize(count + children.size());
    const char* from = start;
    const auto value = [&](std::string_view name, std::string_view text, char delimiter) {
        shape.names[shape.values.size()].assign(name);
        shape.literals.append(from, static_cast<std::size_t>(text.data() - from));
        shape.values.push_back({shape.literals.size(), delimiter});
        from = text.data() + text.size();
    };
    for (std::size_t i = 0; i < count; ++i)
        value(plainRead_[i].name, plainRead_[i].value, plainRead_[i].value.data()[plainRead_[i].value.size()]);
    for (const PlainChild& child : children)
        value(child.name, child.text, '<');
    shape.literals.append(from, static_cast<std::size_t>(after - from));
}

const char* XmlStream::readAsShape(const char* at, std::string_view localName, std::vector<PlainChild>& children) {
    const Shape& shape = shape_;
    if (shape.literals.empty() || !sameName(shape.localName, localName))
        return nullptr;
    // The same bytes around the values as the element the shape was taken from, and values
    // without the bytes that would end them early or need decoding: read as that one was.
    const char* const end = data_.data() + data_.size();
    const char* const literals = shape.literals.data();
    std::size_t literal = 0;
    children.clear();
    if (plainRead_.size() < shape.attributes)
        plainRead_.resize(shape.attributes);
    for (std::size_t i = 0; i < shape.values.size(); ++i) {
        const Shape::Value& next = shape.values[i];
        const std::size_t length = next.literalEnd - literal;
        if (static_cast<std::size_t>(end - at) < length || !sameBytes(at, literals + literal, length))
            return nullptr;
        literal = next.literalEnd;
        const char* const value = at + length;
        at = findAny(value, end, next.delimiter, '<', '&');
        if (at == end || *at != next.delimiter)
            return nullptr;
        const std::string_view text(value, static_cast<std::size_t>(at - value));
        if (i < shape.attributes) {
            plainRead_[i] = {shape.names[i], text};
        } else {
            children.push_back({shape.names[i], text});
        }
    }
    const std::size_t length = shape.literals.size() - literal;
    if (static_cast<std::size_t>(end - at) < length || !sameBytes(at, literals + literal, length))
        return nullptr;
    return at + length;
}

const char* XmlStream::readPlainContent(const char* at, std::string_view element,
                                        std::vector<PlainChild>& children) const {
    children.clear();
    const char* const end = data_.data() + data_.size();
    // Anything else than white space, <name>text</name> and the end tag, or the window ending
    // first, is left to the node-by-node reading, which knows it all.
    while (true) {
        while (at < end && isSpace(*at))
            ++at;
        if (end - at < 2 || at[0] != '<' || at[1] == '!' || at[1] == '?')
            return nullptr;
        if (at[1] == '/')
            break;
        const char* const name = ++at;
        const char* local = name;
        for (; at < end && kByteKinds[static_cast<unsigned char>(*at)] != kEndsName; ++at)
            if (*at == ':' && local == name)
                local = at + 1;
        if (at == end || at == name || *at != '>' || children.size() == kMaxPlainChildren)
            return nullptr;
        const std::string_view childName(name, static_cast<std::size_t>(at - name));
        const char* const text = ++at;
        at = findAny(at, end, '<', '&', '<');
        if (!endTagAt(at, childName))
            return nullptr;
        children.push_back(
            {std::string_view(local, static_cast<std::size_t>(name + childName.size() - local)),
             std::string_view(text, static_cast<std::size_t>(at - text))});
        at += childName.size() + 3;
    }
    return endTagAt(at, element) ? at + element.size() + 3 : nullptr;
}

std::optional<std::string_view> XmlStream::readPlainText() {
    const char* const from = data_.data() + pos_;
    const char* const less = findAny(from, data_.data() + data_.size(), '<', '&', '<');
    const std::string_view element = topName();
    if (!endTagAt(less, element))
        return std::nullopt;
    // The end tag is the current node now, as advance() would have left it.
    nodeStart_ = static_cast<std::size_t>(less - data_.data());
    endElement(nodeStart_ + element.size() + 3);
    return std::string_view(from, static_cast<std::size_t>(less - from));
}

bool XmlStream::endTagAt(const char* at, std::string_view name) const {
    return static_cast<std::size_t>(data_.data() + data_.size() - at) >= name.size() + 3 && at[0] == '<' &&
           at[1] == '/' && sameName(std::string_view(at + 2, name.size()), name) &&
           at[name.size() + 2] == '>';
}
