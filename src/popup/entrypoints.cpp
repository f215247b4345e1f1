#include "entrypoints.h"

#include "dbusservice.h"
#include "popuplookup.h"
#include "selectionwatcher.h"
#include "x11shortcut.h"

#include <QFileInfo>

#include <cstdio>

namespace {
// After the mouse button is let go: long enough for a double or triple click to finish.
constexpr int watchDelayMs = 300;
} // namespace

PopUpEntryPoints::PopUpEntryPoints(QObject *parent)
    : QObject(parent)
    , m_lookup(new PopUpLookup(this))
    , m_bus(new DBusService(m_lookup, this))
    , m_shortcut(new X11Shortcut(this))
    , m_watcher(new SelectionWatcher(this))
{
    connect(m_shortcut, &X11Shortcut::activated, m_lookup, &PopUpLookup::lookUpSelection);
    connect(m_watcher, &SelectionWatcher::selectionMade, m_lookup,
            &PopUpLookup::lookUpWatchedSelection);
}

PopUpEntryPoints::~PopUpEntryPoints() = default;

bool PopUpEntryPoints::start(const QKeySequence &shortcut, bool watchSelection)
{
    // Without a session bus of the user's, the bus library would start one of its own through
    // the X server (autolaunch), which outlives the program.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const bool claimed = (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
                          || (!runtime.isEmpty() && QFileInfo::exists(runtime + "/bus")))
        && m_bus->claim();
    apply(shortcut, watchSelection);
    return claimed;
}

void PopUpEntryPoints::apply(const QKeySequence &shortcut, bool watchSelection)
{
    m_keys = shortcut;
    if (m_shortcut->grab(shortcut) == X11Shortcut::Result::Held)
        std::fprintf(stderr, "TavrelDictionary: %s\n", qPrintable(m_shortcut->problem()));
    if (watchSelection)
        m_watcher->start(watchDelayMs);
    else
        m_watcher->stop();
}

QString PopUpEntryPoints::keyProblem(const QKeySequence &keys) const
{
    if (keys.isEmpty())
        return QString();
    if (keys == m_keys)
        return m_shortcut->problem();
    X11Shortcut trial;
    trial.grab(keys);
    return trial.problem();
}
