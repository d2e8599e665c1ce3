#include "entry/frm_main.h"

#include "app/app_context.h"
#include "app/message_box.h"
#include "app/resources.h"
#include "app/ui_font.h"
#include "app/window_fit.h"
#include "astro/sign_change.h"
#include "astro/zone_table.h"
#include "entry/choice_lists.h"
#include "entry/number_field.h"
#include "entry/people_store.h"
#include "entry/place_finder.h"
#include "entry/sign_name_table.h"
#include "links/help_menus.h"
#include "links/link_label.h"
#include "links/web_pages.h"
#include "links/web_search.h"
#include "results/frm_moon_sign.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStringListModel>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

const QStringList kMonthNames = {
    QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"), QStringLiteral("April"),
    QStringLiteral("May"), QStringLiteral("June"), QStringLiteral("July"), QStringLiteral("August"),
    QStringLiteral("September"), QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};

QString name(const char *prefix, bool male, const char *suffix)
{
    return QLatin1String(prefix) + (male ? QLatin1Char('M') : QLatin1Char('F')) + QLatin1String(suffix);
}

std::string utf8(const QString &s)
{
    return s.toStdString();
}

std::int16_t wholeNumber(const QLineEdit *box)
{
    // Validation has already confirmed a number within the field's range.
    const std::optional<double> value = ParseNumberField(utf8(box->text()));
    return static_cast<std::int16_t>(value ? RoundHalfToEven(*value) : 0);
}

} // namespace

// One person's controls; the members named after the window's controls
// point into these.
struct frmMain::Person {
    QLineEdit *name, *city, *state, *country, *lonD, *lonM, *latD, *latM;
    QComboBox *month, *day, *year, *hour, *minute, *second, *zone;
    QButtonGroup *longitude, *latitude;
    QCheckBox *dst;
    QGroupBox *zoneFrame;
    QPushButton *browser;
    QLabel *zoneNote;
    ZoneListModel *zones = nullptr;
    PlaceFinder *places = nullptr;
};

frmMain::frmMain(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_male(new Person{})
    , m_female(new Person{})
{
    InitResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(ApplicationCaption));
    setFont(VerdanaFont());

    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);

    Label62 = new QLabel(QStringLiteral("RU Zuva Zize Vadiveziduzor"), central);
    Label62->setObjectName(QStringLiteral("Label62"));
    Label62->setFont(VerdanaFont(16, true));
    Label62->setAlignment(Qt::AlignCenter);
    SetTextColour(Label62, QColor(128, 0, 128));
    outer->addWidget(Label62);

    auto *groups = new QHBoxLayout;
    m_maleGroup = buildPerson(*m_male, true);
    m_femaleGroup = buildPerson(*m_female, false);
    groups->addWidget(m_maleGroup);
    groups->addWidget(m_femaleGroup);
    outer->addLayout(groups);

    cmdRashi = new QPushButton(QStringLiteral("Get &Moon Sign Compatibility"), central);
    cmdRashi->setObjectName(QStringLiteral("cmdRashi"));
    cmdRashi->setFont(VerdanaFont(0, true));
    auto *commandRow = new QHBoxLayout;
    commandRow->addStretch();
    commandRow->addWidget(cmdRashi);
    commandRow->addStretch();
    outer->addLayout(commandRow);

    Label61 = new LinkLabel(QStringLiteral("Talk about Moon signs, love and relationships with other readers in our "
                                           "discussion forum at www.zuvazize.example"),
                            OpenHomePage, central);
    Label61->setObjectName(QStringLiteral("Label61"));
    Label61->setAlignment(Qt::AlignCenter);
    outer->addWidget(Label61);

    lblCobrand = new LinkLabel(
        QStringLiteral("Co-brand this software for your site.  Increase loyalty and traffic to your site. Put your "
                       "site's name &  link here. See \"Help\" for details.    Click Here for more info on co-branding."),
        OpenCoBrandPage);
    lblCobrand->setObjectName(QStringLiteral("lblCobrand"));
    lblFullBrand = new LinkLabel(
        QStringLiteral("Home Business Opportunity. Start your own Internet business and make money online. Get this "
                       "software fully branded for your website. Click here for more details."),
        OpenFullBrandPage);
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

    setCentralWidget(central);
    buildMenus();

    connect(cmdRashi, &QPushButton::clicked, this, &frmMain::cmdRashi_Click);
    connect(cmdMBrowser, &QPushButton::clicked, this, &frmMain::cmdMBrowser_Click);
    connect(cmdFBrowser, &QPushButton::clicked, this, &frmMain::cmdFBrowser_Click);

    // The form reads top to bottom, the man's group before his partner's.
    QWidget *previous = nullptr;
    for (Person *p : {m_male, m_female}) {
        const QList<QWidget *> chain = {p->name, p->month, p->day, p->year, p->hour, p->minute, p->second,
                                        p->city, p->state, p->country, p->lonD, p->lonM,
                                        p->longitude->button(0), p->longitude->button(1), p->latD, p->latM,
                                        p->latitude->button(0), p->latitude->button(1), p->zone, p->dst, p->browser};
        for (QWidget *w : chain) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    }
    setTabOrder(previous, cmdRashi);
    setTabOrder(cmdRashi, Label61);

    Form_Load();

    if (m_context.atlas) {
        for (Person *p : {m_male, m_female}) {
            p->places = new PlaceFinder(*m_context.atlas,
                                        {p->city, p->state, p->country, p->lonD, p->lonM, p->latD, p->latM, p->longitude,
                                         p->latitude, p->month, p->day, p->year, p->hour, p->minute, p->zone, p->dst,
                                         p->zoneNote, p->zones},
                                        this);
        }
    }
    if (m_context.people)
        restorePeople();
    FitWindowToLayout(this);
}

