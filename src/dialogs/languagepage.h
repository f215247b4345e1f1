#pragma once

#include "preferencespage.h"

#include <QList>

class QRadioButton;

// The language the interface speaks: the system's, or one the user picks. Read once at start,
// before any window is made, so a change applies at the next start, and the page says so.
class LanguagePage : public PreferencesPage
{
    Q_OBJECT
public:
    explicit LanguagePage(QWidget *parent = nullptr);

    void showValues(const Preferences &preferences) override;
    void takeValues(Preferences &preferences) const override;

    // In the order of Language::Choice: System, English, Simplified, Traditional.
    const QList<QRadioButton *> &choices() const { return m_choices; }

private:
    QList<QRadioButton *> m_choices;
};
