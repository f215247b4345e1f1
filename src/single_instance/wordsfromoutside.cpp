#include "wordsfromoutside.h"

#include "window_layer/form.h"
#include "main_window/frmBrowser.h"
#include "main_window/lookup.h"

#include <QApplication>
#include <QWidget>

#include <utility>

WordsFromOutside::WordsFromOutside(QObject *parent)
    : QObject(parent)
{
    // The dialog's caller still has work to do once the dialog is hidden, such as saving the
    // template: the words wait until its modal show has returned, which no signal tells.
    m_dialogCheck.setInterval(50);
    m_dialogCheck.setSingleShot(true);
    connect(&m_dialogCheck, &QTimer::timeout, this, &WordsFromOutside::lookUpWhenNoDialog);
}

void WordsFromOutside::take(const QString &word)
{
    m_waiting.append({word, true});
    show();
}

void WordsFromOutside::takeKept(const QString &word)
{
    m_waiting.append({word, false});
    show();
}

void WordsFromOutside::show()
{
    if (Form::ModalShown()) {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            dialog->raise();
            dialog->activateWindow();
        }
    }
    lookUpWhenNoDialog();
}

void WordsFromOutside::lookUpWhenNoDialog()
{
    if (Form::ModalShown()) {
        m_dialogCheck.start();
        return;
    }
    frmBrowser &main = frmBrowser::instance();
    // A word that comes in as the program ends would load the main window again.
    if (!main.IsLoaded())
        return;
    for (const Waiting &waiting : std::exchange(m_waiting, {})) {
        // A blank word leaves the word box as it is, as well as the page.
        if (!trimSpaces(waiting.word).isEmpty())
            waiting.record ? main.LookUp(waiting.word) : main.LookUpKept(waiting.word);
    }
    QWidget *window = main.window();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
