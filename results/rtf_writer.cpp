#include "results/rtf_writer.h"

#include <cstddef>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the UTF-8 sequence at `at` and moves past it. Anything that is not
// a complete, shortest-form sequence of a scalar value (stray continuation
// byte, overlong form, surrogate, above U+10FFFF, cut short) costs exactly one
// byte and yields U+FFFD, so the rest of the text still comes through.
char32_t DecodeUtf8(std::string_view text, std::size_t &at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t cp = 0;
    unsigned char secondMin = 0x80, secondMax = 0xBF;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            secondMin = 0xA0; // overlong
        if (lead == 0xED)
            secondMax = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0)
            secondMin = 0x90; // overlong
        if (lead == 0xF4)
            secondMax = 0x8F; // above U+10FFFF
    } else {
        ++at;
        return kReplacement;
    }
    if (text.size() - at < length) {
        ++at;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = byte(at + i);
        const bool fits = i == 1 ? (c >= secondMin && c <= secondMax) : (c & 0xC0) == 0x80;
        if (!fits) {
            ++at;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    at += length;
    return cp;
}

// The Windows-1252 byte of a character, or 0 where that code page has none.
unsigned char Windows1252Byte(char32_t cp)
{
    if (cp >= 0xA0 && cp <= 0xFF)
        return static_cast<unsigned char>(cp);
    // 0x80 to 0x9F hold punctuation and a few letters instead of controls.
    static constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (unsigned i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}

// RTF wants the UTF-16 code unit as a signed 16-bit number, then the one
// fallback character that \uc1 tells Unicode readers to skip: the
// Windows-1252 byte where there is one, so that readers without \u support
// still show the letter, else '?'. The fallback also ends the number.
void AppendCodeUnit(std::string &out, char32_t unit)
{
    const int value = unit >= 0x8000 ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out += "\\u";
    out += std::to_string(value);
    const unsigned char byte = Windows1252Byte(unit);
    if (byte == 0) {
        out += '?';
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\'";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

void AppendText(std::string &out, std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\r' || c == '\n') {
            at += (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
            // The newline only keeps the file readable; it also ends \par.
            out += "\\par\r\n";
        } else if (c == '\t') {
            out += "\\tab ";
            ++at;
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
            ++at;
        } else if (c >= 0x20 && c <= 0x7E) {
            out += c;
            ++at;
        } else {
            const char32_t cp = DecodeUtf8(text, at);
            if (cp > 0xFFFF) {
                AppendCodeUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
                AppendCodeUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                AppendCodeUnit(out, cp);
            }
        }
    }
}

char ColourIndex(RunColour colour)
{
    switch (colour) {
    case RunColour::Label:
        return '2';
    case RunColour::Heading:
        return '3';
    default:
        return '1';
    }
}

void AppendColourTable(std::string &out)
{
    out += "{\\colortbl;";
    for (RunColour colour : {RunColour::Value, RunColour::Label, RunColour::Heading}) {
        const Rgb rgb = RgbOf(colour);
        out += "\\red" + std::to_string(rgb.red) + "\\green" + std::to_string(rgb.green) + "\\blue"
            + std::to_string(rgb.blue) + ';';
    }
    out += "}\r\n";
}

} // namespace

std::string WriteRtf(const std::vector<TextRun> &runs)
{
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
        "{\\fonttbl{\\f0\\fswiss\\fcharset0 Verdana;}}\r\n";
    AppendColourTable(out);
    out += "\\pard\\plain\\f0\\fs20\r\n";
    for (const TextRun &run : runs) {
        // Each run is its own group, so nothing leaks into the next one. The
        // space ends \cfN even when the text starts with a digit or a letter.
        out += run.bold ? "{\\b\\cf" : "{\\cf";
        out += ColourIndex(run.colour);
        out += ' ';
        AppendText(out, run.text);
        out += '}';
    }
    out += "}\r\n";
    return out;
}
