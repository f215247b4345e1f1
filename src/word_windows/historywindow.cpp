#include "historywindow.h"

#include "wordlistmodel.h"

#include "words/store.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

namespace {

WordListModelBase *historyModel(Words::Store &store)
{
    auto *model = new WordListModel<Words::HistoryItem>(
        {QCoreApplication::translate("HistoryWindow", "Word"),
         QCoreApplication::translate("HistoryWindow", "Times"),
         QCoreApplication::translate("HistoryWindow", "Last looked up")},
        [&store] { return store.history(); },
        [](const Words::HistoryItem &item, int column) -> QVariant {
            switch (column) {
            case 0:
                return item.input;
            case 1:
                return item.count;
            case 2:
                return QLocale().toString(item.lastSeen.toLocalTime(), QLocale::ShortFormat);
            }
            return {};
        });
    model->setRightAligned(1);
    return model;
}

} // namespace

HistoryWindow::HistoryWindow(Words::Store &store, QWidget *parent)
    : WordListWindow(QCoreApplication::translate("HistoryWindow", "History"), historyModel(store),
                     store, parent)
    , m_clear(new QPushButton(QCoreApplication::translate("HistoryWindow", "Clear History"), this))
{
    table()->setColumnWidth(0, 240);
    table()->setColumnWidth(1, 60);
    buttons()->addWidget(m_clear);
    m_clear->setEnabled(store.isWritable());
    connect(m_clear, &QPushButton::clicked, this, &HistoryWindow::clearHistory);
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
    if (!store().clearHistory())
        QMessageBox::warning(
            this, QCoreApplication::translate("HistoryWindow", "Clear History"),
            QCoreApplication::translate("HistoryWindow", "The history could not be cleared: %1")
                .arg(store().errorString()));
    model()->reload();
}
