#pragma once

#include <QDBusConnection>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class DesktopSession;

// A desktop's own compositor, run headless on a desktop session's runtime folder and bus as the
// user's login runs it, with XWayland: GNOME's mutter or KDE's kwin_wayland. The selection and
// the clipboard are set from outside with wl-clipboard. Everything it starts ends with it.
class Compositor
{
public:
    enum class Desktop { Gnome, Kde };

    explicit Compositor(Desktop desktop);
    ~Compositor();

    // Starts it on the session; returns why it could not, or nothing.
    QString start(const DesktopSession &session);
    void stop();

    // The Wayland socket's name, for WAYLAND_DISPLAY.
    QString socket() const { return m_socket; }
    // The XWayland display the compositor said it serves, ":N", and its authority file (empty
    // when it needs none).
    QString xDisplay() const { return m_xDisplay; }
    QString xAuthority() const { return m_xAuthority; }

    // What a program of the session runs with: on its own Wayland connection, or through
    // XWayland (Qt's "xcb"), for DesktopSession::startProgram.
    QStringList variables(bool xwayland) const;

    // Puts the text into the primary selection and the clipboard with wl-copy, as the user
    // selecting and copying in another program would; returns why it could not, or nothing.
    QString select(const QString &selection, const QString &clipboard);

    // What a client of the compositor reads back with wl-paste: the primary selection or the
    // clipboard.
    QString paste(bool primary);

    // The compositor's log so far.
    QString log();

private:
    QString startProcess(const QString &program, const QStringList &arguments);
    QString waitForGnome();
    QString waitForKde();
    QString giveGnomeAKeyboard();
    QString holdPrimary();
    QProcessEnvironment clientEnvironment() const;

    Desktop m_desktop;
    QTemporaryDir m_home;
    QString m_runtime;
    QString m_busAddress;
    QString m_socket;
    QString m_xDisplay;
    QString m_xAuthority;
    QString m_log;
    QProcess m_compositor;
    QProcess m_holder;
    // mutter's remote desktop session, whose keyboard lasts as long as this connection.
    QString m_busName;
    QString m_remoteSession;
};
