#pragma once

#include <QWidget>

class WordListModelBase;
namespace Words {
class Store;
}
class QHBoxLayout;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

// A window that lists words the user keeps, over a model of the database: a filter box, the
// table, and a row of buttons. A double-click or Enter on a row looks its word up again.
class WordListWindow : public QWidget
{
    Q_OBJECT
public:
    // The model's first column holds the word looked up.
    WordListWindow(const QString &title, WordListModelBase *model, Words::Store &store,
                   QWidget *parent);

    // Shows the list as it is now in the database.
    void showFresh();
    // Reads the list again, if the window is shown.
    void refresh();

    QLineEdit *filterBox() const { return m_filter; }
    QTableView *table() const { return m_table; }
    QSortFilterProxyModel *proxy() const { return m_proxy; }

    // The word of the row chosen in the table; empty when none is.
    QString chosenWord() const;

signals:
    void lookUpRequested(const QString &word);

protected:
    // Where the window's own buttons go, under the table.
    QHBoxLayout *buttons() const { return m_buttons; }
    void lookUpChosen();
    WordListModelBase *model() const { return m_model; }
    // The database the list is read from and changed in.
    Words::Store &store() const { return m_store; }

private:
    void setUpFilter();
    void setUpTable();
    void layOut();

    WordListModelBase *m_model = nullptr;
    Words::Store &m_store;
    QLineEdit *m_filter = nullptr;
    QTableView *m_table = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QHBoxLayout *m_buttons = nullptr;
};
