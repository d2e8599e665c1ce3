#pragma once

#include <string>
#include <string_view>
#include <vector>

// Colours of the report. The document's colour table starts with the usual
// empty "auto" entry, so a colour is written as \cf(value + 1):
// \cf1 black, \cf2 RGB 128,0,0, \cf3 RGB 255,0,0.
enum class RunColour { Value = 0, Label = 1, Heading = 2 };

struct TextRun {
    std::string text; // UTF-8; "\r\n", a lone "\n" or a lone "\r" is one line break
    bool bold = false;
    RunColour colour = RunColour::Value;

    bool operator==(const TextRun &) const = default;
};

// A complete RTF document in Verdana 10 pt (\fs20) holding the runs in order.
// The file is plain ASCII: everything else is written as \uN? with \uc1, and
// invalid UTF-8 bytes become U+FFFD.
std::string WriteRtf(const std::vector<TextRun> &runs);
