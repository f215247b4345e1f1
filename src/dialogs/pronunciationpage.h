#pragma once

#include "preferencespage.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

// How words are read aloud: the English voice, the speed, and whether each answer's first entry
// is read once it is shown.
class PronunciationPage : public PreferencesPage
{
    Q_OBJECT
public:
    explicit PronunciationPage(QWidget *parent = nullptr);

    void showValues(const Preferences &preferences) override;
    void takeValues(Preferences &preferences) const override;

    QRadioButton *optAmerican() const { return m_optAmerican; }
    QRadioButton *optBritish() const { return m_optBritish; }
    QSpinBox *txtSpeed() const { return m_txtSpeed; }
    QCheckBox *chkReadAfterLookup() const { return m_chkReadAfterLookup; }

private:
    QRadioButton *m_optAmerican = nullptr;
    QRadioButton *m_optBritish = nullptr;
    QSpinBox *m_txtSpeed = nullptr;
    QCheckBox *m_chkReadAfterLookup = nullptr;
};
