#pragma once

#include <QObject>
#include <QList>
#include <QString>
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
    // A word whose lookup is in the history already, or on its way there.
    void takeKept(const QString &word);

private:
    struct Waiting
    {
        QString word;
        bool record = true;
    };

    void show();
    void lookUpWhenNoDialog();

    QList<Waiting> m_waiting;
    QTimer m_dialogCheck;
};
