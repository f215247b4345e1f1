#include "frmPreferences.h"

#include "appearancepage.h"
#include "languagepage.h"
#include "popuppage.h"
#include "pronunciationpage.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QListWidget>
#include <QStackedWidget>

frmPreferences &frmPreferences::instance() { return sharedInstance<frmPreferences>(); }

frmPreferences::frmPreferences()
    : Form(tr("Preferences"), 9600, 2880)
{ }

void frmPreferences::CreateControls(FormWindow &window)
{
    QWidget *client = window.client();
    // Created in tab order.
    m_lstSubjects = new QListWidget(client);
    m_lstSubjects->setAccessibleName(tr("Subjects"));
    Twips::place(*m_lstSubjects, 120, 120, 1920, 2640);
    m_pages = new QStackedWidget(client);
    Twips::place(*m_pages, 2040, 0, 7560, 2040);
    connect(m_lstSubjects, &QListWidget::currentRowChanged, m_pages,
            &QStackedWidget::setCurrentIndex);

    m_pronunciationPage = new PronunciationPage;
    addPage(tr("Pronunciation"), m_pronunciationPage);
    m_popUpPage = new PopUpPage;
    addPage(tr("Pop-up Lookup"), m_popUpPage);
    addPage(tr("Appearance"), new AppearancePage);
    m_languagePage = new LanguagePage;
    addPage(tr("Language"), m_languagePage);

    m_cmdSave = new CommandButton(tr("Save"), client, 4200, 2160, 1335, 495);
    m_cmdCancel = new CommandButton(tr("Cancel"), client, 5760, 2160, 1335, 495);
    connect(m_cmdSave, &QPushButton::clicked, this, [this] {
        bSaveFlag = true;
        Hide();
    });
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmPreferences::Hide);
}

void frmPreferences::addPage(const QString &title, PreferencesPage *page)
{
    m_pages->addWidget(page);
    m_lstSubjects->addItem(title);
    if (m_lstSubjects->currentRow() < 0)
        m_lstSubjects->setCurrentRow(0);
}

void frmPreferences::showValues(const Preferences &preferences)
{
    for (int i = 0; i < pages()->count(); ++i)
        static_cast<PreferencesPage *>(m_pages->widget(i))->showValues(preferences);
}

void frmPreferences::takeValues(Preferences &preferences)
{
    for (int i = 0; i < pages()->count(); ++i)
        static_cast<PreferencesPage *>(m_pages->widget(i))->takeValues(preferences);
}

PopUpPage *frmPreferences::popUpPage() { return control(m_popUpPage); }
QListWidget *frmPreferences::lstSubjects() { return control(m_lstSubjects); }
QStackedWidget *frmPreferences::pages() { return control(m_pages); }
PronunciationPage *frmPreferences::pronunciationPage() { return control(m_pronunciationPage); }
LanguagePage *frmPreferences::languagePage() { return control(m_languagePage); }
CommandButton *frmPreferences::cmdSave() { return control(m_cmdSave); }
CommandButton *frmPreferences::cmdCancel() { return control(m_cmdCancel); }
