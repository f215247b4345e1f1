#pragma once

#include <QAbstractNativeEventFilter>
#include <QKeySequence>
#include <QObject>

#include <cstdint>

// A key of the program's own that works in every program on X11, taken with XGrabKey on the
// root window. Elsewhere it takes nothing.
class X11Shortcut : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    enum class Result { Taken, Held, Unsupported, None };

    explicit X11Shortcut(QObject *parent = nullptr);
    ~X11Shortcut() override;

    // Releases the key held, then takes keys (its first key); Held when another program has it.
    Result grab(const QKeySequence &keys);
    void release();

    // The reason the last grab failed, in a sentence a user reads; empty when it worked.
    QString problem() const { return m_problem; }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;

signals:
    void activated();

private:
    uint8_t m_keycode = 0;
    uint16_t m_modifiers = 0;
    QString m_problem;
};
