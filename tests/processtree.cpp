#include "processtree.h"

#include <QDir>
#include <QFile>
#include <QMultiMap>
#include <QRegularExpression>

#include <csignal>
#include <sys/types.h>

namespace ProcessTree {

QList<qint64> descendantsOf(qint64 root)
{
    QMultiMap<qint64, qint64> children;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold anything, so read after its last ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children.insert(fields[1].toLongLong(), pid);
    }
    QList<qint64> found;
    QList<qint64> queue {root};
    while (!queue.isEmpty()) {
        const QList<qint64> direct = children.values(queue.takeFirst());
        found += direct;
        queue += direct;
    }
    return found;
}

bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

qint64 pssKiB(qint64 root)
{
    static const QRegularExpression pss("^Pss:\\s+(\\d+) kB", QRegularExpression::MultilineOption);
    qint64 total = 0;
    const QList<qint64> tree = descendantsOf(root) << root;
    for (const qint64 pid : tree) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (rollup.open(QIODevice::ReadOnly))
            total += pss.match(QString::fromLatin1(rollup.readAll())).captured(1).toLongLong();
    }
    return total;
}

void kill(qint64 root)
{
    const QList<qint64> tree = descendantsOf(root) << root;
    for (const qint64 pid : tree) {
        if (isRunning(pid))
            ::kill(pid_t(pid), SIGKILL);
    }
}

} // namespace ProcessTree