PlaceFinder *frmMain::placeFinder(bool male) const
{
    return (male ? m_male : m_female)->places;
}

frmMain::~frmMain()
{
    delete m_results;
    delete m_male;
    delete m_female;
}

QGroupBox *frmMain::buildPerson(Person &p, bool male)
{
    const QString whose = male ? QStringLiteral("Man's ") : QStringLiteral("Partner's ");
    auto *group = new QGroupBox(male ? QStringLiteral("&Your Birth Details") : QStringLiteral("Your &Partner's Birth Details"));
    group->setObjectName(male ? QStringLiteral("fraMale") : QStringLiteral("fraFemale"));
    // Its access key leads to the person's name (see eventFilter).
    group->installEventFilter(this);
    auto *form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto lineEdit = [&](const char *prefix, const char *suffix, const QString &accessible) {
        auto *edit = new QLineEdit(group);
        edit->setObjectName(name(prefix, male, suffix));
        edit->setAccessibleName(whose + accessible);
        return edit;
    };
    auto comboBox = [&](const char *prefix, const char *suffix, const QString &accessible, int characters = 4) {
        // Sized from a character count instead of by measuring every entry:
        // the lists hold 816 entries between them.
        auto *list = new SizedComboBox(characters, group);
        list->setObjectName(name(prefix, male, suffix));
        list->setAccessibleName(whose + accessible);
        return list;
    };

    p.name = lineEdit("txt", "Name", QStringLiteral("name"));
    form->addRow(QStringLiteral("Name"), p.name);

    p.month = comboBox("cbo", "Month", QStringLiteral("month of birth"), 9);
    p.day = comboBox("cbo", "Date", QStringLiteral("day of birth"));
    p.year = comboBox("cbo", "Year", QStringLiteral("year of birth"));
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(p.month, 2);
    dateRow->addWidget(p.day, 1);
    dateRow->addWidget(p.year, 1);
    form->addRow(QStringLiteral("Date of Birth"), dateRow);
    static_cast<QLabel *>(form->labelForField(dateRow))->setBuddy(p.month);

    p.hour = comboBox("cbo", "HH", QStringLiteral("hour of birth"));
    p.minute = comboBox("cbo", "MM", QStringLiteral("minute of birth"));
    p.second = comboBox("cbo", "SS", QStringLiteral("second of birth"));
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(p.hour);
    timeRow->addWidget(p.minute);
    timeRow->addWidget(p.second);
    timeRow->addWidget(new QLabel(QStringLiteral("HH:MM:SS"), group));
    timeRow->addStretch();
    form->addRow(QStringLiteral("Time of Birth"), timeRow);
    static_cast<QLabel *>(form->labelForField(timeRow))->setBuddy(p.hour);

    p.city = lineEdit("txt", "City", QStringLiteral("city of birth"));
    form->addRow(QStringLiteral("City"), p.city);
    p.state = lineEdit("txt", "State", QStringLiteral("state of birth"));
    form->addRow(QStringLiteral("State"), p.state);
    p.country = lineEdit("txt", "Country", QStringLiteral("country of birth"));
    if (male) {
        form->addRow(QStringLiteral("Country"), p.country);
    } else {
        Label19 = new LinkLabel(QStringLiteral("Country"), OpenCoBrandPage, group);
        Label19->setObjectName(QStringLiteral("Label19"));
        Label19->setWordWrap(false);
        Label19->setFocusPolicy(Qt::NoFocus);
        Label19->setBuddy(p.country);
        form->addRow(Label19, p.country);
    }

    auto coordinateFrame = [&](const QString &title, QLineEdit *&degrees, QLineEdit *&minutes, QButtonGroup *&choice,
                               const char *degName, const char *minName, const char *optName, int degLength,
                               const QString &first, const QString &second, const QString &what) {
        auto *frame = new QGroupBox(title, group);
        frame->setObjectName(name("fra", male, title == QLatin1String("Longitude") ? "Long" : "Lat"));
        auto *grid = new QGridLayout(frame);
        degrees = lineEdit("txt", degName, what + QStringLiteral(" degrees"));
        degrees->setMaxLength(degLength);
        minutes = lineEdit("txt", minName, what + QStringLiteral(" minutes"));
        minutes->setMaxLength(2);
        const int width = degrees->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12;
        degrees->setMinimumWidth(width);
        minutes->setMinimumWidth(width);
        auto *degCaption = new QLabel(QStringLiteral("Deg"), frame);
        auto *minCaption = new QLabel(QStringLiteral("Min"), frame);
        degCaption->setBuddy(degrees);
        minCaption->setBuddy(minutes);
        grid->addWidget(degCaption, 0, 0);
        grid->addWidget(minCaption, 0, 1);
        grid->addWidget(degrees, 1, 0);
        grid->addWidget(minutes, 1, 1);
        choice = new QButtonGroup(frame);
        choice->setObjectName(name("opt", male, optName));
        auto *a = new QRadioButton(first, frame);
        auto *b = new QRadioButton(second, frame);
        a->setObjectName(choice->objectName() + QStringLiteral("_0"));
        b->setObjectName(choice->objectName() + QStringLiteral("_1"));
        a->setAccessibleName(whose + what + QLatin1Char(' ') + first);
        b->setAccessibleName(whose + what + QLatin1Char(' ') + second);
        choice->addButton(a, 0);
        choice->addButton(b, 1);
        grid->addWidget(a, 2, 0);
        grid->addWidget(b, 2, 1);
        return frame;
    };
    auto *coordinates = new QHBoxLayout;
    coordinates->addWidget(coordinateFrame(QStringLiteral("Longitude"), p.lonD, p.lonM, p.longitude, "LonD", "LonM",
                                           "Long", 3, QStringLiteral("East"), QStringLiteral("West"),
                                           QStringLiteral("longitude")));
    coordinates->addWidget(coordinateFrame(QStringLiteral("Latitude"), p.latD, p.latM, p.latitude, "LatD", "LatM", "Lat",
                                           2, QStringLiteral("North"), QStringLiteral("South"),
                                           QStringLiteral("latitude")));
    form->addRow(coordinates);

    p.zoneFrame = new QGroupBox(QStringLiteral("Zone"), group);
    p.zoneFrame->setObjectName(male ? QStringLiteral("fraZone") : QStringLiteral("fraFZone"));
    auto *zoneLayout = new QVBoxLayout(p.zoneFrame);
    p.zone = comboBox("cmb", "TimeZone", QStringLiteral("time zone"), 38);
    p.zone->setParent(p.zoneFrame);
    p.dst = new QCheckBox(QStringLiteral("Daylight Saving Time"), p.zoneFrame);
    p.dst->setObjectName(name("chk", male, "DST"));
    p.dst->setAccessibleName(whose + QStringLiteral("daylight saving time"));
    zoneLayout->addWidget(p.zone);
    zoneLayout->addWidget(p.dst);
    form->addRow(p.zoneFrame);
    // Says when the atlas could not match the place's clock to a zone.
    p.zoneNote = new QLabel(group);
    p.zoneNote->setObjectName(name("lbl", male, "ZoneNote"));
    p.zoneNote->setWordWrap(true);
    p.zoneNote->setFont(VerdanaFont(8));
    SetTextColour(p.zoneNote, QColor(192, 0, 0));
    p.zoneNote->hide();
    form->addRow(p.zoneNote);

    p.browser = new QPushButton(QStringLiteral("Click Here To Find Latitude && Longitude"), group);
    p.browser->setObjectName(name("cmd", male, "Browser"));
    p.browser->setAccessibleName(whose + QStringLiteral("latitude and longitude search"));
    form->addRow(p.browser);

    if (male) {
        txtMName = p.name; cboMMonth = p.month; cboMDate = p.day; cboMYear = p.year;
        cboMHH = p.hour; cboMMM = p.minute; cboMSS = p.second;
        txtMCity = p.city; txtMState = p.state; txtMCountry = p.country;
        txtMLonD = p.lonD; txtMLonM = p.lonM; txtMLatD = p.latD; txtMLatM = p.latM;
        optMLong = p.longitude; optMLat = p.latitude;
        cmbMTimeZone = p.zone; chkMDST = p.dst; fraZone = p.zoneFrame; cmdMBrowser = p.browser;
    } else {
        txtFName = p.name; cboFMonth = p.month; cboFDate = p.day; cboFYear = p.year;
        cboFHH = p.hour; cboFMM = p.minute; cboFSS = p.second;
        txtFCity = p.city; txtFState = p.state; txtFCountry = p.country;
        txtFLonD = p.lonD; txtFLonM = p.lonM; txtFLatD = p.latD; txtFLatM = p.latM;
        optFLong = p.longitude; optFLat = p.latitude;
        cmbFTimeZone = p.zone; chkFDST = p.dst; fraFZone = p.zoneFrame; cmdFBrowser = p.browser;
    }
    return group;
}

