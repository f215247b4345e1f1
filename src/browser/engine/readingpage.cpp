#include "readingpage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QTimer>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineSettings>

#include <csignal>
#include <memory>

namespace {

constexpr int HangTimeout = 5000;

// Schemes the engine opens itself; any other one is handed to the desktop.
bool isOpenedByTheEngine(const QString &scheme)
{
    static const QStringList schemes {"http", "https", "about",     "data",
                                      "blob", "file",  "filesystem"};
    return schemes.contains(scheme);
}

} // namespace

ReadingPage::ReadingPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    // A scheme of the desktop's (mailto: and the like) is opened only from the user's own
    // click; acceptNavigationRequest narrows that down to a link of the page itself.
    settings()->setUnknownUrlSchemePolicy(
        QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);

    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });

    // A window the user asked for opens in the user's web browser, as the separate browser
    // window it would have been; one the page opened by itself is dropped.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [](QWebEngineNewWindowRequest &request) {
                const QUrl url = request.requestedUrl();
                if (request.isUserInitiated() && url.isValid() && url.scheme() != "about")
                    QDesktopServices::openUrl(url);
            });

    connect(this, &QWebEnginePage::linkHovered, this,
            [this](const QString &link) { m_linkUnderPointer = link; });
    connect(this, &QWebEnginePage::renderProcessTerminated, this, &ReadingPage::processEnded);
}

void ReadingPage::processEnded(RenderProcessTerminationStatus status)
{
    if (m_lookupAfterHang) {
        m_lookupAfterHang = false;
        load(m_lookup);
    } else if (status != NormalTerminationStatus) {
        // Left alone, the area would go on showing the last picture of the page, which no
        // longer answers anything. The status text stays: it is the lookup's.
        setHtml(processEndedPage());
    }
}

void ReadingPage::endIfHung(const QUrl &lookup)
{
    m_lookup = lookup;
    const qint64 process = renderProcessPid();
    if (process <= 0)
        return;
    auto answered = std::make_shared<bool>(false);
    runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                  [answered](const QVariant &) { *answered = true; });
    // As long as a page may take to answer before the user gives up on it.
    QTimer::singleShot(HangTimeout, this, [this, answered, process] {
        if (*answered || renderProcessPid() != process)
            return;
#ifdef Q_OS_UNIX
        m_lookupAfterHang = true;
        ::kill(pid_t(process), SIGKILL);
#endif
    });
}

QString ReadingPage::processEndedPage()
{
    return QStringLiteral(
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head>"
        "<body style=\"font-family: sans-serif; margin: 2em\"><p>The page stopped because the "
        "browser's page process ended; press Translate to look it up again</p></body></html>");
}

bool ReadingPage::javaScriptConfirm(const QUrl &, const QString &message)
{
    // The engine asks whether to leave a page that wants to keep the user through this same
    // call, with a question of its own: the answer is always to leave, so that the next lookup
    // goes ahead.
    return message
        == QCoreApplication::translate(
               "QWebEnginePage",
               "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

bool ReadingPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (type == NavigationTypeTyped && isMainFrame)
        endIfHung(url);
    if (isOpenedByTheEngine(url.scheme()))
        return true;
    // A desktop scheme opens for the link the user clicked, or for the program's own lookup;
    // never for a frame, a script or a redirect. The engine calls all of them clicks, but only
    // a click on the link itself has its address under the pointer.
    if (!isMainFrame)
        return false;
    return type == NavigationTypeTyped
        || (type == NavigationTypeLinkClicked && url == QUrl(m_linkUnderPointer));
}
