#include "entry/place_finder.h"

#include "app/atlas.h"
#include "astro/zone_table.h"
#include "entry/choice_lists.h"
#include "entry/zone_choice.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStandardItemModel>
#include <QTimer>

#include <algorithm>

namespace {

constexpr std::size_t kMostOffered = 12;

QString qt(const std::string &s)
{
    return QString::fromStdString(s);
}

QString placeText(const AtlasPlace &place)
{
    QStringList parts{qt(place.city)};
    if (!place.state.empty())
        parts << qt(place.state);
    if (!place.country.empty())
        parts << qt(place.country);
    return parts.join(QStringLiteral(", "));
}

} // namespace

PlaceFinder::PlaceFinder(const Atlas &atlas, const Fields &fields, QObject *parent)
    : QObject(parent)
    , m_atlas(atlas)
    , m_fields(fields)
    , m_pause(new QTimer(this))
{
    // Offers wait for a pause in typing: a fast typist who tabs on never
    // meets a list, and the atlas is asked once per pause, not per key.
    m_pause->setSingleShot(true);
    m_pause->setInterval(250);
    m_fields.city->setPlaceholderText(QStringLiteral("Type a city, then pick it from the list"));
    m_fields.city->installEventFilter(this);
    connect(m_fields.city, &QLineEdit::textEdited, this, [this] {
        cityEdited();
        hideOffers();
        m_pause->start();
    });
    connect(m_pause, &QTimer::timeout, this, [this] {
        if (m_fields.city->hasFocus())
            offerPlaces(m_fields.city->text());
    });
    // Coordinates typed by hand answer the note that asks for a pick.
    for (QLineEdit *box : {m_fields.lonD, m_fields.lonM, m_fields.latD, m_fields.latM})
        connect(box, &QLineEdit::textEdited, this, [this] { showNote(m_fields.cityNote, {}); });

    // A zone picked by hand stays as the user set it.
    connect(m_fields.zone, &QComboBox::activated, this, &PlaceFinder::zoneChangedByHand);
    connect(m_fields.dst, &QCheckBox::clicked, this, &PlaceFinder::zoneChangedByHand);
}

QListView *PlaceFinder::makeOffers()
{
    if (m_offers)
        return m_offers;
    // A child of the window, drawn over the form: it takes no focus and
    // grabs nothing.
    m_model = new QStandardItemModel(this);
    m_offers = new QListView(m_fields.city->window());
    m_offers->setObjectName(m_fields.city->objectName() + QStringLiteral("Places"));
    m_offers->setAccessibleName(QStringLiteral("Places for ") + m_fields.city->accessibleName());
    m_offers->setModel(m_model);
    m_offers->setFocusPolicy(Qt::NoFocus);
    m_offers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_offers->setSelectionMode(QAbstractItemView::SingleSelection);
    m_offers->setUniformItemSizes(true);
    m_offers->setMouseTracking(true);
    m_offers->viewport()->setMouseTracking(true);
    m_offers->setFrameShape(QFrame::Box);
    m_offers->hide();
    connect(m_offers, &QListView::entered, this, [this](const QModelIndex &index) { m_offers->setCurrentIndex(index); });
    connect(m_offers, &QListView::clicked, this, &PlaceFinder::pick);
    return m_offers;
}

void PlaceFinder::hideOffers()
{
    if (m_offers)
        m_offers->hide();
}

void PlaceFinder::placeOffers()
{
    // Under City, or above it when the window has more room there.
    QWidget *window = m_offers->parentWidget();
    QLineEdit *city = m_fields.city;
    const int rows = std::min(m_model->rowCount(), int(kMostOffered));
    const int height = rows * std::max(m_offers->sizeHintForRow(0), 1) + 2 * m_offers->frameWidth();
    const int width = std::max(city->width(), m_offers->sizeHintForColumn(0) + 2 * m_offers->frameWidth() + 24);
    const QPoint below = city->mapTo(window, QPoint(0, city->height()));
    const QPoint above = city->mapTo(window, QPoint(0, 0)) - QPoint(0, height);
    const int roomBelow = window->height() - below.y();
    QPoint at = height <= roomBelow || above.y() < 0 ? below : above;
    at.setX(std::clamp(at.x(), 0, std::max(window->width() - width, 0)));
    m_offers->setGeometry(QRect(at, QSize(std::min(width, window->width()), height)));
    m_offers->raise();
}

