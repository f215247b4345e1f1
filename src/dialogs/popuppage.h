#pragma once

#include "preferencespage.h"

#include <functional>

class QCheckBox;
class QKeySequence;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// How the pop-up is asked for. On X11: the program's own key and whether a selection opens it by
// itself. Elsewhere a program can't take a key, so the page gives the command for the desktop's
// own shortcut settings.
class PopUpPage : public PreferencesPage
{
    Q_OBJECT
public:
    // Why keys can't be the program's, in a sentence; empty when they can.
    using KeyCheck = std::function<QString(const QKeySequence &keys)>;

    explicit PopUpPage(QWidget *parent = nullptr);

    // Set once by the program, which holds the key; without it no key is found held.
    static void setKeyCheck(KeyCheck check);

    void showValues(const Preferences &preferences) override;
    void takeValues(Preferences &preferences) const override;

    // Null on the platform that lacks them.
    QKeySequenceEdit *txtShortcut() const { return m_txtShortcut; }
    QLabel *lblKeyProblem() const { return m_lblKeyProblem; }
    QCheckBox *chkWatchSelection() const { return m_chkWatchSelection; }
    QLineEdit *txtCommand() const { return m_txtCommand; }

private:
    void createX11Controls();
    void createCommandControls();
    void checkKey();

    QKeySequenceEdit *m_txtShortcut = nullptr;
    QLabel *m_lblKeyProblem = nullptr;
    QCheckBox *m_chkWatchSelection = nullptr;
    QLineEdit *m_txtCommand = nullptr;
    QPushButton *m_cmdCopy = nullptr;
};
