#include "pronunciationpage.h"

#include "preferences/preferences.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>

PronunciationPage::PronunciationPage(QWidget *parent)
    : PreferencesPage(parent)
{
    // Created in tab order.
    Controls::label(this, tr("English voice:"), 240, 270, 1800, 375);
    m_optAmerican = new QRadioButton(tr("American"), this);
    Twips::place(*m_optAmerican, 2160, 240, 1800, 420);
    m_optBritish = new QRadioButton(tr("British"), this);
    Twips::place(*m_optBritish, 4080, 240, 1800, 420);
    auto *voices = new QButtonGroup(this);
    voices->addButton(m_optAmerican);
    voices->addButton(m_optBritish);
    m_optAmerican->setChecked(true);

    Controls::label(this, tr("Speed:"), 240, 810, 1800, 375);
    m_txtSpeed = new QSpinBox(this);
    m_txtSpeed->setRange(Speech::slowestSpeed, Speech::fastestSpeed);
    m_txtSpeed->setSingleStep(10);
    m_txtSpeed->setValue(Speech::defaultSpeed);
    m_txtSpeed->setSuffix(tr(" words a minute"));
    m_txtSpeed->setAccessibleName(tr("Speed"));
    Twips::place(*m_txtSpeed, 2160, 780, 3000, 420);

    m_chkReadAfterLookup = Controls::checkBox(this, tr("Read the first entry after each lookup"),
                                              240, 1380, 6700, 375);
}

void PronunciationPage::showValues(const Preferences &preferences)
{
    const Preferences::Pronunciation &shown = preferences.pronunciation;
    m_optBritish->setChecked(shown.english == Speech::Voice::BritishEnglish);
    m_optAmerican->setChecked(shown.english != Speech::Voice::BritishEnglish);
    m_txtSpeed->setValue(shown.speed);
    m_chkReadAfterLookup->setChecked(shown.readAfterLookup);
}

void PronunciationPage::takeValues(Preferences &preferences) const
{
    Preferences::Pronunciation &chosen = preferences.pronunciation;
    chosen.english = m_optBritish->isChecked() ? Speech::Voice::BritishEnglish
                                               : Speech::Voice::AmericanEnglish;
    chosen.speed = m_txtSpeed->value();
    chosen.readAfterLookup = m_chkReadAfterLookup->isChecked();
}