void frmMain::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuNext = NamedAction(this, QStringLiteral("Get &Moon Sign Compatibility"), "mnuNext");
    mnuClear = NamedAction(this, QStringLiteral("&Clear Both People"), "mnuClear");
    mnuExit = NamedAction(this, QStringLiteral("E&xit"), "mnuExit");
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    file->addAction(mnuNext);
    file->addAction(mnuClear);
    file->addAction(mnuExit);
    connect(mnuNext, &QAction::triggered, this, &frmMain::cmdRashi_Click);
    connect(mnuClear, &QAction::triggered, this, &frmMain::mnuClear_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    const HelpMenus help = AddHelpMenus(this);
    mnuOnline = help.mnuOnline;
    mnuVisit = help.mnuVisit;
    mnuUpdate = help.mnuUpdate;
    mnuAbout = help.mnuAbout;
    mnuDonate = help.mnuDonate;
    mkmoney = help.mkmoney;
}

void frmMain::Form_Load()
{
    // Both people choose from the same read-only lists; each zone list may
    // also hold an exact offset of its own after the table's rows.
    QStringList zoneTexts;
    zoneTexts.reserve(static_cast<qsizetype>(ZoneCorrectionTable.size()));
    for (const ZoneRow &row : ZoneCorrectionTable)
        zoneTexts.append(QString::fromUtf8(row.ListText.data(), static_cast<qsizetype>(row.ListText.size())));
    auto *months = new QStringListModel(kMonthNames, this);
    auto *days = new NumberListModel(1, 31, this);
    auto *years = new NumberListModel(1901, 2050, this);
    auto *hours = new NumberListModel(0, 23, this);
    auto *sixty = new NumberListModel(0, 59, this);
    for (Person *p : {m_male, m_female}) {
        p->month->setModel(months);
        p->zones = new ZoneListModel(zoneTexts, this);
        p->zone->setModel(p->zones);
        p->day->setModel(days);
        p->year->setModel(years);
        p->hour->setModel(hours);
        p->minute->setModel(sixty);
        p->second->setModel(sixty);
        resetPerson(*p);
    }
}

