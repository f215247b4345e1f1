#pragma once

#include "preferencespage.h"

#include <QList>

class QCheckBox;
class QRadioButton;

// The languages of the user: the one the interface speaks, the system's or one the user picks,
// and whether characters are offered in their traditional forms. The interface's language is
// read once at start, before any window is made, so a change applies at the next start, and the
// page says so.
class LanguagePage : public PreferencesPage
{
    Q_OBJECT
public:
    explicit LanguagePage(QWidget *parent = nullptr);

    void showValues(const Preferences &preferences) override;
    void takeValues(Preferences &preferences) const override;

    // In the order of Language::Choice: System, English, Simplified, Traditional.
    const QList<QRadioButton *> &choices() const { return m_choices; }
    QCheckBox *chkTraditional() const { return m_chkTraditional; }

private:
    QList<QRadioButton *> m_choices;
    QCheckBox *m_chkTraditional = nullptr;
};
