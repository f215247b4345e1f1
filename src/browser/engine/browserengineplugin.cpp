#include "browser/browserengine.h"
#include "readingpage.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QObject>
#include <QRegularExpression>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// Bot checks and some dictionary sites turn away a user agent that names an embedded engine.
// Everything else stays, the real Chromium version included.
QString withoutEngineToken(QString userAgent)
{
    static const QRegularExpression token(QStringLiteral("\\s*QtWebEngine/[^\\s]*"));
    return userAgent.remove(token);
}

// Why a lookup got no page from its site, in words for the user; empty when the site answered
// (an HTTP 404 included) or the load was only stopped for another.
QString unreachableReason(const QWebEngineLoadingInfo &load)
{
    const int code = load.errorCode();
    if (load.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return code >= 500 ? QStringLiteral("the server answered with HTTP status %1").arg(code)
                           : QString();
    // Chromium's network error codes.
    switch (code) {
    case -3: // ABORTED: another address took its place
        return QString();
    case -105: // NAME_NOT_RESOLVED
    case -137: // NAME_RESOLUTION_FAILED
        return QStringLiteral("its name could not be resolved");
    case -102:
        return QStringLiteral("the connection was refused");
    case -101:
        return QStringLiteral("the connection was reset");
    case -100:
        return QStringLiteral("the connection was closed");
    case -7:
    case -118:
        return QStringLiteral("the connection timed out");
    case -106:
        return QStringLiteral("there is no network connection");
    case -109:
        return QStringLiteral("the address is unreachable");
    case -111: // TUNNEL_CONNECTION_FAILED
    case -130: // PROXY_CONNECTION_FAILED
    case -336: // PROXY_HTTP_BAD_RESPONSE
        return QStringLiteral("the proxy failed");
    case -324:
        return QStringLiteral("the server sent nothing");
    }
    // The rest of the errors of connections, certificates and HTTP; not a page stopped for
    // another, nor one whose process the program ended. Named by its code, as
    // "net::ERR_TOO_MANY_REDIRECTS" names it.
    if (code > -100 || code <= -400)
        return QString();
    QString name = load.errorString();
    name.remove(QStringLiteral("net::ERR_"));
    return name.replace(u'_', u' ').toLower();
}

// A profile without a storage name is off the record: nothing of it is written to disk.
class OffTheRecordView : public QWebEngineView
{
    Q_OBJECT
public:
    explicit OffTheRecordView(QWidget *parent)
        : QWebEngineView(parent)
    {
        m_profile->setHttpUserAgent(withoutEngineToken(m_profile->httpUserAgent()));
        setPage(new ReadingPage(m_profile, this));
        // A site that gives no page is answered by the program itself; the engine's own error
        // page, which it builds before it reports the failure, only held that answer up.
        page()->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        connect(page(), &QWebEnginePage::loadingChanged, this,
                [this](const QWebEngineLoadingInfo &load) {
                    if (load.status() != QWebEngineLoadingInfo::LoadFailedStatus)
                        return;
                    const QString reason = unreachableReason(load);
                    if (!reason.isEmpty())
                        emit siteUnreachable(load.url(), reason);
                });
        // A page never writes a file, whether it sends one or the user clicks a link to one.
        connect(m_profile, &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
    }

    // The page must go before the profile it was made with, which is a child like it.
    ~OffTheRecordView() override { delete page(); }

signals:
    // A lookup that got no page from its site: the program answers from its own dictionary.
    void siteUnreachable(const QUrl &url, const QString &reason);

protected:
    // The engine's menu, less what would save a file or open a window the program does not have.
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        QMenu *menu = createStandardContextMenu();
        for (QWebEnginePage::WebAction action :
             {QWebEnginePage::SavePage, QWebEnginePage::ViewSource,
              QWebEnginePage::DownloadLinkToDisk, QWebEnginePage::DownloadImageToDisk,
              QWebEnginePage::DownloadMediaToDisk, QWebEnginePage::InspectElement,
              QWebEnginePage::OpenLinkInNewTab, QWebEnginePage::OpenLinkInNewBackgroundTab})
            menu->removeAction(page()->action(action));
        // No separator left at an end or next to another.
        QAction *previous = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator() && (!previous || previous->isSeparator()))
                menu->removeAction(action);
            else
                previous = action;
        }
        if (previous && previous->isSeparator())
            menu->removeAction(previous);
        addOpenInWebBrowser(menu);
        menu->popup(event->globalPos());
    }

private:
    // The way out for a page that will not work here, or that the user wants in a full
    // browser. Only pages of the web have an address worth handing over.
    void addOpenInWebBrowser(QMenu *menu)
    {
        const QUrl address = url();
        if (address.scheme() != QLatin1String("http") && address.scheme() != QLatin1String("https"))
            return;
        auto *open = new QAction(
            QCoreApplication::translate("WebBrowser", "Open Page in Web Browser"), menu);
        connect(open, &QAction::triggered, this, [address] { QDesktopServices::openUrl(address); });
        QAction *reload = page()->action(QWebEnginePage::Reload);
        const QList<QAction *> actions = menu->actions();
        const qsizetype at = actions.indexOf(reload);
        menu->insertAction(at >= 0 && at + 1 < actions.size() ? actions.at(at + 1) : nullptr, open);
    }

    QWebEngineProfile *m_profile = new QWebEngineProfile(this);
};

} // namespace

class WebEnginePlugin : public QObject, public BrowserEngine
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BrowserEngine_iid)
    Q_INTERFACES(BrowserEngine)

public:
    QWidget *createView(QWidget *parent) override { return new OffTheRecordView(parent); }
};

#include "browserengineplugin.moc"
