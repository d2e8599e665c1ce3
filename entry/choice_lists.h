#pragma once

#include <QAbstractListModel>
#include <QComboBox>
#include <QStringList>

// A drop-down list as wide as a given number of characters, like Qt's own
// sizing by a minimum contents length, but without building the pop-up list
// until it is first opened: the birth form holds fourteen of these.
class SizedComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SizedComboBox(int characters, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int m_characters;
};

// The whole numbers first..last as list entries, made when asked for, so
// both people's lists share one model and no entry is stored.
class NumberListModel : public QAbstractListModel {
    Q_OBJECT

public:
    NumberListModel(int first, int last, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    int m_first;
    int m_count;
};

// One person's zone list: the zone table's rows, shared with the other
// person's list, and at most one extra entry after them holding an exact
// offset that no row has.
class ZoneListModel : public QAbstractListModel {
    Q_OBJECT

public:
    ZoneListModel(const QStringList &rows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Adds the extra entry, or replaces its text and offset.
    void setExtraEntry(const QString &text, int offsetSeconds);
    void removeExtraEntry();
    bool hasExtraEntry() const { return m_hasExtra; }
    // The extra entry's position, just after the rows.
    int extraEntryPosition() const { return static_cast<int>(m_rows.size()); }
    // The clock's lead on Universal Time that the extra entry stands for.
    int extraOffsetSeconds() const { return m_extraOffset; }
    QString extraEntryText() const { return m_extraText; }

private:
    QStringList m_rows;
    QString m_extraText;
    int m_extraOffset = 0;
    bool m_hasExtra = false;
};
