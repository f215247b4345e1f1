#pragma once

#include "window_layer/form.h"

class CommandButton;
class QLabel;
class QLineEdit;

// The options window. Its text box holds the query template in force for the whole run: it is
// loaded, hidden, at start-up and shown modally when the user edits the template.
class frmOption : public Form
{
    Q_OBJECT
public:
    static frmOption &instance();

    QLabel *Label1();
    QLineEdit *txtChinese();
    CommandButton *cmdSave();
    CommandButton *cmdCancel();
    CommandButton *cmdChinese();

    // Set by "Save"; cleared by whoever shows the window, read once the show has returned.
    bool bSaveFlag = false;

protected:
    void CreateControls(FormWindow &window) override;

private:
    frmOption();
    friend class Form;

    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdChinese_Click();

    QPointer<QLabel> m_Label1;
    QPointer<QLineEdit> m_txtChinese;
    QPointer<CommandButton> m_cmdSave;
    QPointer<CommandButton> m_cmdCancel;
    QPointer<CommandButton> m_cmdChinese;
};
