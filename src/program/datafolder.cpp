#include "datafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace DataFolder {

namespace {

const QString settingsInFolder = QStringLiteral("/session/tavrel.xml");

// Asked of the kernel for the effective user: root passes everywhere but on a read-only mount,
// which is exactly what root can and cannot do.
bool userMay(const QString &path, int mode)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0;
}

bool canKeepDataIn(const QString &folder)
{
    for (const char *name : {"/temp", "/session"}) {
        const QFileInfo entry(folder + name);
        if (entry.isDir()) {
            if (!userMay(entry.filePath(), W_OK | X_OK))
                return false;
        } else if (!entry.exists() && !entry.isSymLink()) {
            if (!userMay(folder, W_OK | X_OK))
                return false;
        }
    }
    return true;
}

} // namespace

QString perUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

Choice choose(const QString &programFolder, const QString &userFolder)
{
    if (userFolder.isEmpty() || canKeepDataIn(programFolder))
        return {programFolder, programFolder + settingsInFolder};

    QDir().mkpath(userFolder);
    Choice choice {userFolder, userFolder + settingsInFolder};
    const QFileInfo own(choice.startingSettings);
    const QString administrators = programFolder + settingsInFolder;
    if (!own.exists() && !own.isSymLink() && QFileInfo(administrators).isFile()
        && userMay(administrators, R_OK))
        choice.startingSettings = administrators;
    return choice;
}

} // namespace DataFolder
