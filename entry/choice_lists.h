#pragma once

#include <QAbstractListModel>
#include <QComboBox>

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
