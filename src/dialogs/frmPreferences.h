#pragma once

#include "window_layer/form.h"

#include <QList>

class CommandButton;
class LanguagePage;
class PopUpPage;
class PreferencesPage;
class PronunciationPage;
class QListWidget;
class QStackedWidget;
struct Preferences;

// Option → "Preferences...": a page for each subject, chosen from the list on the left. Shown
// modally; the caller shows the preferences in it before and takes them back after "Save", as for
// the query string.
class frmPreferences : public Form
{
    Q_OBJECT
public:
    static frmPreferences &instance();

    // Each page is a subject of the list, in the order added. Called from CreateControls, before
    // the buttons, so that Tab visits the pages before them.
    void addPage(const QString &title, PreferencesPage *page);

    void showValues(const Preferences &preferences);
    void takeValues(Preferences &preferences);

    QListWidget *lstSubjects();
    QStackedWidget *pages();
    PronunciationPage *pronunciationPage();
    LanguagePage *languagePage();
    PopUpPage *popUpPage();
    CommandButton *cmdSave();
    CommandButton *cmdCancel();

    // Set by "Save"; cleared by whoever shows the window, read once the show has returned.
    bool bSaveFlag = false;

protected:
    void CreateControls(FormWindow &window) override;

private:
    frmPreferences();
    friend class Form;

    QPointer<QListWidget> m_lstSubjects;
    QPointer<QStackedWidget> m_pages;
    QPointer<PronunciationPage> m_pronunciationPage;
    QPointer<LanguagePage> m_languagePage;
    QPointer<PopUpPage> m_popUpPage;
    QPointer<CommandButton> m_cmdSave;
    QPointer<CommandButton> m_cmdCancel;
};
