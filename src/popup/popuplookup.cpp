#include "popuplookup.h"

#include "popupwindow.h"
#include "browser/answerview.h"
#include "program/timing.h"
#include "rules.h"
#include "selectionreader.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <utility>

namespace {
bool isWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

// How long a Wayland compositor may take to give the pop-up the focus before it is read anyway.
constexpr int focusWaitMs = 500;
} // namespace

PopUpLookup::PopUpLookup(QObject *parent)
    : QObject(parent)
{
}

// The window has no parent, as a top-level pop-up: it goes with the lookup.
PopUpLookup::~PopUpLookup() { delete m_window; }

PopUpWindow *PopUpLookup::window() const { return m_window; }

PopUpWindow *PopUpLookup::present()
{
    if (!m_window) {
        m_window = new PopUpWindow;
        connect(m_window, &PopUpWindow::openInMainWindow, this, &PopUpLookup::openInMainWindow);
        connect(m_window, &PopUpWindow::closed, this, &PopUpLookup::closed);
        emit windowMade(m_window);
        connect(m_window->answerView(), &AnswerView::wordLinkFollowed, this,
                &PopUpLookup::lookedUp);
    }
    if (!m_window->isVisible()) {
        const QPoint pointer = QCursor::pos();
        QScreen *screen = QGuiApplication::screenAt(pointer);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen)
            m_window->setGeometry(PopUpRules::placement(screen->availableGeometry(), pointer,
                                                        isWayland()));
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}

void PopUpLookup::lookUp(const QString &word)
{
    m_reading = false;
    answer(word);
}

void PopUpLookup::lookUpSelection() { readWhenFocused(int(SelectionReader::Source::Selection)); }

void PopUpLookup::lookUpClipboard() { readWhenFocused(int(SelectionReader::Source::Clipboard)); }

void PopUpLookup::lookUpWatchedSelection()
{
    if (m_reading)
        return;
    if (!m_reader)
        makeReader();
    m_watchedReading = true;
    m_reader->read(SelectionReader::Source::Primary);
}

void PopUpLookup::makeReader()
{
    m_reader = new SelectionReader(this);
    connect(m_reader, &SelectionReader::textRead, this, [this](const QString &text) {
        if (std::exchange(m_watchedReading, false)) {
            if (!m_reading && PopUpRules::isWatchedSelection(text))
                answer(text);
        } else if (std::exchange(m_reading, false)) {
            answer(text);
        }
    });
}

void PopUpLookup::readWhenFocused(int source)
{
    // Requests that come while one is read, such as a held shortcut key, wait for its answer.
    if (m_reading)
        return;
    m_reading = true;
    present()->showMessage(tr("Reading the selection..."));
    m_watchedReading = false;
    if (!m_reader)
        makeReader();
    const auto read = [this, source] {
        if (m_reading)
            m_reader->read(SelectionReader::Source(source));
    };
    QWindow *handle = m_window->windowHandle();
    if (!isWayland() || !handle || handle->isActive()) {
        read();
        return;
    }
    // Whichever comes first, the focus or the time, reads; the other finds nothing left to do.
    auto done = std::make_shared<bool>(false);
    const auto once = [done, read] {
        if (!std::exchange(*done, true))
            read();
    };
    connect(handle, &QWindow::activeChanged, this, once, Qt::SingleShotConnection);
    QTimer::singleShot(focusWaitMs, this, once);
}

void PopUpLookup::answer(const QString &selected)
{
    const QString word = PopUpRules::lookupText(selected);
    Timing::mark("popup-answer", word);
    PopUpWindow *window = present();
    if (word.isEmpty()) {
        window->showMessage(PopUpRules::nothingSelected());
        return;
    }
    window->showAnswer(word);
    emit lookedUp(word);
}
