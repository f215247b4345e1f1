#include "wordlistwindow.h"

#include "wordlistmodel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

WordListWindow::WordListWindow(const QString &title, WordListModelBase *model,
                               Words::Store &store, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(model)
    , m_store(store)
    , m_filter(new QLineEdit(this))
    , m_table(new QTableView(this))
    , m_proxy(new QSortFilterProxyModel(this))
    , m_buttons(new QHBoxLayout)
{
    setWindowTitle(title);
    resize(560, 480);

    setUpFilter();
    setUpTable();
    layOut();
}

void WordListWindow::setUpFilter()
{
    m_model->setParent(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setFilterKeyColumn(0);

    m_filter->setPlaceholderText(QCoreApplication::translate("WordListWindow", "Filter"));
    m_filter->setAccessibleName(QCoreApplication::translate("WordListWindow", "Filter"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, m_proxy,
            &QSortFilterProxyModel::setFilterFixedString);

}

void WordListWindow::setUpTable()
{
    // Rows of one height and columns of set widths: nothing is measured row by row, so ten
    // thousand rows show as fast as ten.
    m_table->setModel(m_proxy);
    m_table->setAccessibleName(windowTitle());
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setDefaultSectionSize(160);
    connect(m_table, &QAbstractItemView::activated, this, &WordListWindow::lookUpChosen);

}

void WordListWindow::layOut()
{
    auto *top = new QHBoxLayout;
    auto *label = new QLabel(QCoreApplication::translate("WordListWindow", "&Filter:"), this);
    label->setBuddy(m_filter);
    top->addWidget(label);
    top->addWidget(m_filter);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table);
    layout->addLayout(m_buttons);
    m_buttons->addStretch();
}

QString WordListWindow::chosenWord() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? current.siblingAtColumn(0).data().toString() : QString();
}

void WordListWindow::lookUpChosen()
{
    const QString word = chosenWord();
    if (!word.isEmpty())
        emit lookUpRequested(word);
}

void WordListWindow::showFresh()
{
    m_model->reload();
    show();
    raise();
    activateWindow();
}

void WordListWindow::refresh()
{
    if (isVisible())
        m_model->reload();
}
