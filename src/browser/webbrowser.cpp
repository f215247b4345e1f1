#include "webbrowser.h"

#include "answer/answerpage.h"
#include "answerview.h"
#include "browserengine.h"
#include "program/modules.h"
#include "program/timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QOpenGLContext>
#include <QPainter>
#include <QStackedLayout>
#include <QTimer>

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

const QString engineModule = QStringLiteral("tavrel_browserengine");

void shareContextForEngine()
{
    // The engine reads the format of the application's shared OpenGL context while it starts,
    // and from the start of its libraries on. Asking Qt for that context before start-up would
    // set up OpenGL at a cost of a third of the start-up time; the engine draws in software and
    // never uses the context, so one that was never created serves.
    if (!QOpenGLContext::globalShareContext())
        qt_gl_set_global_share_context(new QOpenGLContext(QCoreApplication::instance()));
}

BrowserEngine *loadEngine()
{
    shareContextForEngine();
    const Modules::Loaded loaded = Modules::load(engineModule, engineFolder());
    if (auto *engine = qobject_cast<BrowserEngine *>(loaded.instance))
        return engine;
    const QStringList &folders = loaded.folders;
    const QStringList &failures = loaded.failures;
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
        ? QCoreApplication::translate("WebBrowser", "Dictionary page")
        : QCoreApplication::translate("WebBrowser", "Dictionary page: ") + title;
}

} // namespace

void WebBrowser::setEngineFolder(const QString &folder) { engineFolder() = folder; }

void WebBrowser::setPrepareEngine(bool prepare)
{
    m_prepareEngine = prepare;
    if (m_prepareEngine && m_painted)
        warmUp();
}

void WebBrowser::warmUp()
{
    if (m_view || m_warmUpStarted)
        return;
    m_warmUpStarted = true;
    shareContextForEngine();
    // The view is made once the libraries are in memory, between two inputs; a lookup asked
    // for before that makes it itself, waiting only for what is left to read.
    Modules::preload(engineModule, engineFolder(), this, [this] {
        Timing::mark("engine-read");
        view();
    });
}

WebBrowser::WebBrowser(QWidget *parent)
    : QWidget(parent)
    , m_pages(new QStackedLayout(this))
{
    m_pages->setContentsMargins(0, 0, 0, 0);
    // The page shown is raised over the others, which are hidden only once it has been drawn,
    // if at all: the engine takes a while to agree to its view being hidden or shown, and the
    // answer for a site that can't be reached, or the next web page, would wait on that.
    m_pages->setStackingMode(QStackedLayout::StackAll);
    // Until a page is there the area looks like the blank page it is about to show.
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
    m_pages->addWidget(m_view);
    // The engine's own signals, by name: its type is the module's business.
    connect(m_view, SIGNAL(loadFinished(bool)), this, SLOT(forwardLoadFinished(bool)));
    connect(m_view, SIGNAL(titleChanged(QString)), this, SLOT(nameAfterTitle(QString)));
    connect(m_view, SIGNAL(siteUnreachable(QUrl, QString)), this,
            SLOT(showFallback(QUrl, QString)));
    Timing::mark("engine-created");
    if (m_navigationDue)
        startNavigation();
    return m_view;
}

AnswerView *WebBrowser::answers()
{
    if (m_answers)
        return m_answers;
    m_answers = new AnswerView(this);
    m_answers->setIsFavourite(m_isFavourite);
    m_pages->addWidget(m_answers);
    connect(m_answers, &AnswerView::answerShown, this, [this](const QUrl &address) {
        if (m_pages->currentWidget() != m_answers)
            return;
        setAccessibleName(m_answers->accessibleName());
        Timing::mark("answer-shown", address.toString());
        // Reported once the answer is in place, as the engine reports a page it has loaded.
        QMetaObject::invokeMethod(
            this, [this] { emit loadFinished(true); }, Qt::QueuedConnection);
    });
    connect(m_answers, &AnswerView::wordLinkFollowed, this, &WebBrowser::answerLinkFollowed);
    connect(m_answers, &AnswerView::favouriteClicked, this, &WebBrowser::favouriteClicked);
    connect(m_answers, &AnswerView::pronounce, this, &WebBrowser::pronounce);
    connect(m_answers, &AnswerView::strokeOrderClicked, this, &WebBrowser::strokeOrderClicked);
    m_answers->setToneColours(m_tones);
    // "Try again", and any other way out of the answers, is a lookup on the web again.
    connect(m_answers, &AnswerView::webLinkClicked, this,
            [this](const QUrl &address) { Navigate(address.toString(), m_word); });
    return m_answers;
}

AnswerView *WebBrowser::answerView() const { return m_answers; }

void WebBrowser::setToneColours(const ToneColours::Options &tones)
{
    m_tones = tones;
    if (m_answers)
        m_answers->setToneColours(tones);
}

