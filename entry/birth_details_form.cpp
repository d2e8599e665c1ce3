#include "entry/birth_details_form.h"

#include "app/message_box.h"
#include "app/ui_font.h"
#include "entry/choice_lists.h"
#include "entry/number_field.h"
#include "entry/place_finder.h"
#include "entry/reading.h"
#include "links/link_label.h"
#include "links/web_pages.h"
#include "links/web_search.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

namespace {

QString controlName(const char *prefix, bool male, const char *suffix)
{
    return QLatin1String(prefix) + (male ? QLatin1Char('M') : QLatin1Char('F')) + QLatin1String(suffix);
}

// What a degrees box takes: its few characters of anything, as it always has
// (validation says what is wrong with them), or a longer coordinate as people
// write or paste it ("73.8567", "18°31'N"), which becomes degrees and minutes.
class DegreesValidator : public QValidator {
public:
    DegreesValidator(int plainLength, QObject *parent)
        : QValidator(parent)
        , m_plainLength(plainLength)
    {
    }

    State validate(QString &input, int &) const override
    {
        if (input.size() <= m_plainLength)
            return Acceptable;
        if (input.size() > 32)
            return Invalid;
        static const QString marks = QStringLiteral(" +-.,\u00B0\u00BA'\u2032\u2019\"\u2033nNsSeEwW");
        bool marked = false;
        for (const QChar c : input) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                continue;
            if (!marks.contains(c))
                return Invalid;
            marked = true;
        }
        // More digits than the box takes are refused as they always were.
        return marked ? Acceptable : Invalid;
    }

private:
    int m_plainLength;
};

} // namespace

BirthLists MakeBirthLists(QObject *owner)
{
    QStringList months;
    for (int m = MonthRange.first; m <= MonthRange.last; ++m)
        months.append(MonthName(m));
    QStringList zones;
    zones.reserve(static_cast<qsizetype>(ZoneCorrectionTable.size()));
    for (const ZoneRow &row : ZoneCorrectionTable)
        zones.append(QString::fromUtf8(row.ListText.data(), static_cast<qsizetype>(row.ListText.size())));
    auto *minutes = new NumberListModel(MinuteRange.first, MinuteRange.last, owner);
    static_assert(MinuteRange.first == SecondRange.first && MinuteRange.last == SecondRange.last);
    return {new QStringListModel(months, owner),
            new NumberListModel(DayRange.first, DayRange.last, owner),
            new NumberListModel(YearRange.first, YearRange.last, owner),
            new NumberListModel(HourRange.first, HourRange.last, owner),
            minutes,
            minutes,
            zones};
}

BirthDetailsForm::BirthDetailsForm(Whose whose, const BirthLists &lists, const Atlas *atlas, QWidget *parent)
    : QGroupBox(whose == Whose::Man ? QStringLiteral("&Your Birth Details") : QStringLiteral("Your &Partner's Birth Details"),
                parent)
    , m_male(whose == Whose::Man)
{
    setObjectName(m_male ? QStringLiteral("fraMale") : QStringLiteral("fraFemale"));
    build(lists);
    clear();
    if (atlas) {
        m_places = new PlaceFinder(*atlas,
                                   {city, state, country, lonD, lonM, latD, latM, longitude, latitude, zone, dst,
                                    zoneNote, cityNote, m_zones},
                                   this);
        tellPlaceFinderTheMoment();
        for (QComboBox *list : {month, day, year, hour, minute})
            connect(list, &QComboBox::currentIndexChanged, this, &BirthDetailsForm::tellPlaceFinderTheMoment);
    }

    for (QLineEdit *box : {name, city, state, country, lonD, lonM, latD, latM})
        connect(box, &QLineEdit::textChanged, this, &BirthDetailsForm::detailsChanged);
    for (QComboBox *list : {month, day, year, hour, minute, second, zone})
        connect(list, &QComboBox::currentIndexChanged, this, &BirthDetailsForm::detailsChanged);
    for (QButtonGroup *pair : {longitude, latitude})
        connect(pair, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on)
                Q_EMIT detailsChanged();
        });
    connect(dst, &QCheckBox::toggled, this, &BirthDetailsForm::detailsChanged);
    connect(timeUnknown, &QCheckBox::toggled, this, &BirthDetailsForm::timeUnknownToggled);
    connect(timeUnknown, &QCheckBox::toggled, this, &BirthDetailsForm::detailsChanged);
    connect(browser, &QPushButton::clicked, this, &BirthDetailsForm::FindCoordinatesSearch);

    // A coordinate written out in a degrees box becomes degrees and minutes
    // when the box is left, or at once when it was pasted or dropped there.
    for (QLineEdit *degrees : {lonD, latD}) {
        connect(degrees, &QLineEdit::editingFinished, this, [this, degrees] { convertCoordinate(degrees); });
        degrees->installEventFilter(this);
    }
}

