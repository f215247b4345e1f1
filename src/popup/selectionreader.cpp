#include "selectionreader.h"

#include "rules.h"
#include "program/timing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {
xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// How much of the deadline a selection with no owner, or a refusing one, is waited for: the
// primary selection leaves the rest to the clipboard; a selection read alone leaves a margin.
constexpr int selectionShare = 60;
constexpr int aloneShare = 90;
// Between two requests to a selection not yet there. kwin hands its selection on to X11
// programs some tens of milliseconds after one of their windows has the focus.
constexpr int retryMs = 15;

const char *targetName(int target)
{
    static const char *const names[] = {"UTF8_STRING", "STRING", "TARGETS"};
    return names[target];
}
} // namespace

// A connection to the X server of the reader's own, and the window the owners write to.
struct SelectionReader::X11
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t window = 0;
    xcb_atom_t selection = XCB_ATOM_NONE;
    xcb_atom_t target = XCB_ATOM_NONE;
    xcb_atom_t property = XCB_ATOM_NONE;
    xcb_atom_t incr = XCB_ATOM_NONE;

    ~X11()
    {
        if (connection)
            xcb_disconnect(connection);
    }
};

SelectionReader::SelectionReader(QObject *parent)
    : QObject(parent)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { finish(QString()); });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (m_reading)
            askAs(Target::Utf8);
    });
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto x11 = std::make_unique<X11>();
    x11->connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x11->connection))
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x11->connection)).data;
    x11->window = xcb_generate_id(x11->connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(x11->connection, XCB_COPY_FROM_PARENT, x11->window, screen->root, 0, 0, 1,
                      1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    x11->property = atom(x11->connection, "TAVREL_SELECTION");
    x11->incr = atom(x11->connection, "INCR");
    xcb_flush(x11->connection);
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(x11->connection),
                                     QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SelectionReader::handleEvents);
    m_x11 = std::move(x11);
}

SelectionReader::~SelectionReader() = default;

void SelectionReader::read(Source source, int deadlineMs)
{
    m_reading = true;
    m_fallBack = source == Source::Selection;
    m_deadlineMs = deadlineMs;
    m_deadline.start(deadlineMs);
    m_elapsed.start();
    if (!m_x11) {
        readWithQt(source);
        return;
    }
    ask(source == Source::Clipboard ? "CLIPBOARD" : "PRIMARY");
}

void SelectionReader::readWithQt(Source source)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QString text;
    if (source != Source::Clipboard && clipboard->supportsSelection()) {
        const QMimeData *data = clipboard->mimeData(QClipboard::Selection);
        if (data && data->hasText())
            text = data->text();
    }
    if (source != Source::Primary && PopUpRules::lookupText(text).isEmpty()) {
        const QMimeData *data = clipboard->mimeData(QClipboard::Clipboard);
        text = data && data->hasText() ? data->text() : QString();
    }
    finish(text);
}

void SelectionReader::ask(const char *selection)
{
    m_retry.stop();
    m_x11->selection = atom(m_x11->connection, selection);
    m_waitUntilMs = m_deadlineMs * (m_fallBack ? selectionShare : aloneShare) / 100;
    askAs(Target::Utf8);
}

void SelectionReader::askAs(Target target)
{
    m_bytes.clear();
    m_incremental = false;
    m_asked = target;
    m_x11->target = atom(m_x11->connection, targetName(int(target)));
    xcb_delete_property(m_x11->connection, m_x11->window, m_x11->property);
    xcb_convert_selection(m_x11->connection, m_x11->window, m_x11->selection, m_x11->target,
                          m_x11->property, XCB_CURRENT_TIME);
    xcb_flush(m_x11->connection);
}

void SelectionReader::refused()
{
    switch (m_asked) {
    case Target::Utf8:
        // Owners older than UTF-8 know only Latin-1 text.
        askAs(Target::Latin1);
        break;
    case Target::Latin1:
        // Whether it holds text at all tells a selection not yet handed on from an image.
        askAs(Target::Targets);
        break;
    case Target::Targets:
        waitForOwner();
        break;
    }
}

void SelectionReader::waitForOwner()
{
    if (m_elapsed.elapsed() + retryMs < m_waitUntilMs)
        m_retry.start(retryMs);
    else
        finish(QString());
}

