#include "browser/browserengine.h"
#include "readingpage.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QObject>
#include <QRegularExpression>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// Bot checks and some dictionary sites turn away a user agent that names an embedded engine.
// Everything else stays, the real Chromium version included.
QString withoutEngineToken(QString userAgent)
{
    static const QRegularExpression token(QStringLiteral("\\s*QtWebEngine/[^\\s]*"));
    return userAgent.remove(token);
}

// A profile without a storage name is off the record: nothing of it is written to disk.
class OffTheRecordView : public QWebEngineView
{
public:
    explicit OffTheRecordView(QWidget *parent)
        : QWebEngineView(parent)
    {
        m_profile->setHttpUserAgent(withoutEngineToken(m_profile->httpUserAgent()));
        setPage(new ReadingPage(m_profile, this));
        // A page never writes a file, whether it sends one or the user clicks a link to one.
        connect(m_profile, &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
    }

    // The page must go before the profile it was made with, which is a child like it.
    ~OffTheRecordView() override { delete page(); }

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
        auto *open = new QAction(QStringLiteral("Open Page in Web Browser"), menu);
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
