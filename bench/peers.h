#pragma once

// The programs Tavrel is measured against: goldendict, and chromium showing the page as an app.

#include "harness.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace TavrelBench {

struct PeerResult
{
    std::vector<double> shownMs;
    std::vector<double> requestMs; // launch until the page's request, when there is a page
    double memoryMiB = 0;
};

// Starts a peer program once a run, timing it to its window and to its page's request (a path
// of its own each run, so that the runs' requests are told apart), and reads its memory once it
// has settled (or once its page has arrived).
PeerResult
measurePeer(Bench &bench, MapWatcher &watcher, const QString &name, int runs,
            const std::function<QStringList(const QString &scratch, const QString &page)> &command,
            const QByteArray &windowText, const QString &pagePath);

QStringList chromiumCommand(const QString &scratch, const QString &page);
QStringList goldendictCommand(const QString &scratch, const QString &page);

// The word to a running copy, for goldendict: given a website source pointed at the server in a
// HOME of its own, a copy started without a word, then one launch with a word a run.
std::vector<double> goldendictHandedOver(Bench &bench, MapWatcher &watcher, int runs);

// goldendict's memory (PSS, process tree, MiB) after its first lookup, in that website source.
double goldendictAfterLookup(Bench &bench, MapWatcher &watcher);

} // namespace TavrelBench
