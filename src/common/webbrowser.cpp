#include "webbrowser.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>

WebBrowser::WebBrowser(QWidget *parent)
    : QWebEngineView(parent)
    , m_profile(new QWebEngineProfile(this)) // no storage name: off the record
{
    setPage(new QWebEnginePage(m_profile, this));
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
