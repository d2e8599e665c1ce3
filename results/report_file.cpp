#include "results/report_file.h"

#include "app/platform_files.h"

QString SaveReportFile(const QString &path, const std::vector<TextRun> &runs)
{
    const std::string rtf = WriteRtf(runs);
    // A link to a report is followed: the file it leads to is replaced.
    return SaveFileSafely(path, QByteArray::fromStdString(rtf), {true, false, ".report"});
}
