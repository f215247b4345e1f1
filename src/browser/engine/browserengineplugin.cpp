#include "browser/browserengine.h"
#include "readingpage.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QObject>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// A profile without a storage name is off the record: nothing of it is written to disk.
class OffTheRecordView : public QWebEngineView
{
public:
    explicit OffTheRecordView(QWidget *parent)
        : QWebEngineView(parent)
    {
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
        menu->popup(event->globalPos());
    }

private:
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
