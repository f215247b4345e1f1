#include "frmPronunciation.h"

#include "speech/synthesis.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

frmPronunciation &frmPronunciation::instance() { return sharedInstance<frmPronunciation>(); }

frmPronunciation::frmPronunciation()
    : Form(QStringLiteral("Pronunciation"), 7200, 2760)
{ }

void frmPronunciation::CreateControls(FormWindow &window)
{
    QWidget *client = window.client();
    // Created in tab order.
    m_Label1 = Controls::label(client, QStringLiteral("English voice:"), 240, 270, 1800, 375);
    m_optAmerican = new QRadioButton(QStringLiteral("American"), client);
    Twips::place(*m_optAmerican, 2160, 240, 1800, 420);
    m_optBritish = new QRadioButton(QStringLiteral("British"), client);
    Twips::place(*m_optBritish, 4080, 240, 1800, 420);
    auto *voices = new QButtonGroup(client);
    voices->addButton(m_optAmerican);
    voices->addButton(m_optBritish);
    m_optAmerican->setChecked(true);

    m_Label2 = Controls::label(client, QStringLiteral("Speed:"), 240, 810, 1800, 375);
    m_txtSpeed = new QSpinBox(client);
    m_txtSpeed->setRange(Speech::slowestSpeed, Speech::fastestSpeed);
    m_txtSpeed->setSingleStep(10);
    m_txtSpeed->setValue(Speech::defaultSpeed);
    m_txtSpeed->setSuffix(QStringLiteral(" words a minute"));
    m_txtSpeed->setAccessibleName(QStringLiteral("Speed"));
    Twips::place(*m_txtSpeed, 2160, 780, 3000, 420);

    m_chkReadAfterLookup = Controls::checkBox(
        client, QStringLiteral("Read the first entry after each lookup"), 240, 1380, 6700, 375);

    m_cmdSave = new CommandButton(QStringLiteral("Save"), client, 2160, 2000, 1335, 495);
    m_cmdCancel = new CommandButton(QStringLiteral("Cancel"), client, 3720, 2000, 1335, 495);

    connect(m_cmdSave, &QPushButton::clicked, this, [this] {
        bSaveFlag = true;
        Hide();
    });
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmPronunciation::Hide);
}

QRadioButton *frmPronunciation::optAmerican() { return control(m_optAmerican); }
QRadioButton *frmPronunciation::optBritish() { return control(m_optBritish); }
QSpinBox *frmPronunciation::txtSpeed() { return control(m_txtSpeed); }
QCheckBox *frmPronunciation::chkReadAfterLookup() { return control(m_chkReadAfterLookup); }
CommandButton *frmPronunciation::cmdSave() { return control(m_cmdSave); }
CommandButton *frmPronunciation::cmdCancel() { return control(m_cmdCancel); }
