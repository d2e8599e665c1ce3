#include "results/rtf_writer.h"
#include "tests/support/rtf_reader.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>

void PrintTo(const TextRun &run, std::ostream *os)
{
    *os << (run.bold ? "bold/" : "") << static_cast<int>(run.colour) << ' ' << testing::PrintToString(run.text);
}

namespace {

using Runs = std::vector<TextRun>;
constexpr RunColour V = RunColour::Value, L = RunColour::Label, H = RunColour::Heading;
const std::string kBad = "\xEF\xBF\xBD"; // U+FFFD
const std::string kManoj = "\xE0\xA4\xAE\xE0\xA4\xA8\xE0\xA5\x8B\xE0\xA4\x9C";
const std::string kHeartMoon = "\xF0\x9F\x92\x9E\xF0\x9F\x8C\x99";

struct RoundTrip {
    const char *name;
    Runs written, read;
};
void PrintTo(const RoundTrip &c, std::ostream *os) { *os << c.name; }

std::vector<RoundTrip> RoundTrips()
{
    const auto same = [](const char *name, Runs runs) { return RoundTrip{name, runs, runs}; };
    std::string longName; // 5,000 characters of every kind the writer treats differently
    for (int i = 0; i < 5000; ++i)
        longName += std::vector<std::string>{"M", "\xE0\xA4\xAE", "\xF0\x9F\x92\x9E", "{", "\\", "}", " ", "?"}[i % 8];
    const std::string bad3 = kBad + kBad + kBad;
    return {
        same("Braces", {{"}{ {a{b}c}} {", true, L}}),
        same("Backslashes", {{"C:\\dir\\ \\\\ \\", false, H}}),
        same("RtfTypedAsText", {{"\\par \\b0\\cf3 \\u176? \\'e9 {\\rtf1}", false, V}}),
        same("Devanagari", {{kManoj, false, V}}),
        same("Emoji", {{kHeartMoon, true, H}}),
        same("QuestionMarkAfterFallback", {{"\xC2\xB0? \xE2\x80\x99?x", false, V}}),
        same("TextThatCouldExtendControlWords", {{"1st", true, L}, {" -2", false, H}, {"\tx\t\t 9\t", false, V}}),
        same("LongName", {{longName, true, L}}),
        same("ControlCharacters", {{std::string("\0\x01\x1F\x7F", 4), false, V}}),
        same("AllFormats", {{"a", false, V}, {"b", true, V}, {"c", false, L}, {"d", true, L}, {"e", false, H}, {"f", true, H}}),
        {"LineBreaks", {{"a\r\nb\nc\rd\n\re\n\n", false, V}}, {{"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n", false, V}}},
        {"InvalidUtf8",
         {{"a\xFF" "b\xC0\x80" "c\xE0\x80\x80" "d\xED\xA0\x80" "e\xF4\x90\x80\x80" "f\xF0\x80\x80\x80" "g\xE2\x82" "h\xE2\x82",
           false, V}},
         {{"a" + kBad + "b" + kBad + kBad + "c" + bad3 + "d" + bad3 + "e" + bad3 + kBad + "f" + bad3 + kBad + "g" + kBad + kBad +
               "h" + kBad + kBad,
           false, V}}},
        {"EmptyRunsVanish", {{"", true, H}, {"x", true, L}, {"", false, V}, {"y", true, L}}, {{"xy", true, L}}},
    };
}

class RtfRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(RtfRoundTrip, ReadsBackWhatWasWritten)
{
    const std::string rtf = WriteRtf(GetParam().written);
    for (const char c : rtf)
        ASSERT_TRUE((c >= 0x20 && c <= 0x7E) || c == '\r' || c == '\n') << static_cast<int>(c);
    EXPECT_TRUE(RtfBracesBalanced(rtf));
    const RtfReadResult read = ReadRtf(rtf);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.runs, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Hostile, RtfRoundTrip, testing::ValuesIn(RoundTrips()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RtfWriter, EncodesCharactersExactly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"\xC2\xB0", "\\u176\\'b0"}, {"\xE0\xA4\xAE", "\\u2350?"}, {"\xE2\x80\x99", "\\u8217\\'92"}, {"\xEF\xBF\xBD", "\\u-3?"},
        {"S\xC3\xA3o", "S\\u227\\'e3o"}, {"\xC3\x86\xC3\xBF", "\\u198\\'c6\\u255\\'ff"}, {"\xC2\xA0", "\\u160\\'a0"},
        {"\xE2\x82\xAC\xC5\xB8", "\\u8364\\'80\\u376\\'9f"}, {"\xC2\x80\xC2\x9F", "\\u128?\\u159?"}, {"\xC5\x81", "\\u321?"},
        {"\xFF", "\\u-3?"}, {"\xEF\xBF\xBF", "\\u-1?"}, {"\xF0\x9F\x8C\x99", "\\u-10180?\\u-8423?"},
        {"\xF0\x90\x80\x80", "\\u-10240?\\u-9216?"}, {"\xF4\x8F\xBF\xBF", "\\u-9217?\\u-8193?"},
        {"\x7F~ ", "\\u127?~ "}, {"\t1", "\\tab 1"}, {"\\{}", "\\\\\\{\\}"}, {"a\r\n\n", "a\\par\r\n\\par\r\n"}};
    for (const auto &[text, rtf] : cases)
        EXPECT_NE(WriteRtf({{text}}).find("{\\cf1 " + rtf + "}"), std::string::npos) << rtf;
}

