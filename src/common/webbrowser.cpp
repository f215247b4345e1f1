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
    load(QUrl(address, QUrl::TolerantMode));
}