void WebBrowser::setIsFavourite(AnswerPage::IsFavourite isFavourite)
{
    m_isFavourite = std::move(isFavourite);
    if (m_answers)
        m_answers->setIsFavourite(m_isFavourite);
}

bool WebBrowser::engineIsShown() const { return m_view && m_pages->currentWidget() == m_view; }

void WebBrowser::showPage(QWidget *page, bool stopEngine)
{
    if (m_pages->currentWidget() == page)
        return;
    // A web page still loading behind an answer would only report later, for nothing.
    if (stopEngine && engineIsShown() && page != m_view)
        QMetaObject::invokeMethod(m_view, "stop");
    m_pages->setCurrentWidget(page);
    // What lies under the page shown takes no input, focus or screen reader's attention.
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->widget(i)->setEnabled(m_pages->widget(i) == page);
    // And it is hidden once the page is drawn, but for the engine's view of a page the engine
    // gave up on: that is empty, and stays ready under the answer for the next lookup.
    if (stopEngine) {
        QTimer::singleShot(0, this, [this] {
            for (int i = 0; i < m_pages->count(); ++i) {
                if (m_pages->widget(i) != m_pages->currentWidget())
                    m_pages->widget(i)->hide();
            }
        });
    }
    if (page == m_view)
        nameAfterTitle(title());
}

QUrl WebBrowser::url() const
{
    if (m_answers && m_pages->currentWidget() == m_answers)
        return m_answers->source();
    return m_view ? m_view->property("url").toUrl() : QUrl();
}

QString WebBrowser::title() const
{
    if (m_answers && m_pages->currentWidget() == m_answers)
        return m_answers->word();
    return m_view ? m_view->property("title").toString() : QString();
}

void WebBrowser::showEngineFailure()
{
    // Otherwise the area would stay white, and only stderr would say why.
    if (auto *shown = findChild<QLabel *>(QStringLiteral("engineFailure"))) {
        showPage(shown);
        return;
    }
    auto *label = new QLabel(engineFailure(), this);
    label->setObjectName(QStringLiteral("engineFailure"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMargin(12);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAutoFillBackground(true);
    m_pages->addWidget(label);
    showPage(label);
}

void WebBrowser::nameAfterTitle(const QString &title)
{
    if (engineIsShown())
        setAccessibleName(pageName(title));
}

void WebBrowser::forwardLoadFinished(bool ok)
{
    // Only the page shown reports; a web page stopped for an answer is not.
    if (engineIsShown())
        emit loadFinished(ok);
}

void WebBrowser::showFallback(const QUrl &site, const QString &reason)
{
    // The engine reports the address it was at, which may be one redirected to; the lookup is
    // the one the user asked for, and the one "Try again" repeats.
    if (!engineIsShown() || m_navigationDue)
        return;
    // The engine has given up on the page: there is nothing of it to stop.
    showAnswer(AnswerPage::fallbackAddressOf(
                   m_word, m_requested.isEmpty() ? site.toString() : m_requested, reason),
               false);
    Timing::mark("fallback-shown", site.toString());
}

void WebBrowser::showAnswer(const QUrl &address, bool stopEngine)
{
    AnswerView *view = answers();
    showPage(view, stopEngine);
    view->open(address);
}

void WebBrowser::paintEvent(QPaintEvent *)
{
    if (m_pages->currentWidget())
        return;
    QPainter(this).fillRect(rect(), Qt::white);
    m_painted = true;
    // The window is on the screen now: the engine's libraries are read next, beside the user's
    // first input, when web pages are what the user looks words up in.
    if (m_prepareEngine)
        warmUp();
}

void WebBrowser::Navigate(const QString &address, const QString &word)
{
    m_requested = address;
    m_word = word;
    // Each navigation the engine is given costs it work on this thread, even when a later one
    // cancels it at once: a burst of presses would keep it busy for seconds. Started from the
    // event loop, a burst collapses into one load of the latest address.
    m_navigationDue = true;
    if (!m_startQueued) {
        m_startQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_startQueued = false;
                startNavigation();
            },
            Qt::QueuedConnection);
    }
}

void WebBrowser::startNavigation()
{
    if (!m_navigationDue)
        return;
    if (AnswerPage::isAnswerAddress(m_requested)) {
        m_navigationDue = false;
        showAnswer(AnswerPage::addressOfRequest(m_requested));
        return;
    }
    if (!m_view) {
        // The engine on its way, made once the blank area is painted, opens the address once it
        // is up. Without one coming, the blank page needs none: the area is blank already.
        if (m_prepareEngine && !m_painted && !m_pages->currentWidget())
            return;
        if (m_requested == QLatin1String("about:blank") && !m_prepareEngine) {
            m_navigationDue = false;
            return;
        }
        // Made, the engine opens the address at once; otherwise the area says why it can't.
        if (!view())
            m_navigationDue = false;
        return;
    }
    m_navigationDue = false;
    showPage(m_view);
    m_view->setProperty("url", QUrl(m_requested, QUrl::TolerantMode));
}
