#include "entry/place_finder.h"

#include "app/atlas.h"
#include "astro/zone_table.h"
#include "entry/choice_lists.h"
#include "entry/zone_choice.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTimer>

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
    connect(m_fields.city, &QLineEdit::textEdited, this, [this] {
        cityEdited();
        m_pause->start();
    });
    connect(m_pause, &QTimer::timeout, this, [this] {
        if (m_fields.city->hasFocus())
            offerPlaces(m_fields.city->text());
    });

    // A zone picked by hand stays as the user set it.
    connect(m_fields.zone, &QComboBox::activated, this, &PlaceFinder::zoneChangedByHand);
    connect(m_fields.dst, &QCheckBox::clicked, this, &PlaceFinder::zoneChangedByHand);
}

QCompleter *PlaceFinder::completer()
{
    if (m_completer)
        return m_completer;
    m_model = new QStandardItemModel(this);
    m_completer = new QCompleter(m_model, this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(int(kMostOffered));
    // Attached to the box but not installed in it, so that moving through the
    // offers never rewrites what the user typed.
    m_completer->setWidget(m_fields.city);
    m_completer->popup()->setObjectName(m_fields.city->objectName() + QStringLiteral("Places"));
    m_completer->popup()->installEventFilter(this);
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this, &PlaceFinder::placePicked);
    return m_completer;
}

void PlaceFinder::hideOffers()
{
    if (m_completer)
        m_completer->popup()->hide();
}

bool PlaceFinder::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_completer || watched != m_completer->popup())
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return handleOfferKey(static_cast<QKeyEvent *>(event)->key()) || QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        // A click outside the open list closes it and still does what it
        // would have done with no list open.
        const auto *press = static_cast<QMouseEvent *>(event);
        if (!m_completer->popup()->rect().contains(press->position().toPoint())) {
            m_completer->popup()->hide();
            replayClickOutside(press->globalPosition().toPoint());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool PlaceFinder::handleOfferKey(int key)
{
    QAbstractItemView *list = m_completer->popup();
    // Tab leaves the City box as usual: the offers close first, so that the
    // keys that follow reach the next box and not the list.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        list->hide();
        const bool forward = key == Qt::Key_Tab;
        QWidget *next = m_fields.city;
        do {
            next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
        } while (next != m_fields.city
                 && !((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled()));
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    // Enter picks the offer the user has highlighted; with none it only
    // closes the list. Either way the key goes no further.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const QModelIndex current = list->currentIndex();
        const bool highlighted = current.isValid() && list->selectionModel()->isSelected(current);
        list->hide();
        if (highlighted)
            placePicked(current);
        return true;
    }
    return false;
}

void PlaceFinder::replayClickOutside(const QPoint &globalPosition)
{
    QWidget *target = QApplication::widgetAt(globalPosition);
    if (!target || target->window() == m_completer->popup())
        return;
    const QPointF local = target->mapFromGlobal(QPointF(globalPosition));
    const QPointF global(globalPosition);
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, local, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, local, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

void PlaceFinder::offerPlaces(const QString &typed)
{
    const QString prefix = typed.trimmed();
    if (m_model)
        m_model->clear();
    m_offered.clear();
    if (prefix.size() < 2) {
        hideOffers();
        return;
    }
    m_offered = m_atlas.findByPrefix(prefix.toStdString(), kMostOffered);
    if (m_offered.empty()) {
        hideOffers();
        return;
    }
    QCompleter *offers = completer();
    for (const AtlasPlace &place : m_offered)
        m_model->appendRow(new QStandardItem(placeText(place)));
    offers->setCompletionPrefix(QString());
    offers->complete();
}

void PlaceFinder::placePicked(const QModelIndex &index)
{
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
    showNote({});
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
    showNote(choice.note);
}

void PlaceFinder::showNote(const QString &note)
{
    m_fields.zoneNote->setText(note);
    m_fields.zoneNote->setVisible(!note.isEmpty());
}

void PlaceFinder::zoneChangedByHand()
{
    m_zoneName.clear();
    showNote({});
    if (m_fields.zone->currentIndex() != m_fields.zoneList->extraEntryPosition())
        m_fields.zoneList->removeExtraEntry();
}

void PlaceFinder::cityEdited()
{
    // The picked place no longer speaks for the typed text: the zone stops
    // following the birth moment, and nothing already filled is touched.
    if (m_placeName.isEmpty())
        return;
    m_zoneName.clear();
    showNote(QStringLiteral("The coordinates and zone are still those of %1 until another place is picked "
                            "or the zone is set by hand.")
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
