#pragma once

#include "window_layer/form.h"

class CommandButton;
class QCheckBox;
class QFrame;
class QLabel;

// Offers the three dictionary providers' templates. Loaded afresh for every use, so its boxes
// always start unticked; the caller reads them once the modal show has returned.
class frmChinese : public Form
{
    Q_OBJECT
public:
    static frmChinese &instance();

    CommandButton *cmdOK();
    CommandButton *cmdCancel();
    QFrame *Frame1();
    QCheckBox *Check1();
    QLabel *Label1();
    QCheckBox *Check2();
    QLabel *Label2();
    QCheckBox *Check3();
    QLabel *Label3();

    // Set by "OK"; cleared by whoever shows the window, read once the show has returned.
    bool bSaveFlag = false;

protected:
    void CreateControls(FormWindow &window) override;

private:
    frmChinese();
    friend class Form;

    void cmdOK_Click();
    void cmdCancel_Click();

    QPointer<CommandButton> m_cmdOK;
    QPointer<CommandButton> m_cmdCancel;
    QPointer<QFrame> m_Frame1;
    QPointer<QCheckBox> m_Check1;
    QPointer<QLabel> m_Label1;
    QPointer<QCheckBox> m_Check2;
    QPointer<QLabel> m_Label2;
    QPointer<QCheckBox> m_Check3;
    QPointer<QLabel> m_Label3;
};
