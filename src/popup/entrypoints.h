#pragma once

#include <QKeySequence>
#include <QObject>

class DBusService;
class PopUpLookup;
class SelectionWatcher;
class X11Shortcut;

// The ways the pop-up is asked for that it serves itself: the session bus, the key of the
// program's own and the watched selection. The program joins it to the running copy's channel
// and the main window, which it does not know.
class PopUpEntryPoints : public QObject
{
    Q_OBJECT
public:
    explicit PopUpEntryPoints(QObject *parent = nullptr);
    ~PopUpEntryPoints() override;

    PopUpLookup &lookup() const { return *m_lookup; }
    X11Shortcut &shortcut() const { return *m_shortcut; }

    // Claims the name on the session bus, then takes the key and watches the selection; false
    // when the name is not this copy's.
    bool start(const QKeySequence &shortcut, bool watchSelection);
    // Takes the key (none when empty) and watches the selection or stops.
    void apply(const QKeySequence &shortcut, bool watchSelection);

    // Why keys could not be this program's, in a sentence for the user; empty when they can.
    // The key held now answers as taken; another is tried and let go at once.
    QString keyProblem(const QKeySequence &keys) const;

private:
    QKeySequence m_keys;
    PopUpLookup *m_lookup = nullptr;
    DBusService *m_bus = nullptr;
    X11Shortcut *m_shortcut = nullptr;
    SelectionWatcher *m_watcher = nullptr;
};