void BirthDetailsForm::convertCoordinate(QLineEdit *degrees)
{
    const bool isLatitude = degrees == latD;
    const std::optional<CoordinateText> c = ParseCoordinateText(degrees->text().toStdString(), isLatitude);
    if (!c)
        return; // left as typed: validation says what is wrong
    degrees->setText(QString::number(c->degrees));
    (isLatitude ? latM : lonM)->setText(QString::number(c->minutes));
    if (c->westOrSouth)
        (isLatitude ? latitude : longitude)->button(*c->westOrSouth ? 1 : 0)->setChecked(true);
}

bool BirthDetailsForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *degrees = qobject_cast<QLineEdit *>(watched);
    if (degrees && (degrees == lonD || degrees == latD)) {
        const bool pasting = (event->type() == QEvent::KeyPress
                              && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
            || (event->type() == QEvent::MouseButtonRelease
                && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton)
            || event->type() == QEvent::Drop;
        // Converted once the pasted text is in.
        if (pasting)
            QTimer::singleShot(0, degrees, [this, degrees] { convertCoordinate(degrees); });
    }
    return QGroupBox::eventFilter(watched, event);
}

void BirthDetailsForm::build(const BirthLists &lists)
{
    const bool male = m_male;
    const QString whose = male ? QStringLiteral("Man's ") : QStringLiteral("Partner's ");
    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto lineEdit = [&](const char *prefix, const char *suffix, const QString &accessible) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(controlName(prefix, male, suffix));
        edit->setAccessibleName(whose + accessible);
        return edit;
    };
    auto comboBox = [&](const char *prefix, const char *suffix, const QString &accessible, QAbstractItemModel *model,
                        int characters = 4) {
        // Sized from a character count instead of by measuring every entry:
        // the lists hold 816 entries between them.
        // Digits typed into a list of numbers spell the number.
        auto *list = qobject_cast<NumberListModel *>(model) ? new NumberComboBox(characters, this)
                                                            : new SizedComboBox(characters, this);
        list->setObjectName(controlName(prefix, male, suffix));
        list->setAccessibleName(whose + accessible);
        list->setModel(model);
        return list;
    };

    // A short note in red, hidden while it has nothing to say.
    auto noteLabel = [&](const char *suffix) {
        auto *note = new QLabel(this);
        note->setObjectName(controlName("lbl", male, suffix));
        note->setWordWrap(true);
        note->setTextFormat(Qt::PlainText);
        note->setFont(VerdanaFont(8));
        SetTextColour(note, QColor(192, 0, 0));
        note->hide();
        return note;
    };

    name = lineEdit("txt", "Name", QStringLiteral("name"));
    form->addRow(QStringLiteral("Name"), name);

    month = comboBox("cbo", "Month", QStringLiteral("month of birth"), lists.months, 9);
    day = comboBox("cbo", "Date", QStringLiteral("day of birth"), lists.days);
    year = comboBox("cbo", "Year", QStringLiteral("year of birth"), lists.years);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(month, 2);
    dateRow->addWidget(day, 1);
    dateRow->addWidget(year, 1);
    form->addRow(QStringLiteral("Date of Birth"), dateRow);
    static_cast<QLabel *>(form->labelForField(dateRow))->setBuddy(month);

    hour = comboBox("cbo", "HH", QStringLiteral("hour of birth"), lists.hours);
    minute = comboBox("cbo", "MM", QStringLiteral("minute of birth"), lists.minutes);
    second = comboBox("cbo", "SS", QStringLiteral("second of birth"), lists.seconds);
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(hour);
    timeRow->addWidget(minute);
    timeRow->addWidget(second);
    timeRow->addWidget(new QLabel(QStringLiteral("HH:MM:SS"), this));
    timeUnknown = new QCheckBox(QStringLiteral("Time unknown"), this);
    timeUnknown->setObjectName(controlName("chk", male, "TimeUnknown"));
    timeUnknown->setAccessibleName(whose + QStringLiteral("time of birth unknown"));
    timeRow->addWidget(timeUnknown);
    timeRow->addStretch();
    form->addRow(QStringLiteral("Time of Birth"), timeRow);
    static_cast<QLabel *>(form->labelForField(timeRow))->setBuddy(hour);

    city = lineEdit("txt", "City", QStringLiteral("city of birth"));
    form->addRow(QStringLiteral("City"), city);
    cityNote = noteLabel("CityNote");
    form->addRow(QString(), cityNote);
    state = lineEdit("txt", "State", QStringLiteral("state of birth"));
    form->addRow(QStringLiteral("State"), state);
    country = lineEdit("txt", "Country", QStringLiteral("country of birth"));
    if (male) {
        form->addRow(QStringLiteral("Country"), country);
    } else {
        countryLink = new LinkLabel(QStringLiteral("Country"), this);
        countryLink->setWordWrap(false);
        countryLink->setFocusPolicy(Qt::NoFocus);
        countryLink->setBuddy(country);
        form->addRow(countryLink, country);
    }

    auto coordinateFrame = [&](const QString &title, QLineEdit *&degrees, QLineEdit *&minutes, QButtonGroup *&choice,
                               const char *degName, const char *minName, const char *optName, int degLength,
                               const QString &first, const QString &second, const QString &what) {
        auto *frame = new QGroupBox(title, this);
        frame->setObjectName(controlName("fra", male, title == QLatin1String("Longitude") ? "Long" : "Lat"));
        auto *grid = new QGridLayout(frame);
        degrees = lineEdit("txt", degName, what + QStringLiteral(" degrees"));
        degrees->setValidator(new DegreesValidator(degLength, degrees));
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
        choice->setObjectName(controlName("opt", male, optName));
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
    coordinates->addWidget(coordinateFrame(QStringLiteral("Longitude"), lonD, lonM, longitude, "LonD", "LonM", "Long", 3,
                                           QStringLiteral("East"), QStringLiteral("West"), QStringLiteral("longitude")));
    coordinates->addWidget(coordinateFrame(QStringLiteral("Latitude"), latD, latM, latitude, "LatD", "LatM", "Lat", 2,
                                           QStringLiteral("North"), QStringLiteral("South"), QStringLiteral("latitude")));
    form->addRow(coordinates);

    zoneFrame = new QGroupBox(QStringLiteral("Zone"), this);
    zoneFrame->setObjectName(male ? QStringLiteral("fraZone") : QStringLiteral("fraFZone"));
    auto *zoneLayout = new QVBoxLayout(zoneFrame);
    // Each person's zone list may hold an exact offset of its own after the
    // table's rows, which both lists share.
    m_zones = new ZoneListModel(lists.zoneTexts, this);
    zone = comboBox("cmb", "TimeZone", QStringLiteral("time zone"), m_zones, 38);
    zone->setParent(zoneFrame);
    dst = new QCheckBox(QStringLiteral("Daylight Saving Time"), zoneFrame);
    dst->setObjectName(controlName("chk", male, "DST"));
    dst->setAccessibleName(whose + QStringLiteral("daylight saving time"));
    zoneLayout->addWidget(zone);
    zoneLayout->addWidget(dst);
    form->addRow(zoneFrame);
    // Says when the atlas could not match the place's clock to a zone.
    zoneNote = noteLabel("ZoneNote");
    form->addRow(zoneNote);

    browser = new QPushButton(QStringLiteral("Click Here To Find Latitude && Longitude"), this);
    browser->setObjectName(controlName("cmd", male, "Browser"));
    browser->setAccessibleName(whose + QStringLiteral("latitude and longitude search"));
    form->addRow(browser);
}

