#include "favouriteswindow.h"

#include "words/flashcards.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>

FavouritesModel::FavouritesModel(Words::Store &store, QObject *parent)
    : QAbstractTableModel(parent)
    , m_store(store)
{ }

void FavouritesModel::reload()
{
    beginResetModel();
    m_items = m_store.favourites();
    endResetModel();
}

int FavouritesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int FavouritesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant FavouritesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size()
        || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    const Words::Favourite &item = m_items.at(index.row());
    switch (index.column()) {
    case 0:
        return item.word;
    case 1:
        return item.reading;
    case 2:
        return item.senses.value(0);
    }
    return {};
}

QVariant FavouritesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const titles[] = {QT_TRANSLATE_NOOP("FavouritesWindow", "Word"),
                                         QT_TRANSLATE_NOOP("FavouritesWindow", "Reading"),
                                         QT_TRANSLATE_NOOP("FavouritesWindow", "Meaning")};
    return section >= 0 && section < 3
        ? QCoreApplication::translate("FavouritesWindow", titles[section])
        : QVariant();
}

FavouritesWindow::FavouritesWindow(Words::Store &store, QWidget *parent)
    : WordListWindow(QCoreApplication::translate("FavouritesWindow", "Favourites"),
                     new FavouritesModel(store), parent)
    , m_store(store)
    , m_model(static_cast<FavouritesModel *>(proxy()->sourceModel()))
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

void FavouritesWindow::showFresh()
{
    m_model->reload();
    show();
    raise();
    activateWindow();
}

void FavouritesWindow::refresh()
{
    if (isVisible())
        m_model->reload();
}

void FavouritesWindow::removeChosen()
{
    const QModelIndex current = proxy()->mapToSource(table()->currentIndex());
    if (!current.isValid())
        return;
    const Words::Favourite chosen = m_model->favourites().at(current.row());
    if (!m_store.removeFavourite(chosen.word, chosen.reading))
        QMessageBox::warning(
            this, QCoreApplication::translate("FavouritesWindow", "Remove"),
            QCoreApplication::translate("FavouritesWindow", "%1 could not be removed: %2")
                .arg(chosen.word, m_store.errorString()));
    m_model->reload();
    emit favouritesChanged();
}

bool FavouritesWindow::exportTo(const QString &path)
{
    QString error;
    if (Words::Flashcards::write(path, m_store.favourites(), &error))
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
