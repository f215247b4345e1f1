#include "dbusservice.h"

#include "popuplookup.h"

#include <QDBusConnection>
#include <QTimer>

DBusService::DBusService(PopUpLookup *lookup, QObject *parent)
    : QObject(parent)
    , m_lookup(lookup)
{
}

bool DBusService::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(QLatin1String(objectPath), this,
                            QDBusConnection::ExportScriptableSlots))
        return false;
    if (!bus.registerService(QLatin1String(serviceName))) {
        bus.unregisterObject(QLatin1String(objectPath));
        return false;
    }
    return true;
}

// The caller gets its answer at once; the lookup follows from the event loop, so that a caller
// that waits for the reply does not hold up the reading of a selection it owns itself.
void DBusService::LookUp(const QString &word)
{
    QTimer::singleShot(0, m_lookup, [lookup = m_lookup, word] { lookup->lookUp(word); });
}

void DBusService::LookUpSelection()
{
    QTimer::singleShot(0, m_lookup, &PopUpLookup::lookUpSelection);
}

void DBusService::LookUpClipboard()
{
    QTimer::singleShot(0, m_lookup, &PopUpLookup::lookUpClipboard);
}
