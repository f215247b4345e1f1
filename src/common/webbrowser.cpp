#include "webbrowser.h"

#include "timing.h"

#include <QPainter>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

WebBrowser::WebBrowser(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Until the engine is there the area looks like the blank page it is about to show.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

WebBrowser::~WebBrowser()
{
    // The page must go before the profile it was made with.
    if (m_view)
        delete m_view->page();
    delete m_view;
}

QWebEngineView *WebBrowser::view()
{
    if (m_view)
        return m_view;
    m_profile = new QWebEngineProfile(this); // no storage name: off the record
    m_view = new QWebEngineView(this);
    m_view->setPage(new QWebEnginePage(m_profile, m_view));
    layout()->addWidget(m_view);
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        Timing::mark(ok ? "page-loaded" : "page-failed", url().toString());
        emit loadFinished(ok);
    });
    Timing::mark("engine-created");
    if (m_navigationDue)
        startNavigation();
    return m_view;
}

QWebEnginePage *WebBrowser::page() { return view()->page(); }

QUrl WebBrowser::url() const { return m_view ? m_view->url() : QUrl(); }

QString WebBrowser::title() const { return m_view ? m_view->title() : QString(); }

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
    m_view->load(QUrl(m_requested, QUrl::TolerantMode));
}
