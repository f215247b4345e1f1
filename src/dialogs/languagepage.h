#pragma once

#include "preferencespage.h"

class QCheckBox;

// The language the user reads: whether characters are offered in their traditional forms.
class LanguagePage : public PreferencesPage
{
    Q_OBJECT
public:
    explicit LanguagePage(QWidget *parent = nullptr);

    void showValues(const Preferences &preferences) override;
    void takeValues(Preferences &preferences) const override;

    QCheckBox *chkTraditional() const { return m_chkTraditional; }

private:
    QCheckBox *m_chkTraditional = nullptr;
};