QList<QWidget *> BirthDetailsForm::tabChain() const
{
    return {name, month, day, year, hour, minute, second, timeUnknown, city, state, country, lonD, lonM,
            longitude->button(0), longitude->button(1), latD, latM, latitude->button(0), latitude->button(1),
            zone, dst, browser};
}

QWidget *BirthDetailsForm::box(PersonField field) const
{
    switch (field) {
    case PersonField::Name:
        return name;
    case PersonField::LonDegrees:
        return lonD;
    case PersonField::LonMinutes:
        return lonM;
    case PersonField::LatDegrees:
        return latD;
    case PersonField::LatMinutes:
        return latM;
    case PersonField::None:
        break;
    }
    return nullptr;
}

PersonDetails BirthDetailsForm::details() const
{
    PersonDetails p;
    p.name = name->text();
    p.month = MonthRange.value(month->currentIndex());
    p.day = DayRange.value(day->currentIndex());
    p.year = YearRange.value(year->currentIndex());
    p.hour = HourRange.value(hour->currentIndex());
    p.minute = MinuteRange.value(minute->currentIndex());
    p.second = SecondRange.value(second->currentIndex());
    p.timeUnknown = timeUnknown->isChecked();
    p.city = city->text();
    p.state = state->text();
    p.country = country->text();
    p.lonD = lonD->text();
    p.lonM = lonM->text();
    p.latD = latD->text();
    p.latM = latM->text();
    p.west = longitude->checkedId() == 1;
    p.south = latitude->checkedId() == 1;
    p.zone.position = zone->currentIndex();
    p.zone.daylightSaving = dst->isChecked();
    if (m_zones->hasExtraEntry()) {
        p.zone.exactOffsetSeconds = m_zones->extraOffsetSeconds();
        p.zone.exactOffsetText = m_zones->extraEntryText();
    }
    if (m_places)
        p.pick = m_places->currentPick();
    return p;
}

