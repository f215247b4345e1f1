#pragma once

#include "settings.h"

#include <QObject>

class DBusService;
class PopUpLookup;
class SelectionWatcher;
class WordsFromOutside;
class X11Shortcut;

namespace RunningCopy {
class Server;
}

// Every way the pop-up is asked for while the program runs: the running copy's channel, the
// session bus, the key of the program's own and the watched selection. Its lookups go into the
// main window's history; "Open in Main Window" hands the word on as a word from outside.
class PopUpEntryPoints : public QObject
{
    Q_OBJECT
public:
    PopUpEntryPoints(RunningCopy::Server &server, WordsFromOutside &words,
                     QObject *parent = nullptr);
    ~PopUpEntryPoints() override;

    PopUpLookup &lookup() const { return *m_lookup; }
    X11Shortcut &shortcut() const { return *m_shortcut; }

    // Claims the name on the session bus, then applies the settings; false when the name is
    // not this copy's.
    bool start(const PopUpSettings &settings);
    // Takes the key and watches the selection as the settings say.
    void apply(const PopUpSettings &settings);

private:
    void lookUpWatchedSelection();

    PopUpSettings m_settings;
    PopUpLookup *m_lookup = nullptr;
    DBusService *m_bus = nullptr;
    X11Shortcut *m_shortcut = nullptr;
    SelectionWatcher *m_watcher = nullptr;
};
