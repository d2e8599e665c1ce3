#pragma once

#include "entry/reading.h"
#include "results/report_document.h"
#include "results/report_file.h"
#include "results/report_links.h"

#include <QDialog>
#include <QPrinter>

#include <functional>
#include <memory>

class QPrintDialog;
class QPrintPreviewDialog;
class QPushButton;
class QTextBrowser;
class ClipboardGuard;
struct AppContext;
class LinkLabel;

// The report window: the reading as a rich-text document that can be saved
// as Rich Text Format and printed.
class frmSave : public QDialog {
    Q_OBJECT

public:
    // The context, when given, holds the folder the last report went to.
    explicit frmSave(const Reading &reading, QWidget *parent = nullptr, AppContext *context = nullptr);
    ~frmSave() override;

    // Where to save, and whether as a PDF document rather than Rich Text
    // Format; an empty path means the user cancelled.
    struct SaveTarget {
        SaveTarget(QString path = {}, bool pdf = false)
            : path(std::move(path))
            , pdf(pdf)
        {
        }
        QString path;
        bool pdf;
    };
    // Asks for the file to save to.
    using SaveFileChooser = std::function<SaveTarget(QWidget *parent)>;
    // Sets the printer up and asks for all or selection; false when cancelled.
    using PrintDialogHandler = std::function<bool(QPrinter &printer, bool hasSelection, QWidget *parent)>;
    // Shows the print preview, ready to paint; tests look at it unshown.
    using PrintPreviewShower = std::function<void(QPrintPreviewDialog &preview)>;
    static void setSaveFileChooser(SaveFileChooser chooser);
    static void setPrintDialogHandler(PrintDialogHandler handler);
    static void setPrintPreviewShower(PrintPreviewShower shower);

    // The print dialog: all pages or, when there is one, the selection; no
    // range of pages.
    static std::unique_ptr<QPrintDialog> makePrintDialog(QPrinter &printer, bool hasSelection, QWidget *parent);

    // The report's title, naming the couple; printed documents carry it.
    QString title() const { return m_title; }
    // Where the save dialog starts: the folder the last report went to, else
    // the user's documents folder, and a file name made from the two names.
    QString suggestedSavePath() const;

    const std::vector<TextRun> &runs() const { return m_runs; }

    // The report as a PDF document, laid out as it prints, titled with the
    // couple's names.
    QByteArray pdf() const;
    const ReportLinks &links() const { return m_links; }

    QTextBrowser *RTB = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdPreview = nullptr;
    LinkLabel *Label1 = nullptr;
    LinkLabel *Label14 = nullptr;
    LinkLabel *Label7 = nullptr;

public Q_SLOTS:
    void cmdSave_Click();
    void cmdPrint_Click();
    void cmdPreview_Click();

protected:
    void done(int result) override;

private:
    void Form_Load(const ReportFields &fields);
    void Form_Unload();

    std::vector<TextRun> m_runs;
    QString m_title;
    QString m_fileName;
    ReportLinks m_links;
    ClipboardGuard *m_clipboardGuard;
    AppContext *m_context;
    bool m_unloaded = false;
};

// What the report writes of a reading: the texts the results window shows.
ReportFields ReportFieldsFrom(const Reading &reading);
