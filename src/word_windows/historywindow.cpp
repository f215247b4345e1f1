#include "historywindow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>

HistoryModel::HistoryModel(Words::Store &store, QObject *parent)
    : QAbstractTableModel(parent)
    , m_store(store)
{ }

void HistoryModel::reload()
{
    beginResetModel();
    m_items = m_store.history();
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 3; }

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const Words::HistoryItem &item = m_items.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (index.column()) {
        case 0:
            return item.input;
        case 1:
            return item.count;
        case 2:
            return QLocale().toString(item.lastSeen.toLocalTime(), QLocale::ShortFormat);
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const titles[]
        = {QT_TRANSLATE_NOOP("HistoryWindow", "Word"), QT_TRANSLATE_NOOP("HistoryWindow", "Times"),
           QT_TRANSLATE_NOOP("HistoryWindow", "Last looked up")};
    return section >= 0 && section < 3
        ? QCoreApplication::translate("HistoryWindow", titles[section])
        : QVariant();
}

HistoryWindow::HistoryWindow(Words::Store &store, QWidget *parent)
    : WordListWindow(QCoreApplication::translate("HistoryWindow", "History"),
                     new HistoryModel(store), parent)
    , m_store(store)
    , m_model(static_cast<HistoryModel *>(proxy()->sourceModel()))
    , m_clear(new QPushButton(QCoreApplication::translate("HistoryWindow", "Clear History"), this))
{
    table()->setColumnWidth(0, 240);
    table()->setColumnWidth(1, 60);
    buttons()->addWidget(m_clear);
    m_clear->setEnabled(store.isWritable());
    connect(m_clear, &QPushButton::clicked, this, &HistoryWindow::clearHistory);
}

void HistoryWindow::showFresh()
{
    m_model->reload();
    show();
    raise();
    activateWindow();
}

void HistoryWindow::clearHistory()
{
    const auto answer = QMessageBox::question(
        this, QCoreApplication::translate("HistoryWindow", "Clear History"),
        QCoreApplication::translate("HistoryWindow",
                                    "Remove every word from the history? This can't be undone."),
        QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Yes)
        return;
    if (!m_store.clearHistory())
        QMessageBox::warning(
            this, QCoreApplication::translate("HistoryWindow", "Clear History"),
            QCoreApplication::translate("HistoryWindow", "The history could not be cleared: %1")
                .arg(m_store.errorString()));
    m_model->reload();
}
