#pragma once

#include "results/rtf_writer.h"

#include <string>
#include <vector>

// What the report copies from the results window.
struct ReportPerson {
    std::string name, dateOfBirth, timeOfBirth, city, state, country, moonSign;
};

struct ReportFields {
    ReportPerson man;
    ReportPerson woman;
    std::string percentage;
    std::string verdict;
    std::string description;
};

// The report as a sequence of runs, headings first, each value straight
// after its label. Line breaks are CR LF.
std::vector<TextRun> BuildReportRuns(const ReportFields &fields);