void frmMain::resetPerson(Person &p)
{
    for (QLineEdit *box : {p.name, p.city, p.state, p.country, p.lonD, p.lonM, p.latD, p.latM})
        box->clear();
    for (QComboBox *list : {p.month, p.day, p.year, p.hour, p.minute, p.second})
        list->setCurrentIndex(0);
    p.zone->setCurrentIndex(GreenwichZonePosition);
    p.longitude->button(0)->setChecked(true);
    p.latitude->button(0)->setChecked(true);
    p.dst->setChecked(false);
}

void frmMain::BringAdvertToFront(bool cobrand)
{
    m_advertStack->setCurrentWidget(cobrand ? static_cast<QWidget *>(lblCobrand) : lblFullBrand);
}

void frmMain::Zone_Calculation()
{
    zoneCorrectionFor(*m_male);
}

void frmMain::Zone_Calculation_female()
{
    zoneCorrectionFor(*m_female);
}

void frmMain::zoneCorrectionFor(const Person &p)
{
    // The extra entry after the rows holds the place's exact offset.
    if (p.zones->hasExtraEntry() && p.zone->currentIndex() == p.zones->extraEntryPosition())
        m_context.zoneCorrection = ZoneCorrectionFromOffset(p.zones->extraOffsetSeconds());
    else
        ZoneCorrectionFromPosition(p.zone->currentIndex(), m_context.zoneCorrection);
}

