#include "appearancepage.h"

#include "answer/tonecolours.h"
#include "preferences/preferences.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QPushButton>

namespace {

constexpr ToneColours::Scheme schemes[]
    = {ToneColours::Scheme::Default, ToneColours::Scheme::ColourBlindSafe, ToneColours::Scheme::None};

} // namespace

AppearancePage::AppearancePage(QWidget *parent)
    : PreferencesPage(parent)
{
    // Created in tab order.
    Controls::label(this, tr("Tone colours:"), 240, 270, 1800, 375);
    m_cboScheme = new QComboBox(this);
    for (const ToneColours::Scheme scheme : schemes)
        m_cboScheme->addItem(ToneColours::schemeCaption(scheme));
    m_cboScheme->setAccessibleName(tr("Tone colours"));
    Twips::place(*m_cboScheme, 2160, 240, 2800, 420);
    connect(m_cboScheme, &QComboBox::currentIndexChanged, this, [this] {
        // Another scheme starts from its own colours.
        m_colours = {};
        showColours();
    });

    const QString names[] = {tr("Tone 1"), tr("Tone 2"), tr("Tone 3"), tr("Tone 4"), tr("Neutral")};
    for (int i = 0; i < 5; ++i) {
        m_cmdTones[i] = new QPushButton(names[i], this);
        Twips::place(*m_cmdTones[i], 240 + i * 1400, 810, 1320, 420);
        connect(m_cmdTones[i], &QPushButton::clicked, this, [this, i] { chooseColour(i); });
    }
    m_chkCharacters
        = Controls::checkBox(this, tr("Colour the characters too"), 240, 1380, 6700, 375);
    showColours();
}

void AppearancePage::chooseColour(int index)
{
    const QColor now = m_cmdTones[index]->property("colour").value<QColor>();
    const QColor chosen = QColorDialog::getColor(now, this, m_cmdTones[index]->text());
    if (!chosen.isValid())
        return;
    m_colours[index] = chosen;
    showColours();
}

void AppearancePage::showColours()
{
    const auto scheme = schemes[qBound(0, m_cboScheme->currentIndex(), 2)];
    const ToneColours::Palette palette = ToneColours::palette(scheme);
    for (int i = 0; i < 5; ++i) {
        const QColor shown = m_colours[i].isValid() ? m_colours[i] : palette.colours[i];
        QPushButton *button = m_cmdTones[i];
        button->setEnabled(!palette.isNone());
        button->setProperty("colour", shown);
        button->setStyleSheet(shown.isValid() ? QStringLiteral("color: %1").arg(shown.name())
                                              : QString());
        button->setAccessibleDescription(shown.isValid() ? shown.name() : QString());
    }
}

void AppearancePage::showValues(const Preferences &preferences)
{
    const auto scheme = ToneColours::schemeFromKey(preferences.tones.scheme)
                            .value_or(ToneColours::Scheme::Default);
    m_cboScheme->setCurrentIndex(int(std::find(std::begin(schemes), std::end(schemes), scheme)
                                     - std::begin(schemes)));
    m_colours = preferences.tones.colours;
    m_chkCharacters->setChecked(preferences.tones.characters);
    showColours();
}

void AppearancePage::takeValues(Preferences &preferences) const
{
    preferences.tones.scheme = ToneColours::schemeKey(schemes[qBound(0, m_cboScheme->currentIndex(), 2)]);
    preferences.tones.colours = m_colours;
    preferences.tones.characters = m_chkCharacters->isChecked();
}
