// Reads whatever comes in as RTF. It must never crash; a document it accepts
// has paired braces, and what it read survives another write and read.
#include "results/rtf_writer.h"
#include "tests/fuzz/line_breaks.h"
#include "tests/support/rtf_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Fail(const char *what)
{
    std::fprintf(stderr, "fuzz_rtf_reader: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view rtf(reinterpret_cast<const char *>(data), size);
    const RtfReadResult read = ReadRtf(rtf);
    if (!read.ok) {
        if (!read.runs.empty())
            Fail("runs handed back with a refusal");
        return 0;
    }
    if (!RtfBracesBalanced(rtf))
        Fail("accepted a document whose braces do not pair up");

    std::vector<TextRun> expected = read.runs;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].text.empty())
            Fail("reader handed back an empty run");
        if (i > 0 && expected[i].bold == expected[i - 1].bold && expected[i].colour == expected[i - 1].colour)
            Fail("reader left two neighbouring runs in the same format");
        // A lone "\r" or "\n" read from \'0d or \u10? comes back as "\r\n".
        expected[i].text = LineBreaksNormalised(expected[i].text);
    }
    const RtfReadResult again = ReadRtf(WriteRtf(read.runs));
    if (!again.ok)
        Fail("reader refused the writer's copy of what it read");
    if (again.runs != expected)
        Fail("a second write and read changed the text");
    return 0;
}
