#pragma once

#include "entry/reading.h"
#include "links/help_menus.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

struct AppContext;

class BirthDetailsForm;
class LinkLabel;
class PlaceFinder;
class QBoxLayout;
class QStackedLayout;

// The birth-details window: one form for the man, one for his partner, and
// the command that computes both Moon signs. It lives for the whole run and
// is only hidden while results are shown. A reading made, or a request to
// end the run, is told by signal to whoever runs the windows.
class frmMain : public QMainWindow, public HelpMenus {
    Q_OBJECT

public:
    explicit frmMain(AppContext &context, QWidget *parent = nullptr);

    // Sets the zone correction from the man's (or the partner's) zone list.
    void Zone_Calculation();
    void Zone_Calculation_female();

    // Brings one of the two advertising labels to the front: true for the
    // co-branding label, false for the full-branding one.
    void BringAdvertToFront(bool cobrand);

    BirthDetailsForm *form(bool male) const { return male ? m_man : m_woman; }
    // The birth-place look-up of one person; none without an atlas.
    PlaceFinder *placeFinder(bool male) const;

    // The controls of each person's form, by their own names.
    QLineEdit *txtMName = nullptr;
    QComboBox *cboMMonth = nullptr, *cboMDate = nullptr, *cboMYear = nullptr;
    QComboBox *cboMHH = nullptr, *cboMMM = nullptr, *cboMSS = nullptr;
    QLineEdit *txtMCity = nullptr, *txtMState = nullptr, *txtMCountry = nullptr;
    QLineEdit *txtMLonD = nullptr, *txtMLonM = nullptr, *txtMLatD = nullptr, *txtMLatM = nullptr;
    QButtonGroup *optMLong = nullptr, *optMLat = nullptr;
    QComboBox *cmbMTimeZone = nullptr;
    QCheckBox *chkMDST = nullptr;
    QGroupBox *fraZone = nullptr;
    QPushButton *cmdMBrowser = nullptr;

    QLineEdit *txtFName = nullptr;
    QComboBox *cboFMonth = nullptr, *cboFDate = nullptr, *cboFYear = nullptr;
    QComboBox *cboFHH = nullptr, *cboFMM = nullptr, *cboFSS = nullptr;
    QLineEdit *txtFCity = nullptr, *txtFState = nullptr, *txtFCountry = nullptr;
    QLineEdit *txtFLonD = nullptr, *txtFLonM = nullptr, *txtFLatD = nullptr, *txtFLatM = nullptr;
    QButtonGroup *optFLong = nullptr, *optFLat = nullptr;
    QComboBox *cmbFTimeZone = nullptr;
    QCheckBox *chkFDST = nullptr;
    QGroupBox *fraFZone = nullptr;
    QPushButton *cmdFBrowser = nullptr;

    QLabel *Label62 = nullptr;
    QPushButton *cmdRashi = nullptr;
    LinkLabel *Label61 = nullptr;
    LinkLabel *lblCobrand = nullptr;
    LinkLabel *lblFullBrand = nullptr;
    LinkLabel *Label19 = nullptr;

    QAction *mnuNext = nullptr, *mnuClear = nullptr, *mnuExit = nullptr;

    // Says when the entries could not be kept for the next start, and why.
    QLabel *lblPeopleNote = nullptr;

    // Hiding remembers where the window was; showing it again (after Back)
    // puts it back there.
    void setVisible(bool visible) override;

public Q_SLOTS:
    void cmdRashi_Click();
    void cmdMBrowser_Click();
    void cmdFBrowser_Click();
    // Empties both people's entries, here and in the kept copy.
    void mnuClear_Click();

Q_SIGNALS:
    // Both signs are known: the reading is to be shown.
    void readingMade(const Reading &reading);
    // The window was closed: the run ends.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildMenus();
    void nameControls();
    bool ValidateBirthDetails();
    void ComputeMoonSigns();
    void restorePeople();
    // Shows what went wrong with the kept entries; an empty problem hides the note.
    void showPeopleNote(const QString &problem,
                        const QString &what = QStringLiteral("Your entries could not be kept for the next start. "));

    AppContext &m_context;
    BirthDetailsForm *m_man = nullptr;
    BirthDetailsForm *m_woman = nullptr;
    QStackedLayout *m_advertStack = nullptr;
    QBoxLayout *m_groups = nullptr;
    QRect m_placement;
};
