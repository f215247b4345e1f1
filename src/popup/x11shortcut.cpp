#include "x11shortcut.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

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

// The X keysym of a Qt key: letters, digits and other Latin-1 keys, the function keys, space.
xcb_keysym_t keysymOf(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return xcb_keysym_t(key - Qt::Key_A + 'a');
    if (key >= Qt::Key_Space && key <= 0xff)
        return xcb_keysym_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return xcb_keysym_t(0xffbe + (key - Qt::Key_F1));
    return 0;
}

uint16_t modifiersOf(Qt::KeyboardModifiers modifiers)
{
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

// Caps Lock and Num Lock (usually Mod2) must not keep the key from working.
constexpr uint16_t lockCombinations[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                         XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
} // namespace

X11Shortcut::X11Shortcut(QObject *parent)
    : QObject(parent)
{
    if (connection())
        qGuiApp->installNativeEventFilter(this);
}

X11Shortcut::~X11Shortcut() { release(); }

X11Shortcut::Result X11Shortcut::grab(const QKeySequence &keys)
{
    release();
    m_problem.clear();
    xcb_connection_t *c = connection();
    if (!c) {
        m_problem = tr("Only X11 lets a program take a key for itself: bind "
                       "\"TavrelDictionary --selection\" in the desktop's shortcut settings.");
        return Result::Unsupported;
    }
    if (keys.isEmpty())
        return Result::None;
    const QKeyCombination combination = keys[0];
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(c);
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysymOf(combination.key()));
    const uint8_t keycode = codes ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    if (keycode == 0) {
        m_problem = tr("The keyboard has no key %1.").arg(keys.toString(QKeySequence::NativeText));
        return Result::Unsupported;
    }
    const uint16_t modifiers = modifiersOf(combination.keyboardModifiers());
    bool held = false;
    for (uint16_t locks : lockCombinations) {
        const xcb_void_cookie_t cookie
            = xcb_grab_key_checked(c, 1, rootWindow(c), modifiers | locks, keycode,
                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
            held = held || error->error_code == XCB_ACCESS;
            std::free(error);
        }
    }
    m_keycode = keycode;
    m_modifiers = modifiers;
    if (held) {
        release();
        m_problem = tr("Another program holds %1: choose another key.")
                        .arg(keys.toString(QKeySequence::NativeText));
        return Result::Held;
    }
    return Result::Taken;
}

void X11Shortcut::release()
{
    xcb_connection_t *c = connection();
    if (!c || m_keycode == 0)
        return;
    for (uint16_t locks : lockCombinations)
        xcb_ungrab_key(c, m_keycode, rootWindow(c), m_modifiers | locks);
    xcb_flush(c);
    m_keycode = 0;
}

bool X11Shortcut::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (m_keycode == 0 || type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto *press = static_cast<xcb_key_press_event_t *>(message);
    constexpr uint16_t locks = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;
    if (press->detail != m_keycode || (press->state & ~locks & 0xff) != m_modifiers)
        return false;
    emit activated();
    return true;
}
