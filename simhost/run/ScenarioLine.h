#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One line of a scenario as words: bare words run to the next blank, quoted strings ("...",
// where \" is a quote and \\ a backslash) may hold blanks, '#' outside quotes starts a comment.
// The readers take the next word and throw ScenarioError naming the line and what was expected.
class ScenarioLine {
public:
    static constexpr std::size_t kMaxLength = 4096;

    ScenarioLine(std::string_view text, int number);

    int number() const { return number_; }
    // The line as written, without its comment and the blanks around it.
    const std::string& source() const { return source_; }
    bool atEnd() const { return next_ == words_.size(); }
    // The next word is bare and equals `keyword` (without regard to case); it is then taken.
    bool accept(std::string_view keyword);
    bool nextIsQuoted() const;

    // A bare word...
    std::string word(const std::string& what);
    // ...and one in lower case, for keywords, which are taken without regard to case.
    std::string keyword(const std::string& what);
    // A quoted string or a bare word.
    std::string text(const std::string& what);
    std::string quoted(const std::string& what);
    double number(const std::string& what, double min, double max);
    int64_t integer(const std::string& what, int64_t min, int64_t max);
    bool onOff(const std::string& what);
    // Nothing may follow.
    void end();

    [[noreturn]] void fail(const std::string& what) const;

private:
    struct Word {
        std::string text;
        bool quoted = false;
    };
    const Word& take(const std::string& what);
    void split(std::string_view text);

    int number_;
    std::string source_;
    std::vector<Word> words_;
    std::size_t next_ = 0;
};

// Numbers in messages as a reader writes them: 10000000, not 1e+07.
std::string formatNumber(double value);
// "word" with its quotes, for messages.
std::string quote(std::string_view text);
