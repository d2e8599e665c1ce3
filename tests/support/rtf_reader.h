#pragma once

#include "results/rtf_writer.h"

#include <string_view>
#include <vector>

struct RtfReadResult {
    bool ok = false;
    std::vector<TextRun> runs; // adjacent runs with the same bold and colour are merged
};

// Reads back the subset of RTF that WriteRtf produces: \b, \cfN (\cf1..\cf3 as
// in WriteRtf's colour table), \plain, \par, \line, \tab, \uN with \ucN,
// \'hh (code page 1252), escaped \ \{ \}, groups; font, colour and other
// destination groups are skipped, other control words ignored. Line breaks
// come back as "\r\n". Anything it cannot make sense of gives ok == false and
// no runs; no input makes it crash.
RtfReadResult ReadRtf(std::string_view rtf);

// True when the unescaped braces pair up.
bool RtfBracesBalanced(std::string_view rtf);
