#pragma once

#include "wordlistwindow.h"

class QPushButton;
template <typename Item>
class WordListModel;
namespace Words {
struct Favourite;
}

// "Words" → "Favourites…": the word, its reading and its first sense, newest first, with
// "Look Up", "Remove" and "Export…", which writes them for Anki.
class FavouritesWindow : public WordListWindow
{
    Q_OBJECT
public:
    FavouritesWindow(Words::Store &store, QWidget *parent);

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

    WordListModel<Words::Favourite> *m_model;
    QPushButton *m_lookUp;
    QPushButton *m_remove;
    QPushButton *m_export;
};
