#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Words that come from outside the main window, from the command line or from another copy:
// each is looked up as a click on "Translate" would, and the main window comes to the front.
// While a dialog of the program is shown, the words wait until it has closed; the dialog comes
// to the front meanwhile.
class WordsFromOutside : public QObject
{
    Q_OBJECT
public:
    explicit WordsFromOutside(QObject *parent = nullptr);

    void take(const QString &word);

private:
    void lookUpWhenNoDialog();

    QStringList m_waiting;
    QTimer m_dialogCheck;
};
