#include "answerview.h"

#include "answer/answerpage.h"
#include "answer/favouritelink.h"
#include "answer/strokeorderlink.h"
#include "speakerlink.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

namespace {

// About as many as fill the area at its usual size under the line for a site that could not
// be reached.
constexpr int firstScreenEntries = 4;

} // namespace

AnswerView::AnswerView(QWidget *parent)
    : QTextBrowser(parent)
{
    setFrameShape(QFrame::NoFrame);
    // Links are ours to follow: an answer's link opens another answer here, any other goes to
    // the browser control.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    document()->setDocumentMargin(16);
    // Latin text, pinyin's tone marks among it, in Debian's usual face: WenQuanYi's small
    // bitmaps, which fontconfig may pick for it, draw marks such as that of ǒ blank. Chinese
    // glyphs then come from a font made for them rather than whichever has them first.
    QFont face = font();
    face.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), face.family()});
    face.setPointSizeF(face.pointSizeF() * 1.15);
    setFont(face);
    connect(this, &QTextBrowser::anchorClicked, this, &AnswerView::followLink);
    connect(this, qOverload<const QUrl &>(&QTextBrowser::highlighted), this, &AnswerView::nameLink);

    // Sent before source() has changed.
    connect(this, &QTextBrowser::sourceChanged, this, [this](const QUrl &address) {
        setAccessibleName(QCoreApplication::translate("AnswerView", "Dictionary page: ")
                          + AnswerPage::wordOf(address));
        emit answerShown(address);
    });

    // Alt+S wherever the focus is in the window, while an answer is shown.
    m_pronounce = new QAction(QCoreApplication::translate("AnswerView", "Pronounce"), this);
    m_pronounce->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S));
    m_pronounce->setShortcutContext(Qt::WindowShortcut);
    m_pronounce->setEnabled(false);
    connect(m_pronounce, &QAction::triggered, this, &AnswerView::pronounceFirst);
    addAction(m_pronounce);
    // The speaker links lie over the text, and follow it.
    connect(this, &QTextBrowser::sourceChanged, this, &AnswerView::placeSpeakers);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &AnswerView::placeSpeakers);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &AnswerView::placeSpeakers);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &AnswerView::placeSpeakers);
}

void AnswerView::pronounceFirst()
{
    if (!m_firstSpeaker.isNull())
        emit pronounce(m_firstSpeaker.text, m_firstSpeaker.english);
}

void AnswerView::placeSpeakers()
{
    // Once for everything that moved the text since the last time.
    if (m_placingDue)
        return;
    m_placingDue = true;
    QTimer::singleShot(0, this, [this] {
        m_placingDue = false;
        SpeakerLink::placeAll(*this);
    });
}

void AnswerView::resizeEvent(QResizeEvent *event)
{
    QTextBrowser::resizeEvent(event);
    placeSpeakers();
}

void AnswerView::open(const QUrl &address)
{
    // The same address asked for again is answered again: the dictionary may have changed
    // under it, and the user pressed Translate to see it.
    if (address == source())
        reload();
    else
        setSource(address, QTextDocument::HtmlResource);
}

QString AnswerView::word() const { return AnswerPage::wordOf(source()); }

void AnswerView::keepAnswer(const QString &word, const Dictionary::Answer &answer)
{
    m_answerWord = word;
    m_answer = answer;
}

Dictionary::Answer AnswerView::takeAnswer(const QString &word)
{
    std::optional<Dictionary::Answer> kept;
    kept.swap(m_answer);
    return kept && m_answerWord == word ? *kept : AnswerPage::answerFor(word);
}

QVariant AnswerView::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::HtmlResource && name.scheme() == QLatin1String("tavrel")) {
        // Reading a page of sixty entries takes a few milliseconds, and the user reads the
        // first screen first: that is drawn at once, and the rest put in right after it.
        const QString word = AnswerPage::wordOf(name);
        const Dictionary::Answer answer = takeAnswer(word);
        m_firstSpeaker = AnswerPage::firstSpeaker(answer);
        m_pronounce->setEnabled(!m_firstSpeaker.isNull());
        m_shown = answer;
        bool whole = true;
        const QString firstScreen = page(answer, name, firstScreenEntries, &whole);
        if (!whole) {
            keepAnswer(word, answer);
            QTimer::singleShot(0, this, [this, name] { completePage(name); });
        }
        return firstScreen;
    }
    if (type == QTextDocument::ImageResource && name.toString() == AnswerPage::speakerImage)
        return SpeakerLink::picture(font());
    // Nothing of an answer page comes from elsewhere; above all, nothing from the disk.
    return QVariant();
}