bool frmMain::ValidateBirthDetails()
{
    return validatePerson(*m_male, true) && validatePerson(*m_female, false);
}

bool frmMain::validatePerson(const Person &p, bool male)
{
    const QString whose = male ? QStringLiteral("Your") : QStringLiteral("Your Partner's");
    auto fail = [this](const QString &message, QMessageBox::Icon icon, QWidget *focus) {
        MessageBox::show(this, message, icon);
        if (focus)
            focus->setFocus(Qt::OtherFocusReason);
        return false;
    };

    if (p.name->text().trimmed().isEmpty())
        return fail(male ? QStringLiteral("Please Enter Your Name") : QStringLiteral("Please Enter Your Partner's Name"),
                    QMessageBox::Critical, p.name);

    struct Check {
        QLineEdit *box;
        double high;
        const char *what;
    };
    const Check checks[] = {
        {p.lonD, 179, "Degree of Longitude"},
        {p.lonM, 59, " Minute of Longitude"},
        {p.latD, 89, "Degree of Latitude"},
        {p.latM, 59, " Minute of Latitude"},
    };
    for (const Check &c : checks) {
        if (!NumberFieldInRange(utf8(c.box->text()), 0, c.high)) {
            const QString message = QStringLiteral("Please Enter %1 Value Between 0 And %2 in the %3")
                                        .arg(whose, QString::number(c.high), QLatin1String(c.what));
            return fail(message, QMessageBox::Critical, c.box);
        }
    }

    const int month = p.month->currentIndex() + 1;
    const int day = p.day->currentIndex() + 1;
    const int year = p.year->currentText().toInt();
    if (IsImpossibleFebruaryDay(month, day, year))
        return fail(QStringLiteral("Please Enter %1 Correct Date Or Month!").arg(whose), QMessageBox::Information, nullptr);
    if (IsImpossibleThirtyDayMonthDay(month, day))
        return fail(QStringLiteral("Please Enter %1 Correct Date Or Month !").arg(whose), QMessageBox::Information, nullptr);
    return true;
}

