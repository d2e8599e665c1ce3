#include "results/frm_save.h"

#include "app/app_context.h"
#include "app/message_box.h"
#include "app/platform_files.h"
#include "app/ui_font.h"
#include "app/window_fit.h"
#include "entry/people_store.h"
#include "links/link_label.h"
#include "links/web_pages.h"
#include "results/clipboard_guard.h"
#include "results/pdf_text.h"
#include "results/report_file_name.h"

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

frmSave::SaveFileChooser &saveFileChooser()
{
    static frmSave::SaveFileChooser chooser;
    return chooser;
}

frmSave::PrintDialogHandler &printDialogHandler()
{
    static frmSave::PrintDialogHandler handler;
    return handler;
}

frmSave::PrintPreviewShower &printPreviewShower()
{
    static frmSave::PrintPreviewShower shower;
    return shower;
}

QString saveFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

frmSave::SaveTarget askForFile(QWidget *parent, const QString &suggested)
{
    const QString rtf = QStringLiteral("Rich Text Format (*.rtf)");
    const QString pdf = QStringLiteral("PDF document (*.pdf)");
    QFileDialog dialog(parent, MessageBox::Title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({rtf, pdf});
    // The file holds what the chosen filter names, so that is the extension
    // it gets.
    dialog.setDefaultSuffix(QStringLiteral("rtf"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, pdf](const QString &filter) {
        dialog.setDefaultSuffix(filter == pdf ? QStringLiteral("pdf") : QStringLiteral("rtf"));
    });
    dialog.setDirectory(QFileInfo(suggested).absolutePath());
    dialog.selectFile(QFileInfo(suggested).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), dialog.selectedNameFilter() == pdf};
}

// The report prints whole or its selection, never a range of pages. Qt's own
// print dialog (on Linux) leaves its page choices on whatever it is told, so
// they are taken out once it is shown.
class ReportPrintDialog : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;

protected:
    void showEvent(QShowEvent *event) override
    {
        QPrintDialog::showEvent(event);
        for (const char *name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit", "printCurrentPage"}) {
            if (QWidget *choice = findChild<QWidget *>(QLatin1String(name)))
                choice->hide();
        }
    }
};

bool askForPrinter(QPrinter &printer, bool hasSelection, QWidget *parent)
{
    const std::unique_ptr<QPrintDialog> dialog = frmSave::makePrintDialog(printer, hasSelection, parent);
    return dialog->exec() == QDialog::Accepted;
}

// The report is shown as it prints: dark text on white paper, whatever the
// theme. The saved file keeps the report's own colours; on screen a colour
// is only deepened where it would be hard to read on the paper.
const QColor kPaper(255, 255, 255);
const QColor kInk(0, 0, 0);

QColor colourOf(RunColour colour)
{
    const Rgb rgb = RgbOf(colour);
    return ReadableOn(QColor(rgb.red, rgb.green, rgb.blue), kPaper);
}

std::string utf8(const QString &s)
{
    return s.toStdString();
}

} // namespace

std::unique_ptr<QPrintDialog> frmSave::makePrintDialog(QPrinter &printer, bool hasSelection, QWidget *parent)
{
    auto dialog = std::make_unique<ReportPrintDialog>(&printer, parent);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, hasSelection);
    dialog->setPrintRange(hasSelection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
    return dialog;
}

void frmSave::setSaveFileChooser(SaveFileChooser chooser)
{
    saveFileChooser() = std::move(chooser);
}

void frmSave::setPrintDialogHandler(PrintDialogHandler handler)
{
    printDialogHandler() = std::move(handler);
}

void frmSave::setPrintPreviewShower(PrintPreviewShower shower)
{
    printPreviewShower() = std::move(shower);
}

QString frmSave::suggestedSavePath() const
{
    const QString last = m_context ? m_context->reportFolder : QString();
    return QDir(!last.isEmpty() && QFileInfo(last).isDir() ? last : saveFolder()).filePath(m_fileName);
}

