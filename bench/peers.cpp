#include "peers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace TavrelBench {

PeerResult
measurePeer(Bench &bench, MapWatcher &watcher, const QString &name, int runs,
            const std::function<QStringList(const QString &scratch, const QString &page)> &command,
            const QByteArray &windowText, const QString &pagePath)
{
    PeerResult result;
    for (int run = 0; run <= runs; ++run) {
        QTemporaryDir scratch;
        const QString path = pagePath.isEmpty() ? QString() : pagePath + QString::number(run);
        QStringList arguments = command(scratch.path(), bench.server.origin() + path);
        const QString executable = arguments.takeFirst();
        QProcess process;
        QProcessEnvironment env = bench.environment();
        env.insert("HOME", scratch.path()); // a fresh profile every run
        env.insert("XDG_CONFIG_HOME", scratch.path() + "/config");
        env.insert("XDG_CACHE_HOME", scratch.path() + "/cache");
        process.setProcessEnvironment(env);
        const qint64 launched = now();
        process.start(executable, arguments);
        if (!process.waitForStarted())
            fail(name + " did not start: " + process.errorString());
        const std::optional<qint64> shown = watcher.waitForMap(windowText, 60000);
        if (!shown)
            fail(name + "'s window was not shown");
        if (!path.isEmpty()
            && !waitFor([&] { return bench.server.arrival(path).has_value(); }, 20000))
            fail(name + " did not request its page");
        if (run > 0) { // the first run warms the caches
            result.shownMs.push_back(ms(*shown - launched));
            if (!path.isEmpty())
                result.requestMs.push_back(ms(*bench.server.arrival(path) - launched));
        }
        if (run == runs) {
            QThread::sleep(3);
            result.memoryMiB = pssMiB(process.processId());
        }
        endTree(process);
    }
    return result;
}

QStringList chromiumCommand(const QString &scratch, const QString &page)
{
    return {"chromium",
            "--no-sandbox",
            "--user-data-dir=" + scratch + "/profile",
            "--no-first-run",
            "--no-default-browser-check",
            "--app=" + page};
}

// goldendict is started bare: it has no page to be pointed at.
QStringList goldendictCommand(const QString &, const QString &) { return {"goldendict"}; }

namespace {

// goldendict in a HOME of its own, with a website source pointed at the server: a copy started
// without a word, its window shown and its dictionaries indexed.
QProcessEnvironment startGoldendictWithWebsite(Bench &bench, MapWatcher &watcher,
                                               const QTemporaryDir &home, QProcess &running)
{
    QDir(home.path()).mkpath("config/goldendict");
    QFile config(home.path() + "/config/goldendict/config");
    if (!config.open(QIODevice::WriteOnly))
        fail("cannot write goldendict's configuration");
    // Whatever the file leaves out goldendict takes from its defaults.
    config.write("<config>\n <websites>\n  <website icon=\"\" name=\"Bench\" "
                 "id=\"74617672656c62656e63680000000001\" url=\""
                 + bench.server.origin().toUtf8()
                 + "/gd?s=%GDWORD%\" enabled=\"1\" inside_iframe=\"1\"/>\n </websites>\n"
                   "</config>\n");
    config.close();
    QProcessEnvironment env = bench.environment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_CACHE_HOME", home.path() + "/cache");
    running.setProcessEnvironment(env);
    running.start("goldendict", {});
    if (!watcher.waitForMap("oldenDict", 60000))
        fail("goldendict's window was not shown");
    waitFor([] { return false; }, 2000); // its dictionaries are indexed after the window shows
    return env;
}

} // namespace

std::vector<double> goldendictHandedOver(Bench &bench, MapWatcher &watcher, int runs)
{
    std::vector<double> result;
    QTemporaryDir home;
    QProcess running;
    const QProcessEnvironment env = startGoldendictWithWebsite(bench, watcher, home, running);
    for (int run = 0; run <= runs; ++run) {
        const QString word = QStringLiteral("handed%1").arg(run);
        QProcess second;
        const qint64 launched
            = launchWithWord(bench, "goldendict", word, "/gd?s=" + word, second, env);
        if (run > 0)
            result.push_back(ms(*bench.server.arrival("/gd?s=" + word) - launched));
        waitFor([&] { return second.state() == QProcess::NotRunning; }, 10000);
        waitFor([] { return false; }, 300);
    }
    endTree(running);
    return result;
}

double goldendictAfterLookup(Bench &bench, MapWatcher &watcher)
{
    QTemporaryDir home;
    QProcess running;
    const QProcessEnvironment env = startGoldendictWithWebsite(bench, watcher, home, running);
    QProcess second;
    launchWithWord(bench, "goldendict", "first", "/gd?s=first", second, env);
    waitFor([&] { return second.state() == QProcess::NotRunning; }, 10000);
    // The page has arrived by now; its frame is laid out and drawn in the second after.
    waitFor([] { return false; }, 1500);
    const double memory = pssMiB(running.processId(), "goldendict after its first website lookup");
    endTree(running);
    return memory;
}

} // namespace TavrelBench