void PlaceFinder::offerPlaces(const QString &typed)
{
    m_pause->stop();
    const QString prefix = typed.trimmed();
    m_offered.clear();
    if (m_model)
        m_model->clear();
    if (prefix.size() >= 2)
        m_offered = m_atlas.findByPrefix(prefix.toStdString(), kMostOffered);
    if (m_offered.empty()) {
        hideOffers();
        return;
    }
    makeOffers();
    for (const AtlasPlace &place : m_offered)
        m_model->appendRow(new QStandardItem(placeText(place)));
    placeOffers();
    m_offers->show();
    // The first offer is the one Enter takes, and is drawn so.
    m_offers->setCurrentIndex(m_model->index(0, 0));
}

void PlaceFinder::moveCurrent(int rows)
{
    const int count = m_model->rowCount();
    const int row = std::clamp(m_offers->currentIndex().row() + rows, 0, count - 1);
    m_offers->setCurrentIndex(m_model->index(row, 0));
}

bool PlaceFinder::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_fields.city) {
        switch (event->type()) {
        case QEvent::KeyPress:
            return handleCityKey(static_cast<QKeyEvent *>(event)->key()) || QObject::eventFilter(watched, event);
        case QEvent::FocusOut:
            // Another window coming forward is no leaving of the box.
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::ActiveWindowFocusReason)
                hideOffers();
            else
                cityLeft();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
            hideOffers();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool PlaceFinder::handleCityKey(int key)
{
    const bool open = m_offers && m_offers->isVisible();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter typed before the pause ran out still picks the first offer.
        if (!open && m_pause->isActive())
            offerPlaces(m_fields.city->text());
        if (m_offers && m_offers->isVisible()) {
            pick(m_offers->currentIndex());
            return true;
        }
        return false; // the form computes
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
        const int rows = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : key == Qt::Key_PageDown ? 6 : -6;
        if (open) {
            moveCurrent(rows);
            return true;
        }
        if (key == Qt::Key_Down) {
            offerPlaces(m_fields.city->text());
            return true;
        }
        return false;
    }
    case Qt::Key_Escape:
        if (open) {
            hideOffers();
            return true;
        }
        return false;
    default:
        return false; // Tab moves on as always; leaving City closes the list
    }
}

void PlaceFinder::cityLeft()
{
    m_pause->stop();
    hideOffers();
    // Typed text that was never picked leaves the coordinates and zone to
    // the user: say so once the box is left.
    const QString typed = m_fields.city->text().trimmed();
    if (!m_typedSincePick || typed.isEmpty()) {
        showNote(m_fields.cityNote, {});
        return;
    }
    const bool known = typed.size() >= 2 && !m_atlas.findByPrefix(typed.toStdString(), 1).empty();
    showNote(m_fields.cityNote, known ? QStringLiteral("Pick the place from the list (Down, then Enter), or type its "
                                                       "coordinates and zone.")
                                      : QStringLiteral("No place of that name is known here: type its coordinates "
                                                       "and zone."));
}

void PlaceFinder::pick(const QModelIndex &index)
{
    hideOffers();
    const int row = index.row();
    if (row < 0 || row >= int(m_offered.size()))
        return;
    usePlace(m_offered[std::size_t(row)]);
}