void BirthDetailsForm::setDetails(const PersonDetails &p)
{
    // The birth moment first: the pick chooses its zone for that moment.
    timeUnknown->setChecked(false);
    month->setCurrentIndex(MonthRange.position(p.month));
    day->setCurrentIndex(DayRange.position(p.day));
    year->setCurrentIndex(YearRange.position(p.year));
    hour->setCurrentIndex(HourRange.position(p.hour));
    minute->setCurrentIndex(MinuteRange.position(p.minute));
    second->setCurrentIndex(SecondRange.position(p.second));
    timeUnknown->setChecked(p.timeUnknown);
    if (m_places)
        m_places->restorePick(p.pick);
    // Then the boxes as they were, edits after the pick included.
    name->setText(p.name);
    city->setText(p.city);
    state->setText(p.state);
    country->setText(p.country);
    // Kept texts the box could not have taken as typed are cut until it can.
    for (const auto &[box, text] : {std::pair{lonD, p.lonD}, {lonM, p.lonM}, {latD, p.latD}, {latM, p.latM}}) {
        QString fitted = text;
        int at = 0;
        while (box->validator() && !fitted.isEmpty() && box->validator()->validate(fitted, at) == QValidator::Invalid)
            fitted.chop(1);
        box->setText(fitted);
    }
    longitude->button(p.west ? 1 : 0)->setChecked(true);
    latitude->button(p.south ? 1 : 0)->setChecked(true);
    // A position past the table's rows is the pick's own zone, which the
    // restored pick has just chosen again.
    const bool inTable = p.zone.position >= 0 && p.zone.position < static_cast<int>(ZoneCorrectionTable.size());
    if (inTable || !(m_places && p.pick)) {
        zone->setCurrentIndex(inTable ? p.zone.position : GreenwichZonePosition);
        dst->setChecked(p.zone.daylightSaving);
    }
}

void BirthDetailsForm::clear()
{
    if (m_places)
        m_places->forget();
    for (QLineEdit *box : {name, city, state, country, lonD, lonM, latD, latM})
        box->clear();
    timeUnknown->setChecked(false);
    for (QComboBox *list : {month, day, year, hour, minute, second})
        list->setCurrentIndex(0);
    zone->setCurrentIndex(GreenwichZonePosition);
    longitude->button(0)->setChecked(true);
    latitude->button(0)->setChecked(true);
    dst->setChecked(false);
}

void BirthDetailsForm::timeUnknownToggled(bool unknown)
{
    QComboBox *const lists[3] = {hour, minute, second};
    for (int i = 0; i < 3; ++i) {
        if (unknown) {
            m_knownTime[i] = lists[i]->currentIndex();
            lists[i]->setCurrentIndex(i == 0 ? HourRange.position(UnknownTimeHour) : 0);
        } else {
            lists[i]->setCurrentIndex(m_knownTime[i]);
        }
        lists[i]->setEnabled(!unknown);
    }
}

void BirthDetailsForm::tellPlaceFinderTheMoment()
{
    const PersonDetails p = details();
    m_places->setBirthMoment(p.year, p.month, p.day, p.hour, p.minute);
}

void BirthDetailsForm::FindCoordinatesSearch()
{
    const struct {
        QLineEdit *box;
        const char *message;
    } required[] = {
        {city, "Please Enter City"},
        {state, "Please Enter State"},
        {country, "Please Enter Country"},
    };
    for (const auto &r : required) {
        // Only an empty box is missing: blanks count as typed text.
        if (r.box->text().isEmpty()) {
            MessageBox::show(window(), QLatin1String(r.message), QMessageBox::Critical);
            r.box->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const QString searchText =
        city->text() + QLatin1Char(' ') + state->text() + QLatin1Char(' ') + country->text() + QStringLiteral(" Latitude Longitude");
    WebSearchComponent search;
    search.Search(searchText, HomePageAddress());
}

bool BirthDetailsForm::event(QEvent *event)
{
    // The group's access key leads to the person's name, where the form
    // begins, rather than to whichever of its option buttons is ticked.
    if (event->type() == QEvent::Shortcut) {
        name->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QGroupBox::event(event);
}
