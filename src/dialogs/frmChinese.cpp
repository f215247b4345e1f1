#include "frmChinese.h"

#include "window_layer/accessibility.h"
#include "window_layer/controls.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>

frmChinese &frmChinese::instance() { return sharedInstance<frmChinese>(); }

frmChinese::frmChinese()
    : Form(
        QCoreApplication::translate("frmChinese", "Select Online Dictionary Provider Suggestion"),
        7455, 2295)
{ }

void frmChinese::CreateControls(FormWindow &window)
{
    QWidget *client = window.client();
    const QFont font = Controls::msSansSerif(12);
    // Only the boxes show: each is as wide as its square, so the caption is cut off and the
    // provider's name is the label beside it. Clicking a name ticks nothing. A screen reader,
    // which would read the cut-off caption, is given the provider's name instead.
    const QString caption = QStringLiteral("Check1");
    const auto providerLabel = [&font](QCheckBox *box, const QString &name, float top) {
        box->setAccessibleName(name);
        QLabel *label = Controls::label(box->parentWidget(), name, 600, top, 4815, 375);
        label->setFont(font);
        return label;
    };

    // Created in tab-index order, which is the order Tab visits them: "OK", "Cancel", then the
    // boxes Hong Kong, OK88, China, though China stands above OK88 on the screen.
    m_cmdOK = new CommandButton(QCoreApplication::translate("frmChinese", "OK"), client, 6000, 360,
                                1215, 495);
    m_cmdCancel = new CommandButton(QCoreApplication::translate("frmChinese", "Cancel"), client,
                                    6000, 960, 1215, 495);
    m_Frame1 = Controls::frame(client, 240, 240, 5655, 1815);
    Accessibility::makeGroup(*m_Frame1,
                             QCoreApplication::translate("frmChinese", "Provider suggestions"));
    m_Check1 = Controls::checkBox(m_Frame1, caption, 120, 240, 255, 255);
    m_Label1 = providerLabel(
        m_Check1, QCoreApplication::translate("frmChinese", "Yahoo Dictionary (Hong Kong)"), 240);
    m_Check2 = Controls::checkBox(m_Frame1, caption, 120, 1200, 255, 255);
    m_Label2 = providerLabel(m_Check2, QCoreApplication::translate("frmChinese", "OK88 Dictionary"),
                             1200);
    m_Check3 = Controls::checkBox(m_Frame1, caption, 120, 720, 255, 255);
    m_Label3 = providerLabel(
        m_Check3, QCoreApplication::translate("frmChinese", "Yahoo Dictionary (China)"), 720);

    m_cmdOK->setFocus();

    connect(m_cmdOK, &QPushButton::clicked, this, &frmChinese::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmChinese::cmdCancel_Click);
}

CommandButton *frmChinese::cmdOK() { return control(m_cmdOK); }
CommandButton *frmChinese::cmdCancel() { return control(m_cmdCancel); }
QFrame *frmChinese::Frame1() { return control(m_Frame1); }
QCheckBox *frmChinese::Check1() { return control(m_Check1); }
QLabel *frmChinese::Label1() { return control(m_Label1); }
QCheckBox *frmChinese::Check2() { return control(m_Check2); }
QLabel *frmChinese::Label2() { return control(m_Label2); }
QCheckBox *frmChinese::Check3() { return control(m_Check3); }
QLabel *frmChinese::Label3() { return control(m_Label3); }

void frmChinese::cmdOK_Click()
{
    bSaveFlag = true;
    Hide();
}

void frmChinese::cmdCancel_Click() { Hide(); }