void PlaceFinder::usePlace(const AtlasPlace &place)
{
    m_fields.city->setText(qt(place.city));
    m_fields.state->setText(qt(place.state));
    m_fields.country->setText(qt(place.country));

    const DegreesMinutes lon = NearestMinute(place.longitude);
    const DegreesMinutes lat = NearestMinute(place.latitude);
    m_fields.lonD->setText(QString::number(lon.degrees));
    m_fields.lonM->setText(QString::number(lon.minutes));
    m_fields.longitude->button(lon.negative ? 1 : 0)->setChecked(true);
    m_fields.latD->setText(QString::number(lat.degrees));
    m_fields.latM->setText(QString::number(lat.minutes));
    m_fields.latitude->button(lat.negative ? 1 : 0)->setChecked(true);

    m_placeName = qt(place.city);
    m_zoneName = QByteArray::fromStdString(place.timeZone);
    m_typedSincePick = false;
    showNote(m_fields.cityNote, {});
    showNote(m_fields.zoneNote, {});
    chooseZone();
}

void PlaceFinder::setBirthMoment(int year, int month, int day, int hour, int minute)
{
    m_year = year;
    m_month = month;
    m_day = day;
    m_hour = hour;
    m_minute = minute;
    chooseZone();
}

void PlaceFinder::chooseZone()
{
    if (m_zoneName.isEmpty())
        return;
    QDate date(m_year, m_month, m_day);
    if (!date.isValid()) // 31 April and the like: validation speaks of those later
        date = QDate(m_year, m_month, 1);
    const ZoneChoice choice = ChooseZone(m_zoneName, date, m_hour, m_minute, m_placeName);
    if (choice.found) {
        ZoneListModel *zones = m_fields.zoneList;
        if (choice.zonePosition == static_cast<int>(ZoneCount)) {
            zones->setExtraEntry(choice.extraEntryText, choice.offsetSeconds);
            m_fields.zone->setCurrentIndex(zones->extraEntryPosition());
        } else {
            // Selection moves to the row before the extra entry goes.
            m_fields.zone->setCurrentIndex(choice.zonePosition);
            zones->removeExtraEntry();
        }
        m_fields.dst->setChecked(choice.daylightSaving);
    }
    showNote(m_fields.zoneNote, choice.note);
}

void PlaceFinder::showNote(QLabel *label, const QString &note)
{
    label->setText(note);
    label->setVisible(!note.isEmpty());
}

void PlaceFinder::zoneChangedByHand()
{
    m_zoneName.clear();
    showNote(m_fields.zoneNote, {});
    if (m_fields.zone->currentIndex() != m_fields.zoneList->extraEntryPosition())
        m_fields.zoneList->removeExtraEntry();
}

void PlaceFinder::cityEdited()
{
    m_typedSincePick = true;
    showNote(m_fields.cityNote, {});
    // The picked place no longer speaks for the typed text: the zone stops
    // following the birth moment, and nothing already filled is touched.
    if (m_placeName.isEmpty())
        return;
    m_zoneName.clear();
    showNote(m_fields.zoneNote, QStringLiteral("The coordinates and zone are still those of %1 until another place is "
                                               "picked or the zone is set by hand.")
                                    .arg(m_placeName));
    m_placeName.clear();
}

std::optional<AtlasPlace> PlaceFinder::currentPick() const
{
    if (m_zoneName.isEmpty())
        return std::nullopt;
    auto angle = [](const QLineEdit *degrees, const QLineEdit *minutes, bool negative) {
        const double value = degrees->text().trimmed().toDouble() + minutes->text().trimmed().toDouble() / 60.0;
        return negative ? -value : value;
    };
    AtlasPlace place;
    place.city = m_fields.city->text().toStdString();
    place.state = m_fields.state->text().toStdString();
    place.country = m_fields.country->text().toStdString();
    place.timeZone = m_zoneName.toStdString();
    place.longitude = angle(m_fields.lonD, m_fields.lonM, m_fields.longitude->checkedId() == 1);
    place.latitude = angle(m_fields.latD, m_fields.latM, m_fields.latitude->checkedId() == 1);
    return place;
}

void PlaceFinder::restorePick(const std::optional<AtlasPlace> &pick)
{
    if (pick)
        usePlace(*pick);
    else
        zoneChangedByHand();
}

void PlaceFinder::forget()
{
    m_pause->stop();
    hideOffers();
    m_offered.clear();
    m_placeName.clear();
    m_typedSincePick = false;
    zoneChangedByHand();
    showNote(m_fields.cityNote, {});
}
