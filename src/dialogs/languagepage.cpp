#include "languagepage.h"

#include "preferences/preferences.h"
#include "window_layer/controls.h"

#include <QCheckBox>

LanguagePage::LanguagePage(QWidget *parent)
    : PreferencesPage(parent)
{
    m_chkTraditional = Controls::checkBox(
        this, tr("I read traditional characters (handwriting offers them too)"), 240, 240, 7000,
        375);
}

void LanguagePage::showValues(const Preferences &preferences)
{
    m_chkTraditional->setChecked(preferences.traditionalCharacters);
}

void LanguagePage::takeValues(Preferences &preferences) const
{
    preferences.traditionalCharacters = m_chkTraditional->isChecked();
}
