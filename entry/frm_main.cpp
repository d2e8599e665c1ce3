#include "entry/frm_main.h"

#include "app/app_context.h"
#include "app/message_box.h"
#include "app/resources.h"
#include "app/ui_font.h"
#include "app/window_fit.h"
#include "entry/birth_details_form.h"
#include "entry/moon_sign_driver.h"
#include "entry/people_store.h"
#include "entry/place_finder.h"
#include "entry/validation.h"
#include "links/link_label.h"
#include "links/web_pages.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QScrollArea>
#include <QVBoxLayout>

frmMain::frmMain(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
{
    InitResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(ApplicationCaption));
    setFont(VerdanaFont());

    // The whole form scrolls on a screen too small for it.
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("form"));
    auto *outer = new QVBoxLayout(central);

    Label62 = new QLabel(QStringLiteral("RU Zuva Zize Vadiveziduzor"), central);
    Label62->setObjectName(QStringLiteral("Label62"));
    Label62->setFont(VerdanaFont(16, true));
    Label62->setAlignment(Qt::AlignCenter);
    SetTextColour(Label62, QColor(128, 0, 128));
    outer->addWidget(Label62);

    // Both people choose from the same read-only lists.
    const BirthLists lists = MakeBirthLists(this);
    const Atlas *atlas = m_context.atlas.get();
    m_man = new BirthDetailsForm(BirthDetailsForm::Whose::Man, lists, atlas, central);
    m_woman = new BirthDetailsForm(BirthDetailsForm::Whose::Partner, lists, atlas, central);
    m_groups = new QBoxLayout(QBoxLayout::LeftToRight);
    m_groups->addWidget(m_man);
    m_groups->addWidget(m_woman);
    outer->addLayout(m_groups);

    cmdRashi = new QPushButton(QStringLiteral("Get &Moon Sign Compatibility"), central);
    cmdRashi->setObjectName(QStringLiteral("cmdRashi"));
    cmdRashi->setFont(VerdanaFont(0, true));
    auto *commandRow = new QHBoxLayout;
    commandRow->addStretch();
    commandRow->addWidget(cmdRashi);
    commandRow->addStretch();
    outer->addLayout(commandRow);

    lblPeopleNote = new QLabel(central);
    lblPeopleNote->setObjectName(QStringLiteral("lblPeopleNote"));
    lblPeopleNote->setWordWrap(true);
    lblPeopleNote->setAlignment(Qt::AlignCenter);
    lblPeopleNote->setTextFormat(Qt::PlainText);
    lblPeopleNote->setFont(VerdanaFont(8));
    SetTextColour(lblPeopleNote, QColor(192, 0, 0));
    lblPeopleNote->hide();
    outer->addWidget(lblPeopleNote);

    Label61 = new LinkLabel(QStringLiteral("Talk about Moon signs, love and relationships with other readers in our "
                                           "discussion forum at www.zuvazize.example"),
                            central);
    Label61->setObjectName(QStringLiteral("Label61"));
    Label61->setAlignment(Qt::AlignCenter);
    outer->addWidget(Label61);

    lblCobrand = new LinkLabel(
        QStringLiteral("Co-brand this software for your site.  Increase loyalty and traffic to your site. Put your "
                       "site's name &  link here. See \"Help\" for details.    Click Here for more info on co-branding."));
    lblCobrand->setObjectName(QStringLiteral("lblCobrand"));
    lblFullBrand = new LinkLabel(
        QStringLiteral("Home Business Opportunity. Start your own Internet business and make money online. Get this "
                       "software fully branded for your website. Click here for more details."));
    lblFullBrand->setObjectName(QStringLiteral("lblFullBrand"));
    for (LinkLabel *advert : {lblCobrand, lblFullBrand}) {
        advert->setAlignment(Qt::AlignCenter);
        advert->setAutoFillBackground(true);
    }
    // Both adverts share one rectangle; only the one in front is seen.
    auto *advertHolder = new QWidget(central);
    m_advertStack = new QStackedLayout(advertHolder);
    m_advertStack->addWidget(lblFullBrand);
    m_advertStack->addWidget(lblCobrand);
    m_advertStack->setCurrentWidget(lblCobrand);
    outer->addWidget(advertHolder);

    setCentralWidget(ScrollingBody(central, this));
    nameControls();
    buildMenus();

    connect(cmdRashi, &QPushButton::clicked, this, &frmMain::cmdRashi_Click);
    connect(Label61, &LinkLabel::activated, this, OpenHomePage);
    connect(lblCobrand, &LinkLabel::activated, this, OpenCoBrandPage);
    connect(lblFullBrand, &LinkLabel::activated, this, OpenFullBrandPage);
    connect(Label19, &LinkLabel::activated, this, OpenCoBrandPage);

    // The form reads top to bottom, the man's group before his partner's.
    QWidget *previous = nullptr;
    for (QWidget *w : m_man->tabChain() + m_woman->tabChain() + QList<QWidget *>{cmdRashi, Label61}) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }

    if (m_context.people)
        restorePeople();
    // The two people side by side where the screen is wide enough for
    // that, else one above the other.
    if (SizeBodyNeeds(this, central).width() > RoomOnScreen(this).width())
        m_groups->setDirection(QBoxLayout::TopToBottom);
    FitWindowToScreen(this, central);
}

