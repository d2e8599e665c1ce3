#include "results/report_document.h"

namespace {

const std::string kBreak = "\r\n";
const std::string kEmptyLine = "\r\n\r\n";

void addPerson(std::vector<TextRun> &runs, const ReportPerson &p)
{
    const std::pair<const char *, const std::string *> rows[] = {
        {"Name :", &p.name},
        {"Date of Birth :", &p.dateOfBirth},
        {"Time of Birth :", &p.timeOfBirth},
        {"City :", &p.city},
        {"State :", &p.state},
        {"Country :", &p.country},
        {"Moon Sign :", &p.moonSign},
    };
    for (const auto &[label, value] : rows) {
        runs.push_back({label, false, RunColour::Label});
        runs.push_back({*value + kEmptyLine, false, RunColour::Value});
    }
}

} // namespace

std::vector<TextRun> BuildReportRuns(const ReportFields &f)
{
    std::vector<TextRun> runs;
    runs.reserve(37);
    runs.push_back({"Your Moon Sign Details" + kEmptyLine, true, RunColour::Heading});
    addPerson(runs, f.man);
    runs.push_back({"Your Partner's Moon Sign Details" + kEmptyLine, true, RunColour::Heading});
    addPerson(runs, f.woman);
    runs.push_back({"Moon Sign Compatibility Interpretation" + kEmptyLine, true, RunColour::Heading});
    runs.push_back({"Percentage of Compatibility :", false, RunColour::Label});
    runs.push_back({f.percentage + kEmptyLine, false, RunColour::Value});
    runs.push_back({"Compatibility of " + f.man.moonSign + " With " + f.woman.moonSign + ":", false, RunColour::Label});
    runs.push_back({f.verdict + kEmptyLine, false, RunColour::Value});
    runs.push_back({"Detailed Analysis", false, RunColour::Label});
    runs.push_back({f.description + kBreak, false, RunColour::Value});

    if (f.manWorking.empty() && f.womanWorking.empty())
        return runs;
    runs.push_back({kBreak + "How the reading was made" + kEmptyLine, true, RunColour::Heading});
    for (const auto &[whose, lines] : {std::pair{"For you", &f.manWorking}, std::pair{"For your partner", &f.womanWorking}}) {
        runs.push_back({std::string(whose) + kBreak, true, RunColour::Label});
        for (const ReportLine &line : *lines) {
            runs.push_back({line.caption + " :", false, RunColour::Label});
            runs.push_back({line.value + kBreak, false, RunColour::Value});
        }
        runs.back().text += kBreak;
    }
    if (!f.otherPairs.empty()) {
        runs.push_back({f.otherPairsCaption + " :" + kBreak, false, RunColour::Label});
        for (const std::string &pair : f.otherPairs)
            runs.push_back({pair + kBreak, false, RunColour::Value});
    }
    return runs;
}