TEST(RtfWriter, WritesHeaderTablesAndRunFormats)
{
    EXPECT_EQ(WriteRtf({{"Name:", true, L}, {"Manoj", false, V}, {"Cancer", false, H}}),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Verdana;}}\r\n"
              "{\\colortbl;\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
              "\\pard\\plain\\f0\\fs20\r\n"
              "{\\b\\cf2 Name:}{\\cf1 Manoj}{\\cf3 Cancer}}\r\n");
}

TEST(RtfReader, ReadsOtherWritersSpellings)
{
    const std::pair<const char *, Runs> cases[] = {
        {"{\\rtf1\\uc2 \\u8217\\'92\\'92s}", {{"\xE2\x80\x99s"}}},
        {"{\\rtf1\\uc0\\u8217 s}", {{"\xE2\x80\x99s"}}},
        {"{\\rtf1{\\u176}?}", {{"\xC2\xB0?"}}}, // a brace cuts the fallback short
        {"{\\rtf1{\\*\\generator x;}{\\info{\\title t}}a\\line\\'e9\\'80\\\r\nb\\~}", {{"a\r\n\xC3\xA9\xE2\x82\xAC\r\nb"}}},
        {"{\\rtf1\\b\\cf3 a\\plain b\\b1\\cf2 c\\b0\\cf0 d}", {{"a", true, H}, {"b"}, {"c", true, L}, {"d"}}},
        {"{\\rtf1\\u-10180?x\\u-8423?}", {{kBad + "x" + kBad}}}, // surrogates without partners
    };
    for (const auto &[rtf, runs] : cases)
        EXPECT_EQ(ReadRtf(rtf).runs, runs) << rtf; // runs come only with ok
}

TEST(RtfReader, RejectsMalformedInput)
{
    const std::string cases[] = {"", "plain text", "{x}", "{\\rtf1 x", "{\\rtf1 x}}", "}{\\rtf1 x}", "{\\rtf1 x}y",
                                 "{\\rtf1 \\", "{\\rtf1 \\u65536?}", "{\\rtf1 \\u-32769?}", "{\\rtf1 \\u12345678901?}",
                                 "{\\rtf1 \\cf4 x}", "{\\rtf1 \\'4}", "{\\rtf1 \\'4g}", "{\\rtf1 \xC3\xA9}",
                                 "{\\rtf1 \\b- x}", "{\\rtf1 \\bin3 abc}", "{\\rtf1 \\" + std::string(33, 'a') + " x}"};
    for (const std::string &rtf : cases) {
        const RtfReadResult read = ReadRtf(rtf);
        EXPECT_FALSE(read.ok) << rtf;
        EXPECT_TRUE(read.runs.empty()) << rtf;
    }
}

TEST(RtfReader, CountsOnlyUnescapedBraces)
{
    const std::pair<const char *, bool> cases[] = {{"", true},       {"{}", true},  {"{\\{}", true},
                                                   {"{\\\\}", true},  {"\\}", true}, {"{\\}", false},
                                                   {"}{", false},    {"{{}", false}, {"{\\\\}}", false}};
    for (const auto &[rtf, balanced] : cases)
        EXPECT_EQ(RtfBracesBalanced(rtf), balanced) << rtf;
}

