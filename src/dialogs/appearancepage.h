#pragma once

#include "preferencespage.h"

#include <QColor>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;

// How answers look: the colours of the tones, one button a tone to choose another, and whether
// the headwords' characters take their syllables' colours too.
class AppearancePage : public PreferencesPage
{
    Q_OBJECT
public:
    explicit AppearancePage(QWidget *parent = nullptr);

    void showValues(const Preferences &preferences) override;
    void takeValues(Preferences &preferences) const override;

    QComboBox *cboScheme() const { return m_cboScheme; }
    QPushButton *cmdTone(int tone) const { return m_cmdTones.at(tone - 1); }
    QCheckBox *chkCharacters() const { return m_chkCharacters; }

private:
    void chooseColour(int index);
    void showColours();

    QComboBox *m_cboScheme = nullptr;
    std::array<QPushButton *, 5> m_cmdTones {};
    QCheckBox *m_chkCharacters = nullptr;
    std::array<QColor, 5> m_colours {}; // chosen, invalid for the scheme's own
};
