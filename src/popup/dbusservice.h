#pragma once

#include <QObject>

class PopUpLookup;

// The pop-up's lookups on the session bus, for the desktop's own shortcut settings and other
// programs. The name is held while the program runs; a call while it does not starts it.
class DBusService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tavrel.Dictionary")
public:
    static constexpr char serviceName[] = "org.tavrel.Dictionary";
    static constexpr char objectPath[] = "/org/tavrel/Dictionary";

    explicit DBusService(PopUpLookup *lookup, QObject *parent = nullptr);

    // Claims the name on the session bus; false when there is no bus or another copy holds it.
    bool claim();

public slots:
    Q_SCRIPTABLE void LookUp(const QString &word);
    Q_SCRIPTABLE void LookUpSelection();
    Q_SCRIPTABLE void LookUpClipboard();

private:
    PopUpLookup *m_lookup;
};
