#include "tracks/AcmiLines.h"

#include "tracks/TrackError.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Whether the line ends in a backslash that is not itself escaped: an odd number of them.
bool goesOn(const std::string& text) {
    std::size_t backslashes = 0;
    for (auto c = text.rbegin(); c != text.rend() && *c == '\\'; ++c)
        ++backslashes;
    return backslashes % 2 == 1;
}

} // namespace

AcmiLines::AcmiLines(std::istream& in, std::string file)
    : in_(in), file_(std::move(file)), buffer_(kLongestLine + 2) {
    origin_ = in_.tellg();
    if (origin_ < 0)
        throw TrackError(file_, 0, "the file cannot be gone back in, as reading each track needs");
    position_ = origin_;
}

bool AcmiLines::readPart() {
    in_.getline(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    const std::streamsize count = in_.gcount();
    if (count == 0)
        return false; // a line, even an empty one, reads its line end
    ++linesRead_;
    if (in_.fail() && !in_.eof())
        throw TrackError(file_, linesRead_,
                         "the line is longer than " + std::to_string(kLongestLine) + " characters");
    position_ += count;
    auto length = static_cast<std::size_t>(in_.eof() ? count : count - 1); // without the line end
    if (length > 0 && buffer_[length - 1] == '\r')
        --length;
    if (text_.size() + length > kLongestLine)
        throw TrackError(file_, linesRead_,
                         "the line is longer than " + std::to_string(kLongestLine) + " characters");
    text_.append(buffer_.data(), length);
    return true;
}

bool AcmiLines::next() {
    text_.clear();
    start_ = position_;
    number_ = linesRead_ + 1;
    if (!readPart())
        return false;
    if (start_ == origin_ && text_.starts_with(kByteOrderMark))
        text_.erase(0, kByteOrderMark.size());
    while (goesOn(text_)) {
        text_ += '\n';
        if (!readPart())
            break;
    }
    return true;
}

void AcmiLines::seek(std::streamoff start, uint64_t number) {
    in_.clear();
    in_.seekg(start);
    if (in_.fail())
        throw TrackError(file_, number, "the file cannot be gone back in, as reading each track needs");
    position_ = start;
    linesRead_ = number - 1;
}

void splitAcmiFields(std::string_view line, std::vector<std::string>& fields) {
    std::size_t used = 1;
    if (fields.empty())
        fields.emplace_back();
    fields[0].clear();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ',') {
            if (used == fields.size())
                fields.emplace_back();
            fields[used++].clear();
        } else {
            if (line[i] == '\\' && i + 1 < line.size())
                ++i;
            fields[used - 1] += line[i];
        }
    }
    fields.resize(used);
}
