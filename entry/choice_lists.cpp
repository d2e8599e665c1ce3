#include "entry/choice_lists.h"

#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

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
