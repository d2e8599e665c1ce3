#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>

#include "results/frm_moon_sign.h"

struct AppContext;
struct RememberedPerson;

class LinkLabel;
class PlaceFinder;

// The birth-details window: one group of fields for the man, one for his
// partner, and the command that computes both Moon signs. It lives for the
// whole run and is only hidden while results are shown.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(AppContext &context, QWidget *parent = nullptr);
    ~frmMain() override;

    // Sets the zone correction from the man's (or the partner's) zone list.
    void Zone_Calculation();
    void Zone_Calculation_female();

    // Brings one of the two advertising labels to the front: true for the
    // co-branding label, false for the full-branding one.
    void BringAdvertToFront(bool cobrand);

    frmMoonSign *resultsWindow() const { return m_results; }

    // The birth-place look-up of one person; none without an atlas.
    PlaceFinder *placeFinder(bool male) const;

    // Man
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

    // Partner
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
    QAction *mnuOnline = nullptr, *mnuVisit = nullptr, *mnuUpdate = nullptr, *mnuAbout = nullptr;
    QAction *mnuDonate = nullptr, *mkmoney = nullptr;

    // Hiding remembers where the window was; showing it again (after Back)
    // puts it back there.
    void setVisible(bool visible) override;

public Q_SLOTS:
    void cmdRashi_Click();
    void cmdMBrowser_Click();
    void cmdFBrowser_Click();
    // Empties both people's entries, here and in the kept copy.
    void mnuClear_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Person;

    void Form_Load();
    void buildMenus();
    QGroupBox *buildPerson(Person &p, bool male);
    bool ValidateBirthDetails();
    bool validatePerson(const Person &p, bool male);
    void zoneCorrectionFor(const Person &p);
    void fillBirthInput(const Person &p);
    void computePerson(const Person &p, std::string &signName, std::string &signChangeNote);
    void ComputeMoonSigns();
    void FindCoordinatesSearch(const Person &p);
    void resetPerson(Person &p);
    RememberedPerson remembered(const Person &p) const;
    void restorePerson(Person &p, const RememberedPerson &r);
    void rememberPeople();
    void restorePeople();

    AppContext &m_context;
    Person *m_male;
    Person *m_female;
    QStackedLayout *m_advertStack = nullptr;
    QGroupBox *m_maleGroup = nullptr;
    QGroupBox *m_femaleGroup = nullptr;
    QPointer<frmMoonSign> m_results;
    QByteArray m_placement;
};