void frmMain::fillBirthInput(const Person &p)
{
    BirthInput &in = m_context.birthInput;
    in.Month = static_cast<std::int16_t>(p.month->currentIndex() + 1);
    in.Day = static_cast<std::int16_t>(p.day->currentText().toInt());
    in.Year = static_cast<std::int16_t>(p.year->currentText().toInt());
    in.Hour = static_cast<std::int16_t>(p.hour->currentText().toInt());
    in.Minute = static_cast<std::int16_t>(p.minute->currentText().toInt());
    // The zone's own signed correction reaches the engine.
    in.ZoneHours = m_context.zoneCorrection.Hours;
    in.ZoneMinutes = m_context.zoneCorrection.Minutes;
    in.ZoneSeconds = m_context.zoneCorrection.Seconds;
    in.LonDegrees = wholeNumber(p.lonD);
    in.LonMinutes = wholeNumber(p.lonM);
    in.LatDegrees = wholeNumber(p.latD);
    in.LatMinutes = wholeNumber(p.latM);
    in.IsEast = p.longitude->checkedId() == 0;
    in.IsSouth = p.latitude->checkedId() == 1;
    in.IsDaylightSaving = p.dst->isChecked();
}

void frmMain::computePerson(const Person &p, std::string &signName, std::string &signChangeNote)
{
    fillBirthInput(p);
    const BirthInput &in = m_context.birthInput;
    signChangeNote = SignChangeNote(FindSignChangeOnDay(in.Year, in.Month, in.Day,
                                                        ZoneCorrectionInHours(in), in.IsDaylightSaving));
    m_context.ephemeris.ComputeMoonPosition(m_context.birthInput);
    m_context.planetPosition.BuildPositionList(m_context.ephemeris.MoonPositionText());
    const auto sign = SignNameFromShortPosition(m_context.planetPosition.PositionList()[WesternPlanetPosition::MoonEntry]);
    if (sign)
        signName = std::string(*sign);
}

void frmMain::cmdRashi_Click()
{
    ComputeMoonSigns();
}

void frmMain::ComputeMoonSigns()
{
    if (!ValidateBirthDetails())
        return;
    rememberPeople();

    Zone_Calculation();
    std::string maleNote, femaleNote;
    computePerson(*m_male, m_context.MaleMoonSign, maleNote);
    Zone_Calculation_female();
    computePerson(*m_female, m_context.FemaleMoonSign, femaleNote);

    if (!m_results)
        m_results = new frmMoonSign(m_context, this);
    m_results->cmdMoonCompatibilityAnalysis_Click();

    auto fill = [](const Person &p, const std::string &sign, QLineEdit *user, QLineEdit *dob, QLineEdit *tob,
                   QLineEdit *city, QLineEdit *state, QLineEdit *country, QLineEdit *moon) {
        user->setText(p.name->text().trimmed());
        dob->setText(p.month->currentText() + QLatin1Char(' ') + p.day->currentText() + QStringLiteral(", ")
                     + p.year->currentText());
        tob->setText(p.hour->currentText() + QLatin1Char(':') + p.minute->currentText() + QLatin1Char(':')
                     + p.second->currentText());
        city->setText(p.city->text());
        state->setText(p.state->text());
        country->setText(p.country->text());
        moon->setText(QString::fromStdString(sign));
    };
    frmMoonSign &r = *m_results;
    fill(*m_male, m_context.MaleMoonSign, r.txtUserM, r.txtDOBM, r.txtTOBM, r.txtCityM, r.txtStateM, r.txtCountryM,
         r.txtMoonM);
    fill(*m_female, m_context.FemaleMoonSign, r.txtUserF, r.txtDOBF, r.txtTOBF, r.txtCityF, r.txtStateF, r.txtCountryF,
         r.txtMoonF);

    m_results->ShowSignChangeNotes(QString::fromStdString(maleNote), QString::fromStdString(femaleNote));

    // The results open over the form, centred where the form was.
    const QRect form = frameGeometry();
    m_results->move(form.center() - m_results->rect().center());
    m_results->show();
    hide();
}

void frmMain::setVisible(bool visible)
{
    if (!visible && isVisible())
        m_placement = saveGeometry();
    else if (visible && !isVisible() && !m_placement.isEmpty())
        restoreGeometry(m_placement);
    QMainWindow::setVisible(visible);
}

void frmMain::cmdMBrowser_Click()
{
    FindCoordinatesSearch(*m_male);
}

void frmMain::cmdFBrowser_Click()
{
    FindCoordinatesSearch(*m_female);
}

