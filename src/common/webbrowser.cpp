#include "webbrowser.h"

#include "timing.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>

WebBrowser::WebBrowser(QWidget *parent)
    : QWebEngineView(parent)
    , m_profile(new QWebEngineProfile(this)) // no storage name: off the record
{
    setPage(new QWebEnginePage(m_profile, this));
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
        Timing::mark(ok ? "page-loaded" : "page-failed", url().toString());
    });
}

WebBrowser::~WebBrowser()
{
    // The page must go before the profile it was made with.
    delete page();
}

void WebBrowser::Navigate(const QString &address)
{
    m_requested = address;
    // Each navigation the engine is given costs it work on this thread, even when a later one
    // cancels it at once: a burst of presses would keep it busy for seconds. Started from the
    // event loop, a burst collapses into one load of the latest address.
    if (!m_navigationDue) {
        m_navigationDue = true;
        QMetaObject::invokeMethod(this, &WebBrowser::startNavigation, Qt::QueuedConnection);
    }
}

void WebBrowser::startNavigation()
{
    m_navigationDue = false;
    load(QUrl(m_requested, QUrl::TolerantMode));
}
