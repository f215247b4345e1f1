#include "frmPronunciation.h"

#include "speech/synthesis.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

frmPronunciation &frmPronunciation::instance() { return sharedInstance<frmPronunciation>(); }

frmPronunciation::frmPronunciation()
    : Form(QCoreApplication::translate("frmPronunciation", "Pronunciation"), 7200, 2760)
{ }

void frmPronunciation::CreateControls(FormWindow &window)
{
    QWidget *client = window.client();
    // Created in tab order.
    m_Label1
        = Controls::label(client, QCoreApplication::translate("frmPronunciation", "English voice:"),
                          240, 270, 1800, 375);
    m_optAmerican
        = new QRadioButton(QCoreApplication::translate("frmPronunciation", "American"), client);
    Twips::place(*m_optAmerican, 2160, 240, 1800, 420);
    m_optBritish
        = new QRadioButton(QCoreApplication::translate("frmPronunciation", "British"), client);
    Twips::place(*m_optBritish, 4080, 240, 1800, 420);
    auto *voices = new QButtonGroup(client);
    voices->addButton(m_optAmerican);
    voices->addButton(m_optBritish);
    m_optAmerican->setChecked(true);

    m_Label2 = Controls::label(client, QCoreApplication::translate("frmPronunciation", "Speed:"),
                               240, 810, 1800, 375);
    m_txtSpeed = new QSpinBox(client);
    m_txtSpeed->setRange(Speech::slowestSpeed, Speech::fastestSpeed);
    m_txtSpeed->setSingleStep(10);
    m_txtSpeed->setValue(Speech::defaultSpeed);
    m_txtSpeed->setSuffix(QCoreApplication::translate("frmPronunciation", " words a minute"));
    m_txtSpeed->setAccessibleName(QCoreApplication::translate("frmPronunciation", "Speed"));
    Twips::place(*m_txtSpeed, 2160, 780, 3000, 420);

    m_chkReadAfterLookup = Controls::checkBox(
        client,
        QCoreApplication::translate("frmPronunciation", "Read the first entry after each lookup"),
        240, 1380, 6700, 375);

    m_cmdSave = new CommandButton(QCoreApplication::translate("frmPronunciation", "Save"), client,
                                  2160, 2000, 1335, 495);
    m_cmdCancel = new CommandButton(QCoreApplication::translate("frmPronunciation", "Cancel"),
                                    client, 3720, 2000, 1335, 495);

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
