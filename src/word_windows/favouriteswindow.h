#pragma once

#include "wordlistwindow.h"

#include "words/store.h"

#include <QAbstractTableModel>

class QPushButton;

// The favourites as a table: the word, its reading and its first sense; newest first.
class FavouritesModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit FavouritesModel(Words::Store &store, QObject *parent = nullptr);

    void reload();
    const QList<Words::Favourite> &favourites() const { return m_items; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    Words::Store &m_store;
    QList<Words::Favourite> m_items;
};

// "Words" → "Favourites…": the favourites, with "Look Up", "Remove" and "Export…", which writes
// them for Anki.
class FavouritesWindow : public WordListWindow
{
    Q_OBJECT
public:
    FavouritesWindow(Words::Store &store, QWidget *parent);

    void showFresh();
    // Reads the favourites again, if the window is shown.
    void refresh();

    QPushButton *lookUpButton() const { return m_lookUp; }
    QPushButton *removeButton() const { return m_remove; }
    QPushButton *exportButton() const { return m_export; }

    // Writes every favourite to path for Anki; shows a message when that fails.
    bool exportTo(const QString &path);

signals:
    // A favourite was removed here: answers shown may hold its star.
    void favouritesChanged();

private:
    void removeChosen();
    void exportChosenFile();

    Words::Store &m_store;
    FavouritesModel *m_model;
    QPushButton *m_lookUp;
    QPushButton *m_remove;
    QPushButton *m_export;
};
