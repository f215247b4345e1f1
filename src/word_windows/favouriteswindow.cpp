#include "favouriteswindow.h"

#include "wordlistmodel.h"

#include "words/flashcards.h"
#include "words/store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>

namespace {

WordListModel<Words::Favourite> *favouritesModel(Words::Store &store)
{
    return new WordListModel<Words::Favourite>(
        {QCoreApplication::translate("FavouritesWindow", "Word"),
         QCoreApplication::translate("FavouritesWindow", "Reading"),
         QCoreApplication::translate("FavouritesWindow", "Meaning")},
        [&store] { return store.favourites(); },
        [](const Words::Favourite &item, int column) -> QVariant {
            switch (column) {
            case 0:
                return item.word;
            case 1:
                return item.reading;
            case 2:
                return item.senses.value(0);
            }
            return {};
        });
}

} // namespace

FavouritesWindow::FavouritesWindow(Words::Store &store, QWidget *parent)
    : WordListWindow(QCoreApplication::translate("FavouritesWindow", "Favourites"),
                     favouritesModel(store), store, parent)
    , m_model(static_cast<WordListModel<Words::Favourite> *>(model()))
    , m_lookUp(new QPushButton(QCoreApplication::translate("FavouritesWindow", "Look Up"), this))
    , m_remove(new QPushButton(QCoreApplication::translate("FavouritesWindow", "Remove"), this))
    , m_export(new QPushButton(QCoreApplication::translate("FavouritesWindow", "Export…"), this))
{
    table()->setColumnWidth(0, 140);
    table()->setColumnWidth(1, 140);
    buttons()->addWidget(m_lookUp);
    buttons()->addWidget(m_remove);
    buttons()->addWidget(m_export);
    m_remove->setEnabled(store.isWritable());
    connect(m_lookUp, &QPushButton::clicked, this, [this] { lookUpChosen(); });
    connect(m_remove, &QPushButton::clicked, this, &FavouritesWindow::removeChosen);
    connect(m_export, &QPushButton::clicked, this, &FavouritesWindow::exportChosenFile);
}

void FavouritesWindow::removeChosen()
{
    const QModelIndex current = proxy()->mapToSource(table()->currentIndex());
    if (!current.isValid())
        return;
    const Words::Favourite chosen = m_model->items().at(current.row());
    if (!store().removeFavourite(chosen.word, chosen.reading))
        QMessageBox::warning(
            this, QCoreApplication::translate("FavouritesWindow", "Remove"),
            QCoreApplication::translate("FavouritesWindow", "%1 could not be removed: %2")
                .arg(chosen.word, store().errorString()));
    m_model->reload();
    emit favouritesChanged();
}

bool FavouritesWindow::exportTo(const QString &path)
{
    QString error;
    if (Words::Flashcards::write(path, store().favourites(), &error))
        return true;
    QMessageBox::warning(this, QCoreApplication::translate("FavouritesWindow", "Export"),
                         QCoreApplication::translate(
                             "FavouritesWindow", "The favourites could not be written to\n%1\n\n%2")
                             .arg(QDir::toNativeSeparators(path), error));
    return false;
}

void FavouritesWindow::exportChosenFile()
{
    const QString path = QFileDialog::getSaveFileName(
        this, QCoreApplication::translate("FavouritesWindow", "Export Favourites for Anki"),
        QDir::home().filePath(QStringLiteral("favourites.txt")),
        QCoreApplication::translate("FavouritesWindow", "Text files (*.txt);;All files (*)"));
    if (!path.isEmpty())
        exportTo(path);
}
