#include "entrypoints.h"

#include "dbusservice.h"
#include "popuplookup.h"
#include "popupwindow.h"
#include "selectionwatcher.h"
#include "x11shortcut.h"

#include "browser/answerview.h"
#include "main_window/frmBrowser.h"
#include "program/application.h"
#include "window_layer/form.h"
#include "single_instance/runningcopy.h"
#include "single_instance/wordsfromoutside.h"

#include <QFileInfo>

#include <cstdio>

PopUpEntryPoints::PopUpEntryPoints(RunningCopy::Server &server, WordsFromOutside &words,
                                   QObject *parent)
    : QObject(parent)
    , m_lookup(new PopUpLookup(this))
    , m_bus(new DBusService(m_lookup, this))
    , m_shortcut(new X11Shortcut(this))
    , m_watcher(new SelectionWatcher(this))
{
    connect(&server, &RunningCopy::Server::popUpRequested, m_lookup,
            [this](RunningCopy::PopUpRequest request) {
                if (request == RunningCopy::PopUpRequest::Selection)
                    m_lookup->lookUpSelection();
                else
                    m_lookup->lookUpClipboard();
            });
    connect(m_lookup, &PopUpLookup::openInMainWindow, &words, &WordsFromOutside::take);
    connect(m_lookup, &PopUpLookup::lookedUp, this, [](const QString &word) {
        frmBrowser &main = frmBrowser::instance();
        if (main.IsLoaded())
            main.recordLookup(word);
    });
    // The pop-up's speakers and stars work as the main window's do.
    connect(m_lookup, &PopUpLookup::windowMade, this, [](PopUpWindow *window) {
        AnswerView *view = window->answerView();
        frmBrowser &main = frmBrowser::instance();
        connect(view, &AnswerView::pronounce, &main, &frmBrowser::pronounce);
        connect(view, &AnswerView::favouriteClicked, view,
                [&main, view](const Words::Favourite &entry) {
                    main.toggleFavourite(entry);
                    view->refresh();
                });
    });
    connect(m_lookup, &PopUpLookup::closed, this, [] {
        // A program started for the pop-up alone ends with it, as it would with its main window.
        frmBrowser &main = frmBrowser::instance();
        if (main.IsLoaded() && !main.window()->isVisible() && !Form::ModalShown()) {
            main.Unload();
            App::End();
        }
    });
    connect(m_shortcut, &X11Shortcut::activated, m_lookup, &PopUpLookup::lookUpSelection);
    connect(m_watcher, &SelectionWatcher::selectionMade, this,
            &PopUpEntryPoints::lookUpWatchedSelection);
}

PopUpEntryPoints::~PopUpEntryPoints() = default;

bool PopUpEntryPoints::start(const PopUpSettings &settings)
{
    // Without a session bus of the user's, the bus library would start one of its own through
    // the X server (autolaunch), which outlives the program.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const bool claimed = (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
                          || (!runtime.isEmpty() && QFileInfo::exists(runtime + "/bus")))
        && m_bus->claim();
    apply(settings);
    return claimed;
}

void PopUpEntryPoints::apply(const PopUpSettings &settings)
{
    m_settings = settings;
    if (m_shortcut->grab(settings.shortcut) == X11Shortcut::Result::Held)
        std::fprintf(stderr, "TavrelDictionary: %s\n", qPrintable(m_shortcut->problem()));
    if (settings.watchSelection)
        m_watcher->start(settings.watchDelayMs);
    else
        m_watcher->stop();
}

void PopUpEntryPoints::lookUpWatchedSelection() { m_lookup->lookUpWatchedSelection(); }
