#include "run/ScenarioLine.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "run/ScenarioError.h"
#include "text/AsciiCase.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string formatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

std::string quote(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

ScenarioLine::ScenarioLine(std::string_view text, int number) : number_(number) {
    if (text.size() > kMaxLength)
        fail("longer than " + std::to_string(kMaxLength) + " characters");
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            fail("control character " + std::to_string(static_cast<int>(c)) + " in the line");
    split(text);
}

void ScenarioLine::split(std::string_view text) {
    std::size_t at = 0;
    std::size_t end = 0; // of the last word
    while (at < text.size()) {
        const char c = text[at];
        if (isBlank(c)) {
            ++at;
            continue;
        }
        if (c == '#')
            break;
        if (c == '"') {
            Word word{{}, true};
            for (++at;; ++at) {
                if (at == text.size())
                    fail("quoted string not closed");
                if (text[at] == '"')
                    break;
                if (text[at] == '\\' && at + 1 < text.size() && (text[at + 1] == '"' || text[at + 1] == '\\'))
                    ++at;
                word.text += text[at];
            }
            ++at;
            if (at < text.size() && !isBlank(text[at]) && text[at] != '#')
                fail("a blank must follow the quoted string " + quote(word.text));
            words_.push_back(std::move(word));
        } else {
            Word word;
            for (; at < text.size() && !isBlank(text[at]) && text[at] != '#'; ++at) {
                if (text[at] == '"')
                    fail("a quote inside the word " + quote(word.text + '"'));
                word.text += text[at];
            }
            words_.push_back(std::move(word));
        }
        end = at;
    }
    const std::size_t start = text.find_first_not_of(" \t");
    source_ = start < end ? std::string(text.substr(start, end - start)) : std::string();
}

void ScenarioLine::fail(const std::string& what) const {
    throw ScenarioError(number_, what);
}

const ScenarioLine::Word& ScenarioLine::take(const std::string& what) {
    if (atEnd())
        fail(what + " missing");
    return words_[next_++];
}

bool ScenarioLine::accept(std::string_view keyword) {
    if (atEnd() || words_[next_].quoted || lowerAscii(words_[next_].text) != lowerAscii(keyword))
        return false;
    ++next_;
    return true;
}

bool ScenarioLine::nextIsQuoted() const {
    return !atEnd() && words_[next_].quoted;
}

std::string ScenarioLine::word(const std::string& what) {
    const Word& word = take(what);
    if (word.quoted)
        fail(what + " expected, not the quoted string " + quote(word.text));
    return word.text;
}

std::string ScenarioLine::keyword(const std::string& what) {
    return lowerAscii(word(what));
}

std::string ScenarioLine::text(const std::string& what) {
    return take(what).text;
}

std::string ScenarioLine::quoted(const std::string& what) {
    const Word& word = take(what);
    if (!word.quoted)
        fail(what + " must be quoted: " + quote(word.text));
    return word.text;
}

double ScenarioLine::number(const std::string& what, double min, double max) {
    const std::string text = word(what);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        fail(what + " must be a number, not " + quote(text));
    if (value < min || value > max)
        fail(what + " " + text + " out of range " + formatNumber(min) + " to " + formatNumber(max));
    return value;
}

int64_t ScenarioLine::integer(const std::string& what, int64_t min, int64_t max) {
    const std::string text = word(what);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        fail(what + " " + text + " out of range " + std::to_string(min) + " to " + std::to_string(max));
    if (error != std::errc() || end != text.data() + text.size())
        fail(what + " must be a whole number, not " + quote(text));
    if (value < min || value > max)
        fail(what + " " + text + " out of range " + std::to_string(min) + " to " + std::to_string(max));
    return value;
}

bool ScenarioLine::onOff(const std::string& what) {
    if (accept("on"))
        return true;
    if (accept("off"))
        return false;
    fail(what + " must be on or off" + (atEnd() ? "" : ", not " + quote(words_[next_].text)));
}

void ScenarioLine::end() {
    if (!atEnd())
        fail("unexpected " + quote(words_[next_].text) + " at the end");
}
