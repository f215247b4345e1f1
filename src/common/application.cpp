#include "application.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <unistd.h>

namespace App {

namespace {
QString &pathOverride()
{
    static QString path;
    return path;
}
} // namespace

QString Path()
{
    const QString &overridden = pathOverride();
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

void setPath(const QString &folder) { pathOverride() = folder; }

void End()
{
    // quit(), not exit(): outside the main loop it does nothing, where exit() would make every
    // later event loop return at once.
    QCoreApplication::quit();
}

void prepareBrowserEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The engine reports its start-up parameters on stderr; they say nothing to a user.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.debug=false\n"
                                                    "qt.webenginecontext.info=false"));
    // The program writes only its own folders and settings file: no shader caches either.
    qputenv("QT_DISABLE_SHADER_DISK_CACHE", "1");
    qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    if (geteuid() == 0) {
        // As a flag rather than QTWEBENGINE_DISABLE_SANDBOX, which makes the engine print a line
        // of its own as well.
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --no-sandbox");
        std::fputs("TavrelDictionary: running as root, so the browser sandbox is turned off\n",
                   stderr);
    }
}

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace App
