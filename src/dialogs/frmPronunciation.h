#pragma once

#include "window_layer/form.h"

class CommandButton;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;

// How words are read aloud: the English voice, the speed, and whether each answer's first entry
// is read once it is shown. Shown modally from Option → "Pronunciation..."; the caller fills
// the controls before and reads them after, as for the query string.
class frmPronunciation : public Form
{
    Q_OBJECT
public:
    static frmPronunciation &instance();

    QRadioButton *optAmerican();
    QRadioButton *optBritish();
    QSpinBox *txtSpeed();
    QCheckBox *chkReadAfterLookup();
    CommandButton *cmdSave();
    CommandButton *cmdCancel();

    // Set by "Save"; cleared by whoever shows the window, read once the show has returned.
    bool bSaveFlag = false;

protected:
    void CreateControls(FormWindow &window) override;

private:
    frmPronunciation();
    friend class Form;

    QPointer<QLabel> m_Label1;
    QPointer<QRadioButton> m_optAmerican;
    QPointer<QRadioButton> m_optBritish;
    QPointer<QLabel> m_Label2;
    QPointer<QSpinBox> m_txtSpeed;
    QPointer<QCheckBox> m_chkReadAfterLookup;
    QPointer<CommandButton> m_cmdSave;
    QPointer<CommandButton> m_cmdCancel;
};