ReportFields ReportFieldsFrom(const Reading &reading)
{
    const auto person = [](const PersonReading &p) {
        const PersonTexts t = ShownTexts(p);
        return ReportPerson{utf8(t.name), utf8(t.dateOfBirth), utf8(t.timeOfBirth), utf8(t.city),
                            utf8(t.state), utf8(t.country), utf8(t.moonSign)};
    };
    ReportFields f;
    f.man = person(reading.man);
    f.woman = person(reading.woman);
    f.percentage = reading.compatibility.CompatPercent;
    f.verdict = reading.compatibility.CompatVerdict;
    f.description = reading.compatibility.CompatText;
    for (const auto &[person, lines] : {std::pair{&reading.man, &f.manWorking}, std::pair{&reading.woman, &f.womanWorking}}) {
        for (const WorkingLine &line : WorkingLines(*person))
            lines->push_back({utf8(line.caption), utf8(line.value)});
    }
    const OtherPairs pairs = OtherPairsOf(reading);
    f.otherPairsCaption = utf8(pairs.caption);
    for (const QString &line : pairs.lines)
        f.otherPairs.push_back(utf8(line));
    return f;
}

frmSave::frmSave(const Reading &reading, QWidget *parent, AppContext *context)
    : QDialog(parent)
    , m_clipboardGuard(new ClipboardGuard(this))
    , m_context(context)
{
    setObjectName(QStringLiteral("frmSave"));
    setWindowTitle(QString::fromLatin1(ApplicationCaption));
    setModal(true);
    setFont(VerdanaFont());

    RTB = new CopyProofBrowser(this);
    RTB->setObjectName(QStringLiteral("RTB"));
    RTB->setAccessibleName(QStringLiteral("Report"));
    // Without ligatures, so that a PDF of the report gives its text back
    // letter for letter ("ffi" as three letters); scripts that need shaping
    // keep it.
    QFont reportFont = VerdanaFont(9.75);
    reportFont.setStyleStrategy(QFont::PreferNoShaping);
    RTB->document()->setDefaultFont(reportFont);
    SetFieldColours(RTB, kInk, kPaper);
    // Wide and tall enough to read the report, where the screen has room
    // for that beside the buttons and links.
    RTB->setMinimumSize(QSize(560, 420).boundedTo(RoomOnScreen(this).size() - QSize(40, 200)));

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdPrint = new QPushButton(QStringLiteral("&Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPreview = new QPushButton(QStringLiteral("Print Pre&view"), this);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));

    Label1 = new LinkLabel(QStringLiteral("Visit our web site for more readings and software."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label14 = new LinkLabel(QStringLiteral("Discuss your reading in our forum."), this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label7 = new LinkLabel(QStringLiteral("Get this software fully branded for your website. Click here for details."),
                           this);
    Label7->setObjectName(QStringLiteral("Label7"));
    connect(Label1, &LinkLabel::activated, this, OpenHomePage);
    connect(Label14, &LinkLabel::activated, this, OpenHomePage);
    connect(Label7, &LinkLabel::activated, this, OpenFullBrandPage);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdPreview);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RTB, 1);
    layout->addLayout(buttons);
    layout->addWidget(Label1);
    layout->addWidget(Label14);
    layout->addWidget(Label7);

    connect(cmdSave, &QPushButton::clicked, this, &frmSave::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmSave::cmdPrint_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmSave::cmdPreview_Click);
    // The buttons keep their own access keys beside the usual shortcuts;
    // Escape closes the window, as in any dialog.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this), &QShortcut::activated, this, &frmSave::cmdSave_Click);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this), &QShortcut::activated, this, &frmSave::cmdPrint_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [] { OpenHelpPage(); });
    m_clipboardGuard->watch(RTB);

    Form_Load(ReportFieldsFrom(reading));
    FitWindowToLayout(this);
    KeepOnScreen(this);
}

frmSave::~frmSave()
{
    Form_Unload();
}

void frmSave::Form_Load(const ReportFields &fields)
{
    m_links.EnableLinkClicks(RTB);
    m_runs = BuildReportRuns(fields);
    const QString man = QString::fromStdString(fields.man.name);
    const QString partner = QString::fromStdString(fields.woman.name);
    m_title = ReportTitle(man, partner);
    m_fileName = SuggestedReportFileName(man, partner);
    RTB->document()->setMetaInformation(QTextDocument::DocumentTitle, m_title);

    QTextCursor cursor(RTB->document());
    cursor.movePosition(QTextCursor::End);
    // One edit, links included: the document is laid out once.
    cursor.beginEditBlock();
    for (const TextRun &run : m_runs) {
        QTextCharFormat format;
        format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
        format.setForeground(colourOf(run.colour));
        // CR LF ends a line; the document keeps one paragraph per line.
        const QStringList lines = QString::fromStdString(run.text).split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            if (!lines[i].isEmpty())
                cursor.insertText(lines[i], format);
        }
    }
    ReportLinks::MarkWebAddresses(RTB->document());
    cursor.endEditBlock();
    RTB->moveCursor(QTextCursor::Start);
}

void frmSave::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_links.DisableLinkClicks();
}

void frmSave::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frmSave::cmdSave_Click()
{
    const SaveTarget target = saveFileChooser() ? saveFileChooser()(this) : askForFile(this, suggestedSavePath());
    const QString &path = target.path;
    if (path.isEmpty())
        return; // cancelled: nothing written, nothing said
    const QString error = target.pdf ? SaveFileSafely(path, pdf(), {true, false, ".report"}) : SaveReportFile(path, m_runs);
    if (!error.isEmpty()) {
        MessageBox::show(this, QStringLiteral("The report could not be saved to \"%1\".\n\n%2").arg(path, error),
                         QMessageBox::Critical);
        return;
    }
    // The next save starts where this one went, in this run and the next.
    if (m_context) {
        m_context->reportFolder = QFileInfo(path).absolutePath();
        if (m_context->people)
            m_context->people->setReportFolder(m_context->reportFolder);
    }
}

QByteArray frmSave::pdf() const
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QPdfWriter writer(&out);
    // The printer's page and resolution, so that the document breaks into
    // the same pages as a printout.
    const QPrinter printer(QPrinter::HighResolution);
    writer.setPageLayout(printer.pageLayout());
    writer.setResolution(printer.resolution());
    writer.setTitle(m_title);
    writer.setCreator(MessageBox::Title);
    RTB->document()->print(&writer);
    return WithTextForEveryGlyph(out.data(), *RTB->document());
}

void frmSave::cmdPrint_Click()
{
    const QTextCursor selection = RTB->textCursor();
    const bool hasSelection = selection.hasSelection();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_title);
    const bool accepted = printDialogHandler() ? printDialogHandler()(printer, hasSelection, this)
                                               : askForPrinter(printer, hasSelection, this);
    if (!accepted)
        return;
    // Qt prints nothing for a selection print without a selection: the
    // whole report is printed then.
    if (printer.printRange() == QPrinter::Selection && hasSelection) {
        QTextDocument part;
        part.setDefaultFont(RTB->document()->defaultFont());
        part.setMetaInformation(QTextDocument::DocumentTitle, m_title);
        QTextCursor(&part).insertFragment(selection.selection());
        printer.setPrintRange(QPrinter::AllPages);
        part.print(&printer);
        return;
    }
    printer.setPrintRange(QPrinter::AllPages);
    RTB->document()->print(&printer);
}

void frmSave::cmdPreview_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_title);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(m_title);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *target) { RTB->document()->print(target); });
    if (printPreviewShower())
        printPreviewShower()(preview);
    else
        preview.exec();
}
