#pragma once

#include "results/rtf_writer.h"

#include <string>
#include <vector>

// What the report copies from the results window.
struct ReportPerson {
    std::string name, dateOfBirth, timeOfBirth, city, state, country, moonSign;
};

// A line of how the reading was made: "Universal Time used", "1 May 1990, 09:00".
struct ReportLine {
    std::string caption, value;
};

struct ReportFields {
    ReportPerson man;
    ReportPerson woman;
    std::string percentage;
    std::string verdict;
    std::string description;
    // How the reading was made, for each person, and what an uncertain time
    // of birth would change (none when nothing would).
    std::vector<ReportLine> manWorking, womanWorking;
    std::string otherPairsCaption;
    std::vector<std::string> otherPairs;
};

// The report as a sequence of runs, headings first, each value straight
// after its label, then how the reading was made in a block of its own.
// Line breaks are CR LF.
std::vector<TextRun> BuildReportRuns(const ReportFields &fields);
