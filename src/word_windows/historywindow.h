#pragma once

#include "wordlistwindow.h"

#include <QAbstractTableModel>

#include "words/store.h"

class QPushButton;

// The history as a table: the input, how often it was looked up, and when last; newest first.
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit HistoryModel(Words::Store &store, QObject *parent = nullptr);

    // Reads the history from the database again.
    void reload();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    Words::Store &m_store;
    QList<Words::HistoryItem> m_items;
};

// "Words" → "History…": the history, a filter box, and "Clear History", which asks first.
class HistoryWindow : public WordListWindow
{
    Q_OBJECT
public:
    HistoryWindow(Words::Store &store, QWidget *parent);

    // Shows the history as it is now.
    void showFresh();

    QPushButton *clearButton() const { return m_clear; }

private:
    void clearHistory();

    Words::Store &m_store;
    HistoryModel *m_model;
    QPushButton *m_clear;
};
