#include "modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace Modules {

Loaded load(const QString &name, const QString &folder)
{
    Loaded loaded;
    const QString programFolder = QCoreApplication::applicationDirPath();
    loaded.folders = folder.isEmpty()
        ? QStringList {programFolder,
                       QDir(programFolder).filePath(QStringLiteral(TAVREL_ENGINE_INSTALLED))}
        : QStringList {folder};
    for (const QString &each : std::as_const(loaded.folders)) {
        QPluginLoader loader(QDir(each).filePath(name));
        if ((loaded.instance = loader.instance()))
            return loaded;
        loaded.failures << loader.errorString();
    }
    return loaded;
}

} // namespace Modules
