#include "entry/choice_lists.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <limits>

SizedComboBox::SizedComboBox(int characters, QWidget *parent)
    : QComboBox(parent)
    , m_characters(std::max(characters, 1))
{
}

QSize SizedComboBox::sizeHint() const
{
    ensurePolished();
    // The same measure Qt takes for a list sized by characters with room
    // for an icon: that many widths of "X", then the style's frame and arrow.
    const QFontMetrics metrics = fontMetrics();
    const QSize icon = iconSize();
    const QSize contents(metrics.horizontalAdvance(QLatin1Char('X')) * m_characters + icon.width() + 4,
                         std::max({metrics.height(), 14, icon.height()}) + 2);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
}

QSize SizedComboBox::minimumSizeHint() const
{
    return sizeHint();
}

std::optional<int> NumberComboBox::typed(const QKeyEvent *event)
{
    const auto *numbers = qobject_cast<const NumberListModel *>(model());
    const QString text = event->text();
    if (!numbers || text.size() != 1 || !text.front().isDigit() || text.front().unicode() > '9'
        || (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) != Qt::NoModifier)
        return std::nullopt;
    // The pause is measured between the keys as they were pressed, where the
    // system says when, so that a busy moment of the program's splits no number.
    const quint64 pressed = event->timestamp();
    const qint64 since = pressed != 0 && m_lastPressed != 0 ? qint64(pressed - m_lastPressed)
        : m_sinceLastDigit.isValid()                         ? m_sinceLastDigit.elapsed()
                                                             : std::numeric_limits<qint64>::max();
    const bool afresh = since >= QApplication::keyboardInputInterval();
    m_lastPressed = pressed;
    m_sinceLastDigit.start();
    // A digit that spells nothing is still taken, so no other search runs.
    return m_typeAhead.type(char(text.front().unicode()), numbers->first(), numbers->last(), afresh).value_or(-1);
}

void NumberComboBox::keyPressEvent(QKeyEvent *event)
{
    if (const std::optional<int> position = typed(event)) {
        if (*position >= 0 && *position != currentIndex()) {
            setCurrentIndex(*position);
            Q_EMIT activated(*position);
        }
        return;
    }
    SizedComboBox::keyPressEvent(event);
}

void NumberComboBox::showPopup()
{
    // The open list takes the keys; digits there spell numbers too.
    view()->installEventFilter(this);
    SizedComboBox::showPopup();
}

bool NumberComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress) {
        if (const std::optional<int> position = typed(static_cast<QKeyEvent *>(event))) {
            if (*position >= 0)
                view()->setCurrentIndex(model()->index(*position, modelColumn(), rootModelIndex()));
            return true;
        }
    }
    return SizedComboBox::eventFilter(watched, event);
}

NumberListModel::NumberListModel(int first, int last, QObject *parent)
    : QAbstractListModel(parent)
    , m_first(first)
    , m_count(std::max(last - first + 1, 0))
{
}

int NumberListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant NumberListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_count)
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return QString::number(m_first + index.row());
}

Qt::ItemFlags NumberListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

ZoneListModel::ZoneListModel(const QStringList &rows, QObject *parent)
    : QAbstractListModel(parent)
    , m_rows(rows)
{
}

int ZoneListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size()) + (m_hasExtra ? 1 : 0);
}

QVariant ZoneListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return index.row() < m_rows.size() ? m_rows.at(index.row()) : m_extraText;
}

Qt::ItemFlags ZoneListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void ZoneListModel::setExtraEntry(const QString &text, int offsetSeconds)
{
    m_extraOffset = offsetSeconds;
    m_extraText = text;
    const int position = extraEntryPosition();
    if (m_hasExtra) {
        Q_EMIT dataChanged(index(position), index(position));
        return;
    }
    beginInsertRows({}, position, position);
    m_hasExtra = true;
    endInsertRows();
}

void ZoneListModel::removeExtraEntry()
{
    if (!m_hasExtra)
        return;
    const int position = extraEntryPosition();
    beginRemoveRows({}, position, position);
    m_hasExtra = false;
    m_extraText.clear();
    m_extraOffset = 0;
    endRemoveRows();
}
