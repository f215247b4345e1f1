// Tavrel under the harness: started in a folder of its own, its timing marks read from what it
// writes, and lookups made through its window.

#include "harness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TavrelBench {

void Bench::Tavrel::read()
{
    pending += process.readAllStandardError();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QByteArray line = pending.left(end);
        pending.remove(0, end + 1);
        const qsizetype at = line.indexOf("tavrel-timing ");
        if (at < 0)
            continue;
        const QList<QByteArray> parts = line.mid(at).split(' ');
        if (parts.size() >= 3)
            events[parts[1]].append({parts[2].toLongLong(), parts.value(3)});
    }
}

std::optional<qint64> Bench::Tavrel::mark(const QByteArray &event, const QByteArray &detail)
{
    read();
    for (const Mark &m : events.value(event)) {
        if (detail.isEmpty() || m.detail == detail)
            return m.at;
    }
    return std::nullopt;
}

std::optional<qint64> Bench::Tavrel::lastMark(const QByteArray &event)
{
    read();
    const QList<Mark> found = events.value(event);
    return found.isEmpty() ? std::nullopt : std::optional(found.last().at);
}

std::unique_ptr<Bench::Tavrel> Bench::startTavrel(MapWatcher &watcher, qint64 *shown,
                                                  const QStringList &arguments)
{
    auto tavrel = std::make_unique<Tavrel>();
    const QString dir = tavrel->folder.path();
    QFile::copy(program, dir + "/TavrelDictionary");
    const QFileInfo engine(QFileInfo(program).dir(), "libtavrel_browserengine.so");
    QFile::copy(engine.filePath(), dir + '/' + engine.fileName());
    QDir(dir).mkdir("session");
    QFile settings(dir + "/session/tavrel.xml");
    settings.open(QIODevice::WriteOnly);
    settings.write("<?xml version=\"1.0\"?>\r\n<TavrelDictionary>\r\n    <Type>Option</Type>"
                   "\r\n    <Chinese>"
                   + server.origin().toUtf8()
                   + "/dict?s=%word</Chinese>\r\n</TavrelDictionary>\r\n");
    settings.close();

    QProcessEnvironment env = environment();
    env.insert("QT_LOGGING_RULES", "tavrel.timing.debug=true");
    tavrel->process.setProcessEnvironment(env);
    tavrel->launched = now();
    tavrel->process.start(dir + "/TavrelDictionary", arguments);
    const std::optional<qint64> mapped = watcher.waitForMap("Tavrel Dictionary v1.1", 30000);
    if (!mapped)
        fail("Tavrel's window was not shown");
    *shown = *mapped;
    return tavrel;
}

QString Bench::lookUp(const QString &word)
{
    // "Translate" stands at 10200, 240 twips below the menu bar; the word box at 1320, 240.
    // ("type" takes every argument after it, so the click is a second call.)
    // The window is looked up once; searching every time costs more than the lookup.
    if (window.isEmpty()) {
        QProcess search;
        search.setProcessEnvironment(environment());
        search.start("xdotool", {"search", "--onlyvisible", "--name", "^Tavrel Dictionary v1"});
        search.waitForFinished(20000);
        window = QString::fromLatin1(search.readAllStandardOutput()).section('\n', 0, 0);
    }
    xdotool({"mousemove", "--window", window, "200", "40", "click", "1", "key", "ctrl+a", "type",
             "--delay", "1", word});
    xdotool({"mousemove", "--window", window, "730", "50", "click", "1"});
    return "/dict?s=" + word;
}

} // namespace TavrelBench
