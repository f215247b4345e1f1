#pragma once

#include "window_layer/form.h"

class CommandButton;
class QFrame;
class QLabel;

// The product's name and version, a rights notice and the maker's contact points. Loaded for each
// showing; "OK" unloads it, so it always opens at the same place with the same content.
class frmAbout : public Form
{
    Q_OBJECT
public:
    static frmAbout &instance();

    CommandButton *cmdOK();
    QFrame *Frame1();
    QLabel *Label6();
    QLabel *Label5();
    QLabel *Label4();
    QFrame *Frame2();
    QLabel *Label3();
    QLabel *Label2();
    QLabel *Label1();

protected:
    void CreateControls(FormWindow &window) override;

private:
    frmAbout();
    friend class Form;

    void cmdOK_Click();

    QPointer<CommandButton> m_cmdOK;
    QPointer<QFrame> m_Frame1;
    QPointer<QLabel> m_Label6;
    QPointer<QLabel> m_Label5;
    QPointer<QLabel> m_Label4;
    QPointer<QFrame> m_Frame2;
    QPointer<QLabel> m_Label3;
    QPointer<QLabel> m_Label2;
    QPointer<QLabel> m_Label1;
};
