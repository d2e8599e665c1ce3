#include "tests/support/rtf_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 1252 at 0x80..0x9F; the rest of the page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Character formatting is scoped to groups, so every group gets a copy.
struct GroupState {
    bool bold = false;
    RunColour colour = RunColour::Value;
    std::int64_t fallbackLength = 1; // \ucN
    bool skipped = false;            // inside a destination we don't show
};

class Reader {
public:
    explicit Reader(std::string_view rtf) : rtf_(rtf) {}

    bool Parse()
    {
        if (!rtf_.starts_with("{\\rtf"))
            return false;
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_];
            if (groups_.empty() && pos_ > 0) {
                // Only line ends may follow the document.
                if (c != '\r' && c != '\n')
                    return false;
                ++pos_;
                continue;
            }
            if (c == '{' || c == '}') {
                FlushHighSurrogate();
                fallbackLeft_ = 0; // a brace ends a \uN fallback early
                if (c == '{')
                    groups_.push_back(groups_.empty() ? GroupState{} : groups_.back());
                else
                    groups_.pop_back();
                ++pos_;
            } else if (c == '\\') {
                if (!ControlSequence())
                    return false;
            } else if (c == '\r' || c == '\n') {
                ++pos_; // line ends in the file carry no meaning
            } else if (c == '\t' || (c >= 0x20 && c <= 0x7E)) {
                ++pos_;
                if (!SkipFallback())
                    Emit(static_cast<char32_t>(c));
            } else {
                return false; // RTF text is 7-bit
            }
        }
        return groups_.empty();
    }

    std::vector<TextRun> TakeRuns() { return std::move(runs_); }

private:
    GroupState &Top() { return groups_.back(); }

    // True when the character just read is part of a \uN fallback.
    bool SkipFallback()
    {
        if (fallbackLeft_ == 0)
            return false;
        --fallbackLeft_;
        return true;
    }

    void Append(std::string_view utf8)
    {
        if (Top().skipped)
            return;
        if (runs_.empty() || runs_.back().bold != Top().bold || runs_.back().colour != Top().colour)
            runs_.push_back({std::string(), Top().bold, Top().colour});
        runs_.back().text += utf8;
    }

    void FlushHighSurrogate()
    {
        if (highSurrogate_ == 0)
            return;
        highSurrogate_ = 0;
        Emit(kReplacement);
    }

    // Takes a code point or a UTF-16 code unit and pairs up surrogates; a
    // surrogate without its partner becomes U+FFFD.
    void Emit(char32_t cp)
    {
        const bool high = cp >= 0xD800 && cp <= 0xDBFF;
        const bool low = cp >= 0xDC00 && cp <= 0xDFFF;
        if (low && highSurrogate_ != 0) {
            cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
            highSurrogate_ = 0;
        } else {
            FlushHighSurrogate();
            if (high) {
                if (!Top().skipped)
                    highSurrogate_ = cp;
                return;
            }
            if (low)
                cp = kReplacement;
        }
        std::string utf8;
        AppendUtf8(utf8, cp);
        Append(utf8);
    }

    void LineBreak()
    {
        FlushHighSurrogate();
        Append("\r\n");
    }

    bool ControlSequence()
    {
        ++pos_;
        if (pos_ >= rtf_.size())
            return false;
        const char first = rtf_[pos_];
        if (!IsLetter(first))
            return ControlSymbol(first);

        const std::size_t start = pos_;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_]))
            ++pos_;
        const std::string_view word = rtf_.substr(start, pos_ - start);
        if (word.size() > 32)
            return false;

        bool negative = false;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        const std::size_t digits = pos_;
        std::int64_t value = 0;
        while (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
            if (pos_ - digits == 10)
                return false;
            value = value * 10 + (rtf_[pos_] - '0');
            ++pos_;
        }
        const bool hasParameter = pos_ > digits;
        if (negative && !hasParameter)
            return false;
        if (negative)
            value = -value;
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_; // the delimiting space belongs to the control word
        return ControlWord(word, hasParameter, value);
    }

    bool ControlWord(std::string_view word, bool hasParameter, std::int64_t value)
    {
        if (word == "bin")
            return false; // raw binary data: not ours to read
        if (SkipFallback())
            return true;
        GroupState &state = Top();
        if (word == "u") {
            if (!hasParameter || value < -32768 || value > 65535)
                return false;
            Emit(static_cast<char32_t>(value < 0 ? value + 0x10000 : value));
            fallbackLeft_ = state.fallbackLength;
        } else if (word == "uc") {
            if (!hasParameter || value < 0)
                return false;
            state.fallbackLength = value;
        } else if (word == "b") {
            state.bold = !hasParameter || value != 0;
        } else if (word == "cf") {
            if (value == 0 || value == 1)
                state.colour = RunColour::Value;
            else if (value == 2)
                state.colour = RunColour::Label;
            else if (value == 3)
                state.colour = RunColour::Heading;
            else
                return false;
        } else if (word == "plain") {
            state.bold = false;
            state.colour = RunColour::Value;
        } else if (word == "par" || word == "line") {
            LineBreak();
        } else if (word == "tab") {
            Emit(U'\t');
        } else if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" ||
                   word == "info" || word == "pict") {
            state.skipped = true;
        }
        return true;
    }

    bool ControlSymbol(char symbol)
    {
        ++pos_;
        if (symbol == '\'') {
            const int high = pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
            const int low = pos_ + 1 < rtf_.size() ? HexValue(rtf_[pos_ + 1]) : -1;
            if (high < 0 || low < 0)
                return false;
            pos_ += 2;
            const int byte = high * 16 + low;
            if (!SkipFallback())
                Emit(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : static_cast<char32_t>(byte));
            return true;
        }
        const auto byte = static_cast<unsigned char>(symbol);
        if ((byte < 0x20 && symbol != '\r' && symbol != '\n') || byte > 0x7E)
            return false;
        if (SkipFallback())
            return true;
        if (symbol == '\\' || symbol == '{' || symbol == '}')
            Emit(static_cast<char32_t>(symbol));
        else if (symbol == '\r' || symbol == '\n')
            LineBreak(); // an escaped line end is an old spelling of \par
        else if (symbol == '*')
            Top().skipped = true;
        return true; // other symbols (\~, \-, \_ ...) are not used in reports
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::vector<GroupState> groups_;
    std::vector<TextRun> runs_;
    std::int64_t fallbackLeft_ = 0;
    char32_t highSurrogate_ = 0;
};

} // namespace

RtfReadResult ReadRtf(std::string_view rtf)
{
    Reader reader(rtf);
    RtfReadResult result;
    result.ok = reader.Parse();
    if (result.ok)
        result.runs = reader.TakeRuns();
    return result;
}

bool RtfBracesBalanced(std::string_view rtf)
{
    std::size_t depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i; // an escaped brace is text
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}') {
            if (depth == 0)
                return false;
            --depth;
        }
    }
    return depth == 0;
}
