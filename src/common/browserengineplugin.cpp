#include "browserengine.h"

#include <QObject>
#include <QWebEnginePage>
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
        setPage(new QWebEnginePage(m_profile, this));
    }

    // The page must go before the profile it was made with, which is a child like it.
    ~OffTheRecordView() override { delete page(); }

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
