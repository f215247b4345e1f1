#include "selectionwatcher.h"

#include <QClipboard>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>

namespace {
xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                              : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// How often the buttons are asked about while the user still drags.
constexpr int buttonPollMs = 50;
constexpr uint16_t anyButton = XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_2
    | XCB_KEY_BUT_MASK_BUTTON_3;
} // namespace

SelectionWatcher::SelectionWatcher(QObject *parent)
    : QObject(parent)
{
    m_buttons.setInterval(buttonPollMs);
    connect(&m_buttons, &QTimer::timeout, this, &SelectionWatcher::waitForButtonsUp);
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &SelectionWatcher::selectionMade);
}

SelectionWatcher::~SelectionWatcher() { stop(); }

bool SelectionWatcher::start(int delayMs)
{
    m_delay.setInterval(delayMs);
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!extension || !extension->present)
        return false;
    // The extension answers events only to clients that said which version they speak.
    std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
    m_firstEvent = extension->first_event;
    xcb_xfixes_select_selection_input(c, rootWindow(c), XCB_ATOM_PRIMARY,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    xcb_flush(c);
    if (!m_watching)
        qGuiApp->installNativeEventFilter(this);
    m_watching = true;
    return true;
}

void SelectionWatcher::stop()
{
    m_buttons.stop();
    m_delay.stop();
    if (!m_watching)
        return;
    m_watching = false;
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    if (xcb_connection_t *c = connection()) {
        xcb_xfixes_select_selection_input(c, rootWindow(c), XCB_ATOM_PRIMARY, 0);
        xcb_flush(c);
    }
}

bool SelectionWatcher::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_firstEvent + XCB_XFIXES_SELECTION_NOTIFY)
        return false;
    const auto *notify = static_cast<xcb_xfixes_selection_notify_event_t *>(message);
    // Text selected in the program's own windows, or a selection dropped, opens nothing.
    const bool ours = QGuiApplication::clipboard()->ownsSelection()
        || QGuiApplication::focusWindow() != nullptr;
    if (notify->owner != XCB_NONE && !ours) {
        m_delay.stop();
        m_buttons.start();
    }
    return false;
}

void SelectionWatcher::waitForButtonsUp()
{
    xcb_connection_t *c = connection();
    if (!c) {
        m_buttons.stop();
        return;
    }
    xcb_query_pointer_reply_t *pointer
        = xcb_query_pointer_reply(c, xcb_query_pointer(c, rootWindow(c)), nullptr);
    const bool up = !pointer || !(pointer->mask & anyButton);
    std::free(pointer);
    if (up) {
        m_buttons.stop();
        m_delay.start();
    }
}
