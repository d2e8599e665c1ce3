#include "results/report_file.h"

// Saving on Windows: QSaveFile writes beside the target and replaces it only
// once everything is written, so the old file stays whole when anything
// fails.

#include <QFileInfo>
#include <QSaveFile>

namespace {

QString describe(const QFileDevice &file)
{
    QString text = file.errorString();
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

} // namespace

QString SaveReportFile(const QString &path, const std::vector<TextRun> &runs)
{
    const std::string rtf = WriteRtf(runs);
    if (path.isEmpty())
        return QStringLiteral("The folder does not exist.");
    // An existing target must be a regular file once links are followed; the
    // report then replaces the file the link leads to.
    QString target = path;
    QFileInfo info(path);
    if (info.isSymLink()) {
        target = info.symLinkTarget();
        info = QFileInfo(target);
        if (target.isEmpty() || !info.exists())
            return QStringLiteral("It is a link to nothing; nothing was replaced.");
    }
    if (info.exists() && !info.isFile())
        return QStringLiteral("It is not a regular file (a folder, device, pipe or socket); nothing was replaced.");

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return describe(file);
    if (file.write(rtf.data(), static_cast<qint64>(rtf.size())) != static_cast<qint64>(rtf.size())) {
        const QString error = describe(file);
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return describe(file);
    return {};
}