TEST(RtfReader, SurvivesCutAndDamagedDocuments)
{
    const std::string rtf = WriteRtf({{"Name:\t", true, L}, {"\xE0\xA4\xAE \xF0\x9F\x92\x9E {x}\\\r\n", false, V}});
    for (std::size_t n = 0; n < rtf.rfind('}'); ++n)
        EXPECT_FALSE(ReadRtf(rtf.substr(0, n)).ok) << n;
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string damaged = rtf;
        for (int k = 0; k < 3; ++k)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        if (ReadRtf(damaged).ok) {
            EXPECT_TRUE(RtfBracesBalanced(damaged)) << damaged;
        }
    }
}

// Runs a shell command with FILE standing for the RTF file.
std::string ReadWith(std::string command, const std::string &rtf)
{
    const std::string base = testing::TempDir() + "rtf_test_" + std::to_string(getpid());
    std::ofstream(base + ".rtf", std::ios::binary) << rtf;
    command.replace(command.find("FILE"), 4, "'" + base + ".rtf'");
    const int status = std::system(("(" + command + ") > '" + base + ".txt'").c_str());
    std::ifstream file(base + ".txt", std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), {}};
    std::filesystem::remove(base + ".rtf");
    std::filesystem::remove(base + ".txt");
    return status == 0 ? text : "<" + command + " failed>";
}

// Readers that skip \u and show the fallback instead (unrtf), or drop the
// character after a '?' fallback (pandoc 2.x), still read Latin text exactly;
// LibreOffice reads everything.
// pandoc also turns each half of a surrogate pair into U+FFFD, so an emoji
// may come back as two of them; a truncated code unit still fails.
TEST(RtfWriter, OtherReadersReadTheText)
{
    const std::string latin[] = {"S\xC3\xA3o Paulo", "Z\xC3\xBCrich", "\xC3\x86r\xC3\xB8sk\xC3\xB8" "bing",
                                 "na\xC3\xAFve caf\xC3\xA9"};
    const std::string quote = "\xE2\x80\x9C" "100 \xE2\x82\xAC\xE2\x80\x9D"; // Windows-1252's own letters
    Runs runs{{"Name:\t", true, L}, {"Manoj " + kManoj, false, V}, {"\r\nMoon {100%} C:\\ " + kHeartMoon, true, H}};
    for (const std::string &place : latin)
        runs.push_back({"\r\nCity :" + place + " x", false, V});
    runs.push_back({"\r\n" + quote + " x\r\n", false, V});
    const std::string rtf = WriteRtf(runs);
    // unrtf writes text in the document's code page.
    // LibreOffice reads \u itself, so every character comes back.
    const std::string office = "d=$(mktemp -d) && HOME=$d soffice --headless --convert-to 'txt:Text (encoded):UTF8' "
                               "--outdir $d FILE >/dev/null 2>&1 && cat $d/*.txt; s=$?; rm -rf $d; exit $s";
    for (const std::string &reader :
         {std::string("pandoc -f rtf -t plain --wrap=none FILE"),
          std::string("unrtf --text --nopict FILE 2>/dev/null | iconv -f WINDOWS-1252 -t UTF-8"), office}) {
        const std::string tool = reader == office ? "soffice" : reader.substr(0, reader.find(' '));
        if (std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) != 0) {
            std::cout << tool << " is not on PATH\n";
            continue;
        }
        const std::string text = ReadWith(reader, rtf);
        for (const std::string &place : latin)
            EXPECT_NE(text.find("City :" + place + " x\n"), std::string::npos) << reader << "\n" << text;
        if (tool == "unrtf")
            continue;
        EXPECT_NE(text.find(quote + " x\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Manoj " + kManoj + "\n"), std::string::npos) << text;
        if (tool == "soffice") {
            EXPECT_NE(text.find("Moon {100%} C:\\ " + kHeartMoon + "\n"), std::string::npos) << text;
            continue;
        }
        EXPECT_NE(text.find("Name: Manoj " + kManoj + "\n"), std::string::npos) << text;
        const std::string line = "Moon {100%} C:\\ ";
        const std::size_t start = text.find(line);
        ASSERT_NE(start, std::string::npos) << text;
        const std::string emoji = text.substr(start + line.size(), text.find('\n', start) - start - line.size());
        EXPECT_TRUE(emoji == kHeartMoon || emoji == kBad + kBad + kBad + kBad) << text;
    }
}

} // namespace
