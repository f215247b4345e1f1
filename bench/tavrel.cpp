// Tavrel under the harness: started in a folder of its own, its timing marks read from what it
// writes, and lookups made through its window.

#include "harness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

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

std::optional<qint64> Bench::Tavrel::markAfter(const QByteArray &event, qint64 after,
                                               const QByteArray &detail)
{
    read();
    for (const Mark &m : events.value(event)) {
        if (m.at >= after && (detail.isEmpty() || m.detail == detail))
            return m.at;
    }
    return std::nullopt;
}

std::unique_ptr<Bench::Tavrel>
Bench::startTavrel(MapWatcher &watcher, qint64 *shown, const QStringList &arguments,
                   const QString &queryTemplate,
                   const std::function<void(const QString &)> &prepare)
{
    auto tavrel = std::make_unique<Tavrel>();
    const QString dir = tavrel->folder.path();
    QFile::copy(program, dir + "/TavrelDictionary");
    for (const char *module : {"libtavrel_browserengine.so", "libtavrel_soundoutput.so"}) {
        const QFileInfo file(QFileInfo(program).dir(), module);
        QFile::copy(file.filePath(), dir + '/' + file.fileName());
    }
    // Only the runs that answer from it get the 19 MB index: writing it out before every start
    // would leave the disk busy under the start-ups measured against the server.
    if (!queryTemplate.isEmpty()) {
        const QFileInfo index(QFileInfo(program).dir(), "cc-cedict.idx");
        if (!QFile::copy(index.filePath(), dir + '/' + index.fileName()))
            fail("cannot copy " + index.filePath() + " beside the program");
    }
    QDir(dir).mkdir("session");
    QFile settings(dir + "/session/tavrel.xml");
    settings.open(QIODevice::WriteOnly);
    settings.write(
        "<?xml version=\"1.0\"?>\r\n<TavrelDictionary>\r\n    <Type>Option</Type>"
        "\r\n    <Chinese>"
        + (queryTemplate.isEmpty() ? server.origin() + "/dict?s=%word" : queryTemplate).toUtf8()
        + "</Chinese>\r\n</TavrelDictionary>\r\n");
    settings.close();
    if (prepare)
        prepare(dir);

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

void Bench::findWindow()
{
    // The window is looked up once; searching every time costs more than the lookup.
    if (window.isEmpty()) {
        QProcess search;
        search.setProcessEnvironment(environment());
        search.start("xdotool", {"search", "--onlyvisible", "--name", "^Tavrel Dictionary v1"});
        search.waitForFinished(20000);
        window = QString::fromLatin1(search.readAllStandardOutput()).section('\n', 0, 0);
    }
}

QString Bench::lookUp(const QString &word)
{
    // "Translate" stands at 10200, 240 twips below the menu bar; the word box at 1320, 240.
    // ("type" takes every argument after it, so the click is a second call.)
    findWindow();
    // xdotool types a character the keyboard map lacks (Chinese) by mapping it to a spare key
    // first; the program takes in the new map only once the server has told it, and a key
    // pressed before that is lost, so those words are typed slowly enough for it.
    const bool onKeyboard
        = std::all_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 128; });
    xdotool({"mousemove", "--window", window, "200", "40", "click", "1", "key", "ctrl+a", "type",
             "--delay", onKeyboard ? "1" : "60", word});
    xdotool({"mousemove", "--window", window, "730", "50", "click", "1"});
    return "/dict?s=" + word;
}

} // namespace TavrelBench