void frmMain::FindCoordinatesSearch(const Person &p)
{
    const struct {
        QLineEdit *box;
        const char *message;
    } required[] = {
        {p.city, "Please Enter City"},
        {p.state, "Please Enter State"},
        {p.country, "Please Enter Country"},
    };
    for (const auto &r : required) {
        // Only an empty box is missing: blanks count as typed text.
        if (r.box->text().isEmpty()) {
            MessageBox::show(this, QLatin1String(r.message), QMessageBox::Critical);
            r.box->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const QString searchText = p.city->text() + QLatin1Char(' ') + p.state->text() + QLatin1Char(' ')
        + p.country->text() + QStringLiteral(" Latitude Longitude");
    WebSearchComponent search;
    search.Search(searchText, HomePageAddress());
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_context.quitApplication)
        m_context.quitApplication();
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

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // A group's access key leads to the person's name, where the form begins,
    // rather than to whichever of its option buttons is ticked.
    if (event->type() == QEvent::Shortcut && (watched == m_maleGroup || watched == m_femaleGroup)) {
        (watched == m_maleGroup ? m_male : m_female)->name->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::mnuClear_Click()
{
    for (Person *p : {m_male, m_female}) {
        if (p->places)
            p->places->restorePick(std::nullopt);
        resetPerson(*p);
    }
    if (m_context.people)
        m_context.people->clear();
}

RememberedPerson frmMain::remembered(const Person &p) const
{
    RememberedPerson r;
    r.name = p.name->text();
    r.month = p.month->currentIndex() + 1;
    r.day = p.day->currentText().toInt();
    r.year = p.year->currentText().toInt();
    r.hour = p.hour->currentText().toInt();
    r.minute = p.minute->currentText().toInt();
    r.second = p.second->currentText().toInt();
    r.city = p.city->text();
    r.state = p.state->text();
    r.country = p.country->text();
    r.lonD = p.lonD->text();
    r.lonM = p.lonM->text();
    r.latD = p.latD->text();
    r.latM = p.latM->text();
    r.west = p.longitude->checkedId() == 1;
    r.south = p.latitude->checkedId() == 1;
    r.zone = p.zone->currentIndex();
    r.daylightSaving = p.dst->isChecked();
    if (p.places)
        r.pick = p.places->currentPick();
    return r;
}

void frmMain::restorePerson(Person &p, const RememberedPerson &r)
{
    // The birth moment first: the pick chooses its zone for that moment.
    p.month->setCurrentIndex(r.month - 1);
    p.day->setCurrentIndex(r.day - 1);
    p.year->setCurrentIndex(r.year - 1901);
    p.hour->setCurrentIndex(r.hour);
    p.minute->setCurrentIndex(r.minute);
    p.second->setCurrentIndex(r.second);
    if (p.places && r.pick)
        p.places->restorePick(r.pick);
    // Then the boxes as they were, edits after the pick included.
    p.name->setText(r.name);
    p.city->setText(r.city);
    p.state->setText(r.state);
    p.country->setText(r.country);
    p.lonD->setText(r.lonD);
    p.lonM->setText(r.lonM);
    p.latD->setText(r.latD);
    p.latM->setText(r.latM);
    p.longitude->button(r.west ? 1 : 0)->setChecked(true);
    p.latitude->button(r.south ? 1 : 0)->setChecked(true);
    // A position past the table's rows is the pick's own zone, which the
    // restored pick has just chosen again.
    const bool inTable = r.zone >= 0 && r.zone < static_cast<int>(ZoneCorrectionTable.size());
    if (inTable || !(p.places && r.pick)) {
        p.zone->setCurrentIndex(inTable ? r.zone : GreenwichZonePosition);
        p.dst->setChecked(r.daylightSaving);
    }
}

void frmMain::rememberPeople()
{
    if (m_context.people)
        m_context.people->save(remembered(*m_male), remembered(*m_female));
}

void frmMain::restorePeople()
{
    RememberedPerson man, partner;
    if (!m_context.people->load(man, partner))
        return;
    restorePerson(*m_male, man);
    restorePerson(*m_female, partner);
}
