#include "popuppage.h"

#include "preferences/preferences.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace {
PopUpPage::KeyCheck &keyCheck()
{
    static PopUpPage::KeyCheck check;
    return check;
}

constexpr char command[] = "TavrelDictionary --selection";
} // namespace

PopUpPage::PopUpPage(QWidget *parent)
    : PreferencesPage(parent)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        createX11Controls();
    else
        createCommandControls();
}

void PopUpPage::setKeyCheck(KeyCheck check) { keyCheck() = std::move(check); }

void PopUpPage::createX11Controls()
{
    // Created in tab order.
    Controls::label(this, tr("Shortcut:"), 240, 270, 1800, 375);
    m_txtShortcut = new QKeySequenceEdit(this);
    m_txtShortcut->setClearButtonEnabled(true);
    m_txtShortcut->setAccessibleName(tr("Shortcut"));
    Twips::place(*m_txtShortcut, 2160, 240, 3000, 420);
    connect(m_txtShortcut, &QKeySequenceEdit::editingFinished, this, &PopUpPage::checkKey);
    connect(m_txtShortcut, &QKeySequenceEdit::keySequenceChanged, this, &PopUpPage::checkKey);

    m_lblKeyProblem = Controls::label(this, QString(), 240, 720, 7080, 600);
    m_lblKeyProblem->setWordWrap(true);

    m_chkWatchSelection = Controls::checkBox(this, tr("Watch the selection"), 240, 1380, 6700, 375);
    m_chkWatchSelection->setToolTip(
        tr("Open the pop-up when you select a word or two in another program"));
}

void PopUpPage::createCommandControls()
{
    QLabel *text = Controls::label(
        this,
        tr("This desktop lets no program take a key of its own. In the desktop's keyboard "
           "settings, add a shortcut that runs this command:"),
        240, 240, 7080, 840);
    text->setWordWrap(true);
    m_txtCommand = Controls::textBox(this, QLatin1String(command), 240, 1140, 4800, 420);
    m_txtCommand->setReadOnly(true);
    m_txtCommand->setAccessibleName(tr("Command"));
    m_cmdCopy = new CommandButton(tr("Copy"), this, 5160, 1110, 1335, 495);
    connect(m_cmdCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(m_txtCommand->text()); });
}

void PopUpPage::checkKey()
{
    const QKeySequence keys = m_txtShortcut->keySequence();
    m_lblKeyProblem->setText(keyCheck() && !keys.isEmpty() ? keyCheck()(keys) : QString());
}

void PopUpPage::showValues(const Preferences &preferences)
{
    if (m_txtShortcut) {
        m_txtShortcut->setKeySequence(
            QKeySequence(preferences.popUp.shortcut, QKeySequence::PortableText));
        checkKey();
    }
    if (m_chkWatchSelection)
        m_chkWatchSelection->setChecked(preferences.popUp.watchSelection);
}

void PopUpPage::takeValues(Preferences &preferences) const
{
    if (m_txtShortcut)
        preferences.popUp.shortcut = m_txtShortcut->keySequence().toString(QKeySequence::PortableText);
    if (m_chkWatchSelection)
        preferences.popUp.watchSelection = m_chkWatchSelection->isChecked();
}
