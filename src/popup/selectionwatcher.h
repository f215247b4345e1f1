#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <cstdint>

// Tells when the user has selected text in another program on X11: the primary selection
// changed owner and the mouse buttons are up again. The program's own selections are not told.
class SelectionWatcher : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit SelectionWatcher(QObject *parent = nullptr);
    ~SelectionWatcher() override;

    // False where the window system can't tell selections (anything but X11 with XFixes).
    bool start(int delayMs);
    void stop();

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;

signals:
    void selectionMade();

private:
    void waitForButtonsUp();

    QTimer m_buttons;
    QTimer m_delay;
    uint8_t m_firstEvent = 0;
    bool m_watching = false;
};