void frmMain::nameControls()
{
    const BirthDetailsForm &m = *m_man;
    txtMName = m.name; cboMMonth = m.month; cboMDate = m.day; cboMYear = m.year;
    cboMHH = m.hour; cboMMM = m.minute; cboMSS = m.second;
    txtMCity = m.city; txtMState = m.state; txtMCountry = m.country;
    txtMLonD = m.lonD; txtMLonM = m.lonM; txtMLatD = m.latD; txtMLatM = m.latM;
    optMLong = m.longitude; optMLat = m.latitude;
    cmbMTimeZone = m.zone; chkMDST = m.dst; fraZone = m.zoneFrame; cmdMBrowser = m.browser;

    const BirthDetailsForm &f = *m_woman;
    txtFName = f.name; cboFMonth = f.month; cboFDate = f.day; cboFYear = f.year;
    cboFHH = f.hour; cboFMM = f.minute; cboFSS = f.second;
    txtFCity = f.city; txtFState = f.state; txtFCountry = f.country;
    txtFLonD = f.lonD; txtFLonM = f.lonM; txtFLatD = f.latD; txtFLatM = f.latM;
    optFLong = f.longitude; optFLat = f.latitude;
    cmbFTimeZone = f.zone; chkFDST = f.dst; fraFZone = f.zoneFrame; cmdFBrowser = f.browser;
    Label19 = f.countryLink;
    Label19->setObjectName(QStringLiteral("Label19"));
}

PlaceFinder *frmMain::placeFinder(bool male) const
{
    return form(male)->placeFinder();
}

void frmMain::buildMenus()
{
    mnuNext = NamedAction(this, QStringLiteral("Get &Moon Sign Compatibility"), "mnuNext");
    mnuClear = NamedAction(this, QStringLiteral("&Clear Both People"), "mnuClear");
    mnuExit = NamedAction(this, QStringLiteral("E&xit"), "mnuExit");
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    AddFileMenu(this, {mnuNext, mnuClear, mnuExit});
    connect(mnuNext, &QAction::triggered, this, &frmMain::cmdRashi_Click);
    connect(mnuClear, &QAction::triggered, this, &frmMain::mnuClear_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    static_cast<HelpMenus &>(*this) = AddHelpMenus(this);
}

void frmMain::BringAdvertToFront(bool cobrand)
{
    m_advertStack->setCurrentWidget(cobrand ? static_cast<QWidget *>(lblCobrand) : lblFullBrand);
}

void frmMain::Zone_Calculation()
{
    ZoneCalculation(m_man->details().zone, m_context.zoneCorrection);
}

void frmMain::Zone_Calculation_female()
{
    ZoneCalculation(m_woman->details().zone, m_context.zoneCorrection);
}

bool frmMain::ValidateBirthDetails()
{
    // The man is checked completely before his partner.
    for (BirthDetailsForm *form : {m_man, m_woman}) {
        if (const std::optional<InputFault> fault = FirstFault(form->details(), form == m_man)) {
            MessageBox::show(this, fault->message, fault->information ? QMessageBox::Information : QMessageBox::Critical);
            if (QWidget *box = form->box(fault->field))
                box->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

void frmMain::cmdRashi_Click()
{
    ComputeMoonSigns();
}

void frmMain::ComputeMoonSigns()
{
    if (!ValidateBirthDetails())
        return;
    const PersonDetails man = m_man->details();
    const PersonDetails woman = m_woman->details();
    if (m_context.people)
        showPeopleNote(m_context.people->save(man, woman));

    Zone_Calculation();
    PersonReading maleReading = ComputePerson(m_context, man, m_context.MaleMoonSign);
    Zone_Calculation_female();
    PersonReading femaleReading = ComputePerson(m_context, woman, m_context.FemaleMoonSign);
    Q_EMIT readingMade(MakeReading(m_context, std::move(maleReading), std::move(femaleReading)));
}

void frmMain::setVisible(bool visible)
{
    // Where the frame was and the size inside it: a window manager may place
    // a window shown again anew.
    if (!visible && isVisible())
        m_placement = QRect(frameGeometry().topLeft(), size());
    QMainWindow::setVisible(visible);
    if (visible && m_placement.isValid()) {
        resize(m_placement.size());
        move(m_placement.topLeft());
        m_placement = {};
    }
}

void frmMain::cmdMBrowser_Click()
{
    m_man->FindCoordinatesSearch();
}

void frmMain::cmdFBrowser_Click()
{
    m_woman->FindCoordinatesSearch();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT quitRequested();
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // Enter in any box of the form computes, as the command button does.
    // Only keys a box has no use for arrive here: while a list or the place
    // offers are open, Enter belongs to them. A focused button is pressed.
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()); button && button != cmdRashi)
            button->click();
        else
            cmdRashi_Click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmMain::mnuClear_Click()
{
    // Nothing can bring the entries back, so the user is asked first.
    if (!MessageBox::ask(this, QStringLiteral("Clear both people's entries?\n\nThe names, dates, places and zones "
                                              "typed for both of you will be gone, here and for the next start.")))
        return;
    m_man->clear();
    m_woman->clear();
    if (m_context.people)
        showPeopleNote(m_context.people->clear());
}

void frmMain::restorePeople()
{
    PersonDetails man, partner;
    const bool remembered = m_context.people->load(man, partner);
    m_context.reportFolder = m_context.people->reportFolder();
    if (!remembered) {
        if (const QString problem = m_context.people->problem(); !problem.isEmpty())
            showPeopleNote(problem, QStringLiteral("The entries of the last run could not be shown. "));
        return;
    }
    m_man->setDetails(man);
    m_woman->setDetails(partner);
}

void frmMain::showPeopleNote(const QString &problem, const QString &what)
{
    // One note, replaced by the latest outcome, rather than a box each time.
    lblPeopleNote->setText(what + problem);
    lblPeopleNote->setVisible(!problem.isEmpty());
}
