#pragma once

#include "results/report_document.h"
#include "results/report_file.h"
#include "results/report_links.h"

#include <QDialog>
#include <QPrinter>

#include <functional>

class QPushButton;
class QTextBrowser;
class ClipboardGuard;
class LinkLabel;
class frmMoonSign;

// The report window: the reading as a rich-text document that can be saved
// as Rich Text Format and printed.
class frmSave : public QDialog {
    Q_OBJECT

public:
    explicit frmSave(frmMoonSign &results);
    ~frmSave() override;

    // Asks for the file to save to; an empty result means the user cancelled.
    using SaveFileChooser = std::function<QString(QWidget *parent)>;
    // Sets the printer up and asks for all or selection; false when cancelled.
    using PrintDialogHandler = std::function<bool(QPrinter &printer, bool hasSelection, QWidget *parent)>;
    static void setSaveFileChooser(SaveFileChooser chooser);
    static void setPrintDialogHandler(PrintDialogHandler handler);

    const std::vector<TextRun> &runs() const { return m_runs; }
    const ReportLinks &links() const { return m_links; }

    QTextBrowser *RTB = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdPrint = nullptr;
    LinkLabel *Label1 = nullptr;
    LinkLabel *Label14 = nullptr;
    LinkLabel *Label7 = nullptr;

public Q_SLOTS:
    void cmdSave_Click();
    void cmdPrint_Click();

protected:
    void done(int result) override;

private:
    void Form_Load(const ReportFields &fields);
    void Form_Unload();

    std::vector<TextRun> m_runs;
    ReportLinks m_links;
    ClipboardGuard *m_clipboardGuard;
    bool m_unloaded = false;
};

// Reads what the report needs from the results window.
ReportFields ReportFieldsFrom(const frmMoonSign &results);
