#pragma once

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
// closing unload it.
class frmMoonSign : public QMainWindow {
    Q_OBJECT

public:
    frmMoonSign(AppContext &context, QWidget *birthDetailsWindow);

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
    QAction *mnuOnline = nullptr, *mnuVisit = nullptr, *mnuUpdate = nullptr, *mnuAbout = nullptr;
    QAction *mnuDonate = nullptr, *mkmoney = nullptr;

    QLabel *lblMoonNoteM = nullptr;
    QLabel *lblMoonNoteF = nullptr;

    // Notes shown under each Moon sign when the Moon changed sign during
    // that person's birth day; empty text hides a note.
    void ShowSignChangeNotes(const QString &man, const QString &partner);

    // The fourteen read-only fields, man's first.
    QList<QLineEdit *> resultFields() const;

public Q_SLOTS:
    void cmdBirthDetails_Click();
    void cmdMoonCompatibilityAnalysis_Click();
    void cmdPrint_Click();
    void cmdBack_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QGroupBox *buildPerson(bool male);
    void buildAnalysis();
    void buildMenus();
    void Form_Load();
    void showSignPictures();

    AppContext &m_context;
    QWidget *m_birthDetailsWindow;
    ClipboardGuard *m_clipboardGuard;
    QLabel *m_decorLeft = nullptr;
    QLabel *m_decorRight = nullptr;
    bool m_goingBack = false;
};
