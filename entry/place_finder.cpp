#include "entry/place_finder.h"

#include "app/atlas.h"
#include "entry/zone_choice.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
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
    connect(m_fields.city, &QLineEdit::textEdited, this, [this] {
        m_pause->start();
    });
    connect(m_pause, &QTimer::timeout, this, [this] {
        if (m_fields.city->hasFocus())
            offerPlaces(m_fields.city->text());
    });

    // A new birth moment may fall in the other season; a zone picked by hand
    // stays as the user set it.
    for (QComboBox *list : {m_fields.month, m_fields.day, m_fields.year, m_fields.hour, m_fields.minute})
        connect(list, &QComboBox::currentIndexChanged, this, &PlaceFinder::chooseZone);
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
    // Tab leaves the City box as usual: the offers close first, so that the
    // keys that follow reach the next box and not the list.
    if (m_completer && watched == m_completer->popup() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            m_completer->popup()->hide();
            const bool forward = key == Qt::Key_Tab;
            QWidget *next = m_fields.city;
            do {
                next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
            } while (next != m_fields.city
                     && !((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled()));
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
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

    m_zoneName = QByteArray::fromStdString(place.timeZone);
    chooseZone();
}

void PlaceFinder::chooseZone()
{
    if (m_zoneName.isEmpty())
        return;
    const int year = m_fields.year->currentText().toInt();
    const int month = m_fields.month->currentIndex() + 1;
    QDate date(year, month, m_fields.day->currentText().toInt());
    if (!date.isValid()) // 31 April and the like: validation speaks of those later
        date = QDate(year, month, 1);
    const ZoneChoice choice = ChooseZone(m_zoneName, date, m_fields.hour->currentText().toInt(),
                                         m_fields.minute->currentText().toInt());
    if (choice.found) {
        m_fields.zone->setCurrentIndex(choice.zonePosition);
        m_fields.dst->setChecked(choice.daylightSaving);
        m_fields.zoneNote->clear();
        m_fields.zoneNote->hide();
    } else {
        m_fields.zoneNote->setText(choice.note);
        m_fields.zoneNote->show();
    }
}

void PlaceFinder::zoneChangedByHand()
{
    m_zoneName.clear();
    m_fields.zoneNote->clear();
    m_fields.zoneNote->hide();
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
