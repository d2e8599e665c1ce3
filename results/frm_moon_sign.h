#pragma once

#include "entry/reading.h"
#include "links/help_menus.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStackedWidget>

struct AppContext;
class ClipboardGuard;
class LinkLabel;

// The outcome of one reading: both persons' details and Moon signs, and the
// compatibility of the pair. Each reading creates a new window; Back and
// closing unload it. Going back and ending the run are asked for by signal.
class frmMoonSign : public QMainWindow, public HelpMenus {
    Q_OBJECT

public:
    // The context keeps what the report window remembers (none keeps nothing).
    explicit frmMoonSign(const Reading &reading, AppContext *context = nullptr, QWidget *parent = nullptr);

    // The reading shown, as the report writes it.
    const Reading &reading() const { return m_reading; }

    QStackedWidget *panels = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *fraUserM = nullptr;
    QGroupBox *fraUserF = nullptr;

    QLineEdit *txtUserM = nullptr, *txtDOBM = nullptr, *txtTOBM = nullptr, *txtCityM = nullptr;
    QLineEdit *txtStateM = nullptr, *txtCountryM = nullptr, *txtMoonM = nullptr;
    QLineEdit *txtUserF = nullptr, *txtDOBF = nullptr, *txtTOBF = nullptr, *txtCityF = nullptr;
    QLineEdit *txtStateF = nullptr, *txtCountryF = nullptr, *txtMoonF = nullptr;
    QLabel *picMaleMoonSign = nullptr;
    QLabel *picFemaleMoonSign = nullptr;

    QLabel *Label2 = nullptr;
    QLabel *lblPercentage = nullptr;
    QLabel *lblComment = nullptr;
    QLabel *lblDescription = nullptr;
    LinkLabel *Label5 = nullptr;
    LinkLabel *Label61 = nullptr;

    QPushButton *cmdBirthDetails = nullptr;
    QPushButton *cmdMoonCompatibilityAnalysis = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdBack = nullptr;

    QAction *mnuPrint = nullptr, *mnuBack = nullptr, *mnuExit = nullptr;

    // After each person's details, how the reading was made; the last says
    // which sign each time of the birth day gives.
    QLabel *lblMoonNoteM = nullptr;
    QLabel *lblMoonNoteF = nullptr;
    // The other pairs an uncertain time of birth could give.
    QLabel *lblOtherPairsCaption = nullptr;
    QLabel *lblOtherPairs = nullptr;

    // The fourteen read-only fields, man's first.
    QList<QLineEdit *> resultFields() const;

public Q_SLOTS:
    void cmdBirthDetails_Click();
    void cmdMoonCompatibilityAnalysis_Click();
    void cmdPrint_Click();
    void cmdBack_Click();

Q_SIGNALS:
    // Back: the birth details are to be shown again, and this window goes.
    void backRequested();
    // The window was closed, or File > Exit chosen: the run ends.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QGroupBox *buildPerson(bool male);
    void buildAnalysis();
    void buildMenus();
    void Form_Load();
    void showSignPictures();
    void showWorking();

    const Reading m_reading;
    AppContext *m_context;
    ClipboardGuard *m_clipboardGuard;
    QList<std::pair<QLabel *, QLabel *>> m_workingM, m_workingF; // caption, value
    QLabel *m_decorLeft = nullptr;
    QLabel *m_decorRight = nullptr;
};
