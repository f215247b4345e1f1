#include "frmAbout.h"

#include "program/providers.h"
#include "window_layer/accessibility.h"
#include "window_layer/controls.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>

frmAbout &frmAbout::instance() { return sharedInstance<frmAbout>(); }

frmAbout::frmAbout()
    : Form(QCoreApplication::translate("frmAbout", "About Tavrel Dictionary"), 5475, 3090,
           QPointF(5250, 4095))
{ }

void frmAbout::CreateControls(FormWindow &window)
{
    QWidget *client = window.client();

    // Created in tab-index order. Only "OK" takes the focus. The leading blanks of the first
    // three captions are what moves them right inside their frame.
    m_cmdOK = new CommandButton(QCoreApplication::translate("frmAbout", "OK"), client, 4080, 240,
                                1335, 375);
    // The contact frame's top border lies one pixel over the product frame's bottom border.
    m_Frame1 = Controls::frame(client, 240, 1440, 3735, 1455);
    Accessibility::makeGroup(*m_Frame1, QCoreApplication::translate("frmAbout", "Contact points"));
    m_Label6 = Controls::label(m_Frame1,
                               QCoreApplication::translate("frmAbout", "Email: ")
                                   + Providers::makerSupportEmail(),
                               120, 840, 3135, 255);
    m_Label5 = Controls::label(
        m_Frame1, QCoreApplication::translate("frmAbout", "Url:     ") + Providers::makerWebsite(),
        120, 600, 3255, 255);
    m_Label4
        = Controls::label(m_Frame1, QCoreApplication::translate("frmAbout", "Contact points are:"),
                          120, 360, 3135, 255);
    m_Frame2 = Controls::frame(client, 240, 0, 3735, 1455);
    Accessibility::makeGroup(*m_Frame2, QCoreApplication::translate("frmAbout", "Product"));
    m_Label3 = Controls::label(m_Frame2,
                               QCoreApplication::translate("frmAbout", "              version 1.1"),
                               720, 600, 2175, 255);
    m_Label2 = Controls::label(
        m_Frame2, QCoreApplication::translate("frmAbout", "      All rights reserved."), 840, 960,
        2175, 255);
    m_Label1 = Controls::label(m_Frame2, QStringLiteral("         Tavrel Dictionary"), 720, 360,
                               2295, 255);

    m_cmdOK->setFocus();

    connect(m_cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

CommandButton *frmAbout::cmdOK() { return control(m_cmdOK); }
QFrame *frmAbout::Frame1() { return control(m_Frame1); }
QLabel *frmAbout::Label6() { return control(m_Label6); }
QLabel *frmAbout::Label5() { return control(m_Label5); }
QLabel *frmAbout::Label4() { return control(m_Label4); }
QFrame *frmAbout::Frame2() { return control(m_Frame2); }
QLabel *frmAbout::Label3() { return control(m_Label3); }
QLabel *frmAbout::Label2() { return control(m_Label2); }
QLabel *frmAbout::Label1() { return control(m_Label1); }

void frmAbout::cmdOK_Click() { Unload(); }
