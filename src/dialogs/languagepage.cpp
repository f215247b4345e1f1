#include "languagepage.h"

#include "preferences/preferences.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

LanguagePage::LanguagePage(QWidget *parent)
    : PreferencesPage(parent)
{
    // Created in tab order; the interface's languages in two columns.
    Controls::label(this, tr("Interface language:"), 240, 270, 1800, 375);
    // Each language is named in its own script, whatever the interface speaks: a user who can't
    // read the current one still finds their own.
    const QString captions[] = {tr("System"), QStringLiteral("English"),
                                QStringLiteral("简体中文"), QStringLiteral("繁體中文")};
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *button = new QRadioButton(captions[i], this);
        Twips::place(*button, 2160 + (i % 2) * 2400, 240 + (i / 2) * 420, 2280, 420);
        group->addButton(button);
        m_choices << button;
    }
    m_choices.first()->setChecked(true);

    QLabel *note = Controls::label(
        this,
        tr("The interface changes to the language chosen at the next start of the program."),
        240, 1100, 7080, 480);
    note->setWordWrap(true);

    m_chkTraditional = Controls::checkBox(
        this, tr("I read traditional characters (handwriting offers them too)"), 240, 1620, 7000,
        375);
}

void LanguagePage::showValues(const Preferences &preferences)
{
    m_choices.value(int(preferences.language), m_choices.first())->setChecked(true);
    m_chkTraditional->setChecked(preferences.traditionalCharacters);
}

void LanguagePage::takeValues(Preferences &preferences) const
{
    for (int i = 0; i < m_choices.size(); ++i)
        if (m_choices.at(i)->isChecked())
            preferences.language = Language::Choice(i);
    preferences.traditionalCharacters = m_chkTraditional->isChecked();
}
