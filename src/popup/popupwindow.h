#pragma once

#include <QWidget>

class AnswerView;
class QLabel;
class QToolButton;

// The small window that answers a word beside the program the user reads in: the built-in
// dictionaries' answer, drawn as the main window draws it, with a way on to the main window.
// Escape closes it, and so does a click elsewhere unless it is pinned.
class PopUpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PopUpWindow(QWidget *parent = nullptr);

    // Shows the built-in answer for word.
    void showAnswer(const QString &word);
    // Shows a line of text instead of an answer, such as "Nothing selected".
    void showMessage(const QString &text);

    AnswerView *answerView() const { return m_answer; }
    QString word() const { return m_word; }
    bool isPinned() const;

signals:
    void openInMainWindow(const QString &word);
    void closed();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_word;
    QLabel *m_title = nullptr;
    QLabel *m_message = nullptr;
    AnswerView *m_answer = nullptr;
    QToolButton *m_pin = nullptr;
    QToolButton *m_open = nullptr;
    bool m_wasActive = false;
    bool m_paintDue = false; // an answer not painted yet, for the timing mark
};
