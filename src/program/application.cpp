#include "application.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLoggingCategory>
#include <QSet>

#include <cstdio>
#include <map>
#include <unistd.h>

// The resources live in a static library: nothing would pull them in otherwise. Outside any
// namespace, as the macro declares a function of the enclosing one.
static void initResources() { Q_INIT_RESOURCE(resources); }

namespace App {

namespace {
QString &pathOverride()
{
    static QString path;
    return path;
}

// The engine looks for an OpenGL platform to draw with and warns, from a thread of its own,
// that it found none. It draws in software on purpose: the warning would only mislead whoever
// reads stderr.
QtMessageHandler previousHandler = nullptr;

void dropGraphicsWarning(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    // The Wayland client's complaint that it has no buffer integration for OpenGL, which it was
    // told to do without, comes in two lines.
    const QString trimmed = text.trimmed();
    if (type == QtWarningMsg
        && (trimmed == QLatin1String("No suitable graphics backend found")
            || trimmed.startsWith(QLatin1String("Failed to load client buffer integration:"))
            || trimmed.startsWith(QLatin1String("Available client buffer integrations:"))))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
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
    // Dictionary pages are small and static: drawing them in software costs nothing a user
    // notices, where setting up OpenGL for the engine took a third of the start-up and a
    // graphics process of its own.
    qputenv("QT_QUICK_BACKEND", "software");
    // Nor does anything else of the program draw with OpenGL; left to look, the engine would
    // probe the X server's OpenGL and load a software OpenGL driver of 30 MiB for nothing.
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    // The same on Wayland, which has no name for none: any name that is not a buffer
    // integration keeps the window in shared-memory buffers, and the engine's probe for OpenGL
    // from loading EGL and a software OpenGL driver.
    qputenv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", "none");
    // On Linux the engine keeps a page's content from the accessibility bus unless told
    // otherwise: a screen reader would find the dictionary's answer as an empty document. The
    // engine builds that tree only while an assistive technology is listening.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    if (!previousHandler)
        previousHandler = qInstallMessageHandler(dropGraphicsWarning);
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --disable-gpu";
    // The engine would keep every page looked up alive for a possible "Back", and the render
    // process grew by a tenth of its size every hundred lookups.
    flags += " --disable-back-forward-cache";
    // Every lookup is a new page with a script context of its own. Left to its defaults, the
    // script engine let those pile up between collections, and the render process swung by a
    // quarter of its size over a few hundred lookups.
    flags += " --js-flags=--optimize-for-size";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
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

void applyIdentity()
{
    QApplication::setApplicationName(QStringLiteral("TavrelDictionary"));
    QApplication::setApplicationVersion(QLatin1String(Version));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tavrel.TavrelDictionary"));
    QApplication::setWindowIcon(icon());
}

QIcon icon()
{
    initResources();
    // The icon file holds a 2-colour 32 x 32 for displays that have no more colours; for each
    // size the image with the most colours is the one to show.
    std::map<int, std::pair<qsizetype, QImage>> richest;
    QImageReader reader(QStringLiteral(":/icons/tavrel.ico"));
    do {
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        }
        auto &best = richest[image.width()];
        if (colours.size() > best.first)
            best = {colours.size(), image};
    } while (reader.jumpToNextImage());

    QIcon icon;
    for (const auto &[size, best] : richest)
        icon.addPixmap(QPixmap::fromImage(best.second));
    return icon;
}

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace App
