#include "webbrowser.h"

#include "browserengine.h"
#include "program/timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QOpenGLContext>
#include <QPainter>
#include <QPluginLoader>
#include <QVBoxLayout>

#include <cstdio>

// Exported by Qt GUI for the browser engine; made by Qt itself only when the application is
// told to share OpenGL contexts before it starts.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {

QString &engineFolder()
{
    static QString folder;
    return folder;
}

// Why the engine could not be loaded and where it was looked for, in words for the user.
QString &engineFailure()
{
    static QString failure;
    return failure;
}

BrowserEngine *loadEngine()
{
    // The engine reads the format of the application's shared OpenGL context while it starts.
    // Asking Qt for that context before start-up would set up OpenGL at a cost of a third of
    // the start-up time; the engine draws in software and never uses the context, so one that
    // was never created serves.
    if (!QOpenGLContext::globalShareContext())
        qt_gl_set_global_share_context(new QOpenGLContext(QCoreApplication::instance()));

    // Beside the program, or where an installation keeps it.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList folders = engineFolder().isEmpty()
        ? QStringList {programFolder,
                       QDir(programFolder).filePath(QStringLiteral(TAVREL_ENGINE_INSTALLED))}
        : QStringList {engineFolder()};
    QStringList failures;
    for (const QString &folder : folders) {
        QPluginLoader loader(QDir(folder).filePath(QStringLiteral("tavrel_browserengine")));
        if (auto *engine = qobject_cast<BrowserEngine *>(loader.instance()))
            return engine;
        failures << loader.errorString();
    }
    engineFailure() = QCoreApplication::translate(
                          "WebBrowser",
                          "No page can be shown: the browser engine could not be loaded.\n\n"
                          "Its module, tavrel_browserengine, was looked for in:\n%1\n\nWhy:\n%2")
                          .arg(folders.join(u'\n'), failures.join(u'\n'));
    std::fprintf(stderr, "TavrelDictionary: the browser engine could not be loaded: %s\n",
                 qPrintable(failures.join(QStringLiteral("; "))));
    return nullptr;
}

BrowserEngine *engine()
{
    static BrowserEngine *const loaded = loadEngine();
    return loaded;
}

// What a screen reader calls the browser area: the dictionary page, with its title once the page
// has one. The blank page shown before the first lookup has none worth reading.
QString pageName(const QString &title)
{
    return title.isEmpty() || title == QLatin1String("about:blank")
        ? QStringLiteral("Dictionary page")
        : QStringLiteral("Dictionary page: ") + title;
}

} // namespace

void WebBrowser::setEngineFolder(const QString &folder) { engineFolder() = folder; }

WebBrowser::WebBrowser(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Until the engine is there the area looks like the blank page it is about to show.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(pageName(QString()));
    connect(this, &WebBrowser::loadFinished, this, [this](bool ok) {
        Timing::mark(ok ? "page-loaded" : "page-failed", url().toString());
    });
}

QWidget *WebBrowser::view()
{
    if (m_view)
        return m_view;
    if (!engine()) {
        showEngineFailure();
        return nullptr;
    }
    m_view = engine()->createView(this);
    layout()->addWidget(m_view);
    // The engine's own signal, by name: its type is the module's business.
    connect(m_view, SIGNAL(loadFinished(bool)), this, SIGNAL(loadFinished(bool)));
    connect(m_view, SIGNAL(titleChanged(QString)), this, SLOT(nameAfterTitle(QString)));
    Timing::mark("engine-created");
    if (m_navigationDue)
        startNavigation();
    return m_view;
}

QUrl WebBrowser::url() const { return m_view ? m_view->property("url").toUrl() : QUrl(); }

QString WebBrowser::title() const
{
    return m_view ? m_view->property("title").toString() : QString();
}

void WebBrowser::showEngineFailure()
{
    // Otherwise the area would stay white, and only stderr would say why.
    if (findChild<QLabel *>(QStringLiteral("engineFailure")))
        return;
    auto *label = new QLabel(engineFailure(), this);
    label->setObjectName(QStringLiteral("engineFailure"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMargin(12);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout()->addWidget(label);
}

void WebBrowser::nameAfterTitle(const QString &title) { setAccessibleName(pageName(title)); }

void WebBrowser::paintEvent(QPaintEvent *)
{
    if (m_view)
        return;
    QPainter(this).fillRect(rect(), Qt::white);
    // The window is on the screen now: the engine comes next, before the user's first input
    // is handled.
    if (!m_creationQueued) {
        m_creationQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { view(); }, Qt::QueuedConnection);
    }
}

void WebBrowser::Navigate(const QString &address)
{
    m_requested = address;
    // Each navigation the engine is given costs it work on this thread, even when a later one
    // cancels it at once: a burst of presses would keep it busy for seconds. Started from the
    // event loop, a burst collapses into one load of the latest address.
    if (!m_navigationDue) {
        m_navigationDue = true;
        if (m_view)
            QMetaObject::invokeMethod(this, &WebBrowser::startNavigation, Qt::QueuedConnection);
    }
}

void WebBrowser::startNavigation()
{
    if (!m_navigationDue || !m_view)
        return;
    m_navigationDue = false;
    m_view->setProperty("url", QUrl(m_requested, QUrl::TolerantMode));
}
