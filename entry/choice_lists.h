#pragma once

#include "entry/number_field.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QElapsedTimer>
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

// A list of numbers (its model a NumberListModel) in which typed digits
// pick the number they spell, whether the list is closed or open, rather than
// the next entry that begins with the last digit.
class NumberComboBox : public SizedComboBox {
    Q_OBJECT

public:
    using SizedComboBox::SizedComboBox;

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The position the typed digit leads to, if any.
    std::optional<int> typed(const QKeyEvent *event);

    NumberTypeAhead m_typeAhead;
    QElapsedTimer m_sinceLastDigit;
    quint64 m_lastPressed = 0;
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

    int first() const { return m_first; }
    int last() const { return m_first + m_count - 1; }

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