void AnswerView::completePage(const QUrl &address)
{
    // A page opened since has taken the answer kept for this one.
    if (source() != address)
        return;
    m_shown = takeAnswer(AnswerPage::wordOf(address));
    showWhole(*m_shown, address);
}

void AnswerView::showWhole(const Dictionary::Answer &answer, const QUrl &address)
{
    const int scrolled = verticalScrollBar()->value();
    setHtml(page(answer, address));
    verticalScrollBar()->setValue(scrolled);
    placeSpeakers();
}

QString AnswerView::page(const Dictionary::Answer &answer, const QUrl &address, int firstEntries,
                         bool *whole) const
{
    const AnswerPage::Options options {AnswerPage::siteOf(address), AnswerPage::reasonOf(address),
                                       firstEntries, m_isFavourite, readableTones()};
    return AnswerPage::html(answer, options, whole);
}

void AnswerView::setIsFavourite(AnswerPage::IsFavourite isFavourite)
{
    m_isFavourite = std::move(isFavourite);
}

void AnswerView::refresh()
{
    if (m_shown)
        showWhole(*m_shown, source());
}

void AnswerView::setToneColours(const ToneColours::Options &tones)
{
    m_tones = tones;
    if (!source().isEmpty())
        refresh();
}

ToneColours::Options AnswerView::readableTones() const
{
    ToneColours::Options tones = m_tones;
    if (!tones.palette.isNone())
        tones.palette = ToneColours::readableOn(tones.palette, palette().color(QPalette::Base));
    return tones;
}

void AnswerView::nameLink(const QUrl &address)
{
    // Qt's text view gives links no accessible object of their own: the link reached with Tab
    // or the pointer is named in the view's description, which screen readers read with it.
    if (FavouriteLink::isLink(address)) {
        const Words::Favourite entry = FavouriteLink::entryOf(address);
        setAccessibleDescription(FavouriteLink::accessibleName(
            entry, m_isFavourite && m_isFavourite(entry.word, entry.reading)));
    } else if (StrokeOrderLink::isLink(address)) {
        setAccessibleDescription(
            StrokeOrderLink::accessibleName(StrokeOrderLink::characterOf(address)));
    } else {
        setAccessibleDescription(QString());
    }
}

bool AnswerView::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab select the next link's text, which names it.
    const bool moved = QTextBrowser::focusNextPrevChild(next);
    if (hasFocus() && textCursor().hasSelection())
        nameLink(QUrl(textCursor().charFormat().anchorHref()));
    return moved;
}

void AnswerView::followLink(const QUrl &address)
{
    if (FavouriteLink::isLink(address)) {
        emit favouriteClicked(FavouriteLink::entryOf(address));
    } else if (StrokeOrderLink::isLink(address)) {
        emit strokeOrderClicked(StrokeOrderLink::characterOf(address));
    } else if (AnswerPage::isSpeakerAddress(address)) {
        const AnswerPage::Speaker speaker = AnswerPage::speakerOf(address);
        emit pronounce(speaker.text, speaker.english);
    } else if (address.scheme() == QLatin1String("tavrel")) {
        setSource(address, QTextDocument::HtmlResource);
        emit wordLinkFollowed(AnswerPage::wordOf(address));
    } else
        emit webLinkClicked(address);
}

void AnswerView::contextMenuEvent(QContextMenuEvent *event)
{
    // What a page's menu has: the way back and forward, then copying.
    QMenu *menu = createStandardContextMenu(event->pos());
    QAction *first = menu->actions().value(0);
    QAction *back = new QAction(QCoreApplication::translate("AnswerView", "Back"), menu);
    back->setEnabled(isBackwardAvailable());
    connect(back, &QAction::triggered, this, &QTextBrowser::backward);
    QAction *forward = new QAction(QCoreApplication::translate("AnswerView", "Forward"), menu);
    forward->setEnabled(isForwardAvailable());
    connect(forward, &QAction::triggered, this, &QTextBrowser::forward);
    menu->insertActions(first, {back, forward, m_pronounce});
    menu->insertSeparator(first);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool AnswerView::viewportEvent(QEvent *event)
{
    // The text's own tooltips, such as what a frequency band means.
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        QTextCursor under = cursorForPosition(help->pos());
        if (!under.atBlockEnd())
            under.movePosition(QTextCursor::NextCharacter);
        const QString tip = under.charFormat().toolTip();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QTextBrowser::viewportEvent(event);
}
