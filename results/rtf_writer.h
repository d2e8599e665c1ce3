#pragma once

#include <string>
#include <string_view>
#include <vector>

// Colours of the report. The document's colour table starts with the usual
// empty "auto" entry, so a colour is written as \cf(value + 1): \cf1 for
// values, \cf2 for labels, \cf3 for headings, with the RGB of RgbOf().
enum class RunColour { Value = 0, Label = 1, Heading = 2 };

struct Rgb {
    int red, green, blue;
};

// The one definition of the report's colours, for the file and the window.
constexpr Rgb RgbOf(RunColour colour)
{
    switch (colour) {
    case RunColour::Label:
        return {128, 0, 0};
    case RunColour::Heading:
        return {255, 0, 0};
    case RunColour::Value:
        break;
    }
    return {0, 0, 0};
}

struct TextRun {
    std::string text; // UTF-8; "\r\n", a lone "\n" or a lone "\r" is one line break
    bool bold = false;
    RunColour colour = RunColour::Value;

    bool operator==(const TextRun &) const = default;
};

// A complete RTF document in Verdana 10 pt (\fs20) holding the runs in order.
// The file is plain ASCII: everything else is written as \uN with \uc1 and a
// fallback of the Windows-1252 byte (\'xx) or '?', and invalid UTF-8 bytes
// become U+FFFD.
std::string WriteRtf(const std::vector<TextRun> &runs);
