#pragma once

#include "results/rtf_writer.h"

#include <QString>

#include <vector>

// Writes the runs as an RTF file atomically: the report goes to a new file
// beside the target, which then takes the target's place, so the old file
// stays whole when anything fails. A target that exists but is not a regular
// file (after following links) is refused and left alone. Returns an error
// text that says what went wrong, empty on success.
QString SaveReportFile(const QString &path, const std::vector<TextRun> &runs);
