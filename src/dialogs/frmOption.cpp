#include "frmOption.h"

#include "frmChinese.h"

#include "program/providers.h"
#include "window_layer/controls.h"
#include "window_layer/modUtility.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

frmOption &frmOption::instance() { return sharedInstance<frmOption>(); }

frmOption::frmOption()
    : Form(QCoreApplication::translate("frmOption", "Online Dictionary Query String"), 11955, 1545)
{ }

void frmOption::CreateControls(FormWindow &window)
{
    QWidget *client = window.client();
    // Created in tab-index order, which is the order Tab visits them.
    const QFont font = Controls::msSansSerif(12);

    m_Label1 = Controls::label(client, QCoreApplication::translate("frmOption", "Query String:"),
                               240, 270, 1695, 375);
    m_Label1->setFont(font);
    m_txtChinese = Controls::textBox(client, Providers::hongKongTemplate(), 2040, 240, 8895, 420);
    m_txtChinese->setFont(font);
    m_txtChinese->setAccessibleName(QCoreApplication::translate("frmOption", "Query String"));
    m_cmdSave = new CommandButton(QCoreApplication::translate("frmOption", "Save"), client, 2040,
                                  840, 1335, 495);
    m_cmdCancel = new CommandButton(QCoreApplication::translate("frmOption", "Cancel"), client,
                                    3600, 840, 1335, 495);
    m_cmdChinese = new CommandButton(QCoreApplication::translate("frmOption", "Select"), client,
                                     11040, 240, 735, 420);

    m_txtChinese->setFocus();

    connect(m_cmdSave, &QPushButton::clicked, this, &frmOption::cmdSave_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmOption::cmdCancel_Click);
    connect(m_cmdChinese, &QPushButton::clicked, this, &frmOption::cmdChinese_Click);
}

QLabel *frmOption::Label1() { return control(m_Label1); }
QLineEdit *frmOption::txtChinese() { return control(m_txtChinese); }
CommandButton *frmOption::cmdSave() { return control(m_cmdSave); }
CommandButton *frmOption::cmdCancel() { return control(m_cmdCancel); }
CommandButton *frmOption::cmdChinese() { return control(m_cmdChinese); }

void frmOption::cmdSave_Click()
{
    bSaveFlag = true;
    Hide();
}

void frmOption::cmdCancel_Click() { Hide(); }

void frmOption::cmdChinese_Click()
{
    frmChinese &chooser = frmChinese::instance();
    chooser.Load();
    chooser.bSaveFlag = false;
    modUtility::CenterForm(chooser);
    chooser.ShowModal();

    if (chooser.bSaveFlag) {
        // Each ticked box overwrites the one before: China wins over OK88 over Hong Kong.
        if (chooser.Check1()->isChecked())
            Controls::setText(*txtChinese(), Providers::hongKongTemplate());
        if (chooser.Check2()->isChecked())
            Controls::setText(*txtChinese(), Providers::ok88Template());
        if (chooser.Check3()->isChecked())
            Controls::setText(*txtChinese(), Providers::chinaTemplate());
    }
    chooser.Unload();
}
