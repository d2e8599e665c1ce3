#pragma once

#include <QString>

// The report's title, naming the couple, man first:
// "Moon compatibility - Ravi and Meera". An empty name is left out.
QString ReportTitle(const QString &man, const QString &partner);

// The title as a file name that Windows, macOS and Linux all accept, with
// ".rtf": characters they refuse and control characters become "_", a name
// ends in neither dot nor blank, and each name is cut, never inside a
// character, to keep the whole well under the usual 255-byte limit.
QString SuggestedReportFileName(const QString &man, const QString &partner);
