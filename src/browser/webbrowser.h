#pragma once

#include "answer/answerpage.h"
#include "answer/tonecolours.h"
#include "lookup/answer.h"
#include "words/store.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

class AnswerView;
class QStackedLayout;

// The embedded browser. It is handed addresses exactly as the program built them. A "tavrel:"
// address is answered by the built-in dictionary and drawn by a light text view of its own;
// any other goes to the browser engine, which keeps no cache or cookies on disk. When a web
// lookup gets no page from its site, the area says so and gives the built-in answer instead.
//
// The engine is loaded and its view made only for a web address. When web addresses are
// expected, its libraries are read on a thread of their own once the window has been painted for
// the first time, or once web addresses come to be expected. Addresses given before the engine
// is up are opened as soon as it is.
class WebBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit WebBrowser(QWidget *parent = nullptr);

    // Where the engine module is looked for instead of beside the program and in the
    // installation's library folder; for programs that are not the installed one, like tests.
    static void setEngineFolder(const QString &folder);

    // Whether the engine is made once the window is first painted (as it is unless told
    // otherwise), or at once when it has been, so that the first web page is not held up by the
    // engine's start. Without it, the engine starts with the first web address.
    void setPrepareEngine(bool prepare);

    // Asks for the address and returns at once; the work starts once control is back in the
    // event loop. Nothing is encoded or checked here; an empty or malformed address is the
    // engine's to show. word is what a web address looks up: the built-in dictionary answers it
    // should the site give no page.
    void Navigate(const QString &address, const QString &word = QString());

    // The address of the latest Navigate, as it was given.
    QString LocationRequested() const { return m_requested; }

    // The engine's view (a QWebEngineView), made first when it does not exist yet; null when
    // the engine cannot be loaded, and the area then says why.
    QWidget *view();

    // The view of built-in answers; null until the first is shown.
    AnswerView *answerView() const;

    // How the built-in answers colour tones, now and in the view made later.
    void setToneColours(const ToneColours::Options &tones);

    // Which entries of the answers are favourites, as their stars say; without it, none is.
    void setIsFavourite(AnswerPage::IsFavourite isFavourite);

    // Of the page shown: a web page, or a built-in answer (a "tavrel:" address, titled with
    // the word). Empty before anything is shown.
    QUrl url() const;
    QString title() const;

signals:
    void loadFinished(bool ok);
    // The user followed a link in an answer to the answer for word.
    void answerLinkFollowed(const QString &word);
    // The star of an entry in an answer was clicked.
    void favouriteClicked(const Words::Favourite &entry);
    // A built-in answer's speaker link, or its "Pronounce": numbered pinyin or an English word.
    void pronounce(const QString &text, bool english);
    // A character of a built-in answer's headword, for its stroke order.
    void strokeOrderClicked(const QString &character);

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void nameAfterTitle(const QString &title);
    void forwardLoadFinished(bool ok);
    void showFallback(const QUrl &site, const QString &reason);

private:
    void warmUp();
    void startNavigation();
    void showAnswer(const QUrl &address, bool stopEngine = true);
    void showEngineFailure();
    void showPage(QWidget *page, bool stopEngine = true);
    bool engineIsShown() const;
    AnswerView *answers();

    QStackedLayout *m_pages = nullptr;
    QPointer<QWidget> m_view;
    QPointer<AnswerView> m_answers;
    AnswerPage::IsFavourite m_isFavourite;
    QString m_requested;
    QString m_word;
    bool m_navigationDue = false; // m_requested waits to be opened
    bool m_startQueued = false;
    bool m_warmUpStarted = false;
    bool m_painted = false;
    bool m_prepareEngine = true;
    ToneColours::Options m_tones;
};
