#pragma once

#include "words/suggestions.h"

#include <QListView>

class QLineEdit;
class QStandardItemModel;

// The list of suggestions under the word box. It never takes the focus: the box keeps it, and
// with it the keys and the input method. Down and Up choose a suggestion, Enter takes the one
// chosen, Escape or a click anywhere else closes the list. Enter with none chosen is left to the
// box, as it was before there was a list.
class SuggestionList : public QListView
{
    Q_OBJECT
public:
    // Placed under box, in the box's own window.
    explicit SuggestionList(QLineEdit *box);

    // Shows these suggestions, none chosen; hides the list when there are none.
    void showSuggestions(const QList<Words::Suggestion> &suggestions);
    QList<Words::Suggestion> suggestions() const { return m_suggestions; }

    // The row chosen with Down and Up; -1 for none.
    int chosenRow() const;

signals:
    // The user took a suggestion, with Enter or a click.
    void taken(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void place();
    void choose(int row);
    void take(int row);

    QLineEdit *m_box;
    QStandardItemModel *m_model;
    QList<Words::Suggestion> m_suggestions;
    bool m_painted = false;
};