void SelectionReader::handleEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_x11->connection)) {
        const uint8_t type = event->response_type & 0x7f;
        if (m_reading && type == XCB_SELECTION_NOTIFY) {
            const auto *notify = reinterpret_cast<xcb_selection_notify_event_t *>(event);
            if (notify->selection != m_x11->selection || notify->target != m_x11->target) {
                // An answer to a request given up.
            } else if (notify->property != XCB_ATOM_NONE) {
                fetchProperty();
            } else {
                refused();
            }
        } else if (m_reading && m_incremental && type == XCB_PROPERTY_NOTIFY) {
            const auto *notify = reinterpret_cast<xcb_property_notify_event_t *>(event);
            if (notify->atom == m_x11->property && notify->state == XCB_PROPERTY_NEW_VALUE)
                fetchProperty();
        }
        std::free(event);
    }
    if (xcb_connection_has_error(m_x11->connection)) {
        m_notifier->setEnabled(false);
        finish(QString());
    }
}

void SelectionReader::fetchProperty()
{
    // Deleting the property is what asks an incremental owner for its next piece.
    const xcb_get_property_cookie_t cookie
        = xcb_get_property(m_x11->connection, 1, m_x11->window, m_x11->property,
                           XCB_GET_PROPERTY_TYPE_ANY, 0, uint32_t(maxBytes / 4));
    xcb_get_property_reply_t *reply = xcb_get_property_reply(m_x11->connection, cookie, nullptr);
    xcb_flush(m_x11->connection);
    if (!reply) {
        finish(QString());
        return;
    }
    const int length = xcb_get_property_value_length(reply);
    const char *value = static_cast<const char *>(xcb_get_property_value(reply));
    if (reply->type == m_x11->incr) {
        m_incremental = true;
    } else if (m_incremental && length > 0 && m_bytes.size() < maxBytes) {
        m_bytes.append(value, length);
    } else if (m_incremental && length > 0) {
        // Enough for a first line: the rest is taken and dropped, so the owner finishes.
    } else {
        m_bytes.append(value, std::min<qsizetype>(length, maxBytes));
        m_incremental = false;
    }
    const bool done = !m_incremental;
    const bool atoms = reply->type == XCB_ATOM_ATOM && reply->format == 32;
    std::free(reply);
    if (!done)
        return;
    if (m_asked == Target::Targets && !atoms)
        refused();
    else
        answered();
}

void SelectionReader::answered()
{
    if (m_asked != Target::Targets) {
        // An owner that answers with nothing has not been given the text yet.
        if (m_bytes.isEmpty())
            refused();
        else
            finish(PopUpRules::decodedSelection(m_bytes, m_asked == Target::Utf8));
        return;
    }
    QList<xcb_get_atom_name_cookie_t> cookies;
    const auto *targets = reinterpret_cast<const xcb_atom_t *>(m_bytes.constData());
    for (qsizetype i = 0; i < m_bytes.size() / qsizetype(sizeof(xcb_atom_t)); ++i)
        cookies << xcb_get_atom_name(m_x11->connection, targets[i]);
    QList<QByteArray> names;
    for (const xcb_get_atom_name_cookie_t &cookie : std::as_const(cookies)) {
        xcb_get_atom_name_reply_t *name
            = xcb_get_atom_name_reply(m_x11->connection, cookie, nullptr);
        if (name)
            names << QByteArray(xcb_get_atom_name_name(name), xcb_get_atom_name_name_length(name));
        std::free(name);
    }
    // Text it would not give is on its way; anything else is no text at all.
    if (PopUpRules::offersText(names))
        waitForOwner();
    else
        finish(QString());
}

void SelectionReader::finish(const QString &text)
{
    if (!m_reading)
        return;
    if (m_fallBack && m_x11 && PopUpRules::lookupText(text).isEmpty() && m_deadline.isActive()) {
        m_fallBack = false;
        ask("CLIPBOARD");
        return;
    }
    m_reading = false;
    m_deadline.stop();
    m_retry.stop();
    if (m_x11)
        Timing::mark("selection-read", QStringLiteral("%1 ms, as %2")
                                           .arg(m_elapsed.elapsed())
                                           .arg(QLatin1String(targetName(int(m_asked)))));
    m_bytes.clear();
    emit textRead(text);
}
