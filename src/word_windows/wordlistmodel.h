#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

// The words the user keeps as a table, read from the database again on reload(). The windows
// differ only in what they read and which cell shows what.
class WordListModelBase : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;
    virtual void reload() = 0;
};

template <typename Item>
class WordListModel : public WordListModelBase
{
public:
    using Read = std::function<QList<Item>()>;
    // The cell's value for DisplayRole and AccessibleTextRole; other roles ask cellRole.
    using Cell = std::function<QVariant(const Item &item, int column)>;

    WordListModel(const QStringList &titles, Read read, Cell cell, QObject *parent = nullptr)
        : WordListModelBase(parent)
        , m_titles(titles)
        , m_read(std::move(read))
        , m_cell(std::move(cell))
    { }

    void reload() override
    {
        beginResetModel();
        m_items = m_read();
        endResetModel();
    }
    const QList<Item> &items() const { return m_items; }

    // Columns whose numbers are aligned right.
    void setRightAligned(int column) { m_rightAligned = column; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_items.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_titles.size());
    }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= m_items.size())
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return m_cell(m_items.at(index.row()), index.column());
        if (role == Qt::TextAlignmentRole && index.column() == m_rightAligned)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section >= 0 && section < m_titles.size() ? m_titles.at(section) : QVariant();
    }

private:
    QStringList m_titles;
    Read m_read;
    Cell m_cell;
    QList<Item> m_items;
    int m_rightAligned = -1;
};
