// Writes runs cut from the input, then reads the document back: the text must
// survive, with bad UTF-8 as U+FFFD and every line break as "\r\n".
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
    std::fprintf(stderr, "fuzz_rtf: %s\n", what);
    std::abort();
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

// Our own reading of UTF-8: a sequence counts when its length matches its lead
// byte, every follower is 10xxxxxx, and the value is a scalar value in the
// shortest form. Anything else is one byte turned into U+FFFD.
std::string Sanitised(std::string_view in)
{
    std::string out;
    std::size_t at = 0;
    while (at < in.size()) {
        const auto lead = static_cast<unsigned char>(in[at]);
        std::size_t length = 0;
        if (lead < 0x80)
            length = 1;
        else if ((lead & 0xE0) == 0xC0)
            length = 2;
        else if ((lead & 0xF0) == 0xE0)
            length = 3;
        else if ((lead & 0xF8) == 0xF0)
            length = 4;
        bool good = length != 0 && at + length <= in.size();
        char32_t cp = 0;
        if (good) {
            cp = length == 1 ? lead : lead & (0x7F >> length);
            for (std::size_t i = 1; i < length && good; ++i) {
                const auto c = static_cast<unsigned char>(in[at + i]);
                good = (c & 0xC0) == 0x80;
                cp = (cp << 6) | (c & 0x3F);
            }
        }
        if (good) {
            const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
            good = cp >= least[length] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        }
        if (good) {
            out.append(in.substr(at, length));
            at += length;
        } else {
            AppendUtf8(out, 0xFFFD);
            ++at;
        }
    }
    return out;
}

// What the reader should hand back: empty runs gone, neighbours in the same
// format joined.
std::vector<TextRun> Expected(const std::vector<TextRun> &written)
{
    std::vector<TextRun> out;
    for (const TextRun &run : written) {
        const std::string text = LineBreaksNormalised(Sanitised(run.text));
        if (text.empty())
            continue;
        if (!out.empty() && out.back().bold == run.bold && out.back().colour == run.colour)
            out.back().text += text;
        else
            out.push_back({text, run.bold, run.colour});
    }
    return out;
}

// First byte: run count (1..4). Then one format byte per run (bit 0 bold, the
// rest picks the colour), one cut byte per boundary, and the text.
std::vector<TextRun> RunsFrom(const std::uint8_t *data, std::size_t size)
{
    std::vector<TextRun> runs;
    if (size == 0)
        return runs;
    const std::size_t count = 1 + data[0] % 4;
    std::size_t at = 1;
    std::vector<std::uint8_t> formats, cuts;
    for (std::size_t i = 0; i < count; ++i)
        formats.push_back(at < size ? data[at++] : 0);
    for (std::size_t i = 1; i < count; ++i)
        cuts.push_back(at < size ? data[at++] : 0);
    std::string_view text(reinterpret_cast<const char *>(data) + at, size - at);
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t length = text.size();
        if (i + 1 < count)
            length = text.empty() ? 0 : cuts[i] % (text.size() + 1);
        const RunColour colour = static_cast<RunColour>((formats[i] >> 1) % 3);
        runs.push_back({std::string(text.substr(0, length)), (formats[i] & 1) != 0, colour});
        text.remove_prefix(length);
    }
    return runs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<TextRun> runs = RunsFrom(data, size);
    const std::string rtf = WriteRtf(runs);

    for (const char c : rtf) {
        if (!((c >= 0x20 && c <= 0x7E) || c == '\r' || c == '\n'))
            Fail("writer put out a byte that is not printable ASCII or a line end");
    }
    if (!RtfBracesBalanced(rtf))
        Fail("writer's braces do not pair up");

    const RtfReadResult read = ReadRtf(rtf);
    if (!read.ok)
        Fail("reader refused the writer's document");
    if (read.runs != Expected(runs))
        Fail("text or formats changed on the way through");
    return 0;
}
