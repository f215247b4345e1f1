#include "modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QPluginLoader>
#include <QThread>

#include <future>

namespace Modules {

namespace {

QStringList foldersFor(const QString &folder)
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return folder.isEmpty()
        ? QStringList {programFolder,
                       QDir(programFolder).filePath(QStringLiteral(TAVREL_ENGINE_INSTALLED))}
        : QStringList {folder};
}

// Of each module asked for ahead: done once its libraries are read. Used on the application's
// thread only.
QHash<QString, std::shared_future<void>> &preloads()
{
    static QHash<QString, std::shared_future<void>> pending;
    return pending;
}

} // namespace

Loaded load(const QString &name, const QString &folder)
{
    if (const std::shared_future<void> pending = preloads().value(name); pending.valid())
        pending.wait();
    Loaded loaded;
    loaded.folders = foldersFor(folder);
    for (const QString &each : std::as_const(loaded.folders)) {
        QPluginLoader loader(QDir(each).filePath(name));
        if ((loaded.instance = loader.instance()))
            return loaded;
        loaded.failures << loader.errorString();
    }
    return loaded;
}

void preload(const QString &name, const QString &folder, QObject *context,
             const std::function<void()> &loaded)
{
    if (preloads().contains(name)) {
        QMetaObject::invokeMethod(context, loaded, Qt::QueuedConnection);
        return;
    }
    // The libraries stay in memory once read, for the loader that load() makes later; one that
    // fails to read is left to load() to explain.
    auto read = std::make_shared<std::packaged_task<void()>>([name, folders = foldersFor(folder)] {
        for (const QString &each : folders) {
            if (QPluginLoader(QDir(each).filePath(name)).load())
                return;
        }
    });
    preloads().insert(name, read->get_future().share());
    QThread *thread = QThread::create([read] { (*read)(); });
    QObject::connect(thread, &QThread::finished, context, loaded);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

} // namespace Modules
