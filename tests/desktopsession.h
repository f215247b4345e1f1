#pragma once

#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A desktop session of its own for the real program, as a screen reader user has it: a session
// bus, behind which the accessibility bus starts when first asked for, and the client that
// screen readers use (AT-SPI) to read the program's windows and work its controls. Everything it
// starts ends with it.
class DesktopSession
{
public:
    ~DesktopSession();

    // Starts the session bus; returns why it could not, or nothing.
    QString start();

    // A folder of the session's own, for sockets, as a login gives one.
    QString runtimeFolder() const { return m_runtime.path(); }
    // The session bus, for DBUS_SESSION_BUS_ADDRESS.
    QString busAddress() const { return m_busAddress; }

    // Puts the program, its engine module and its dictionary into the folder and starts it there
    // with the session's environment and the given variables; a value "-" removes a variable.
    // Returns false when it does not start.
    bool startProgram(const QString &folder, const QStringList &variables,
                      const QStringList &arguments = {});

    // Ends the program, its engine's processes and the actions still waiting on it.
    void endProgram();
    QProcess &program() { return m_program; }
    // What the program wrote to stderr so far.
    QString programErrors();

    // Every showing control of the program's windows, a "window<TAB>role<TAB>name" line each;
    // empty while the program is not on the accessibility bus.
    QStringList tree();

    // The text a screen reader reads out of the control; empty when it is not there.
    QString text(const QString &role, const QString &name);

    // Replaces the text of the text box with that accessible name; false when it is not there.
    bool setText(const QString &name, const QString &text);

    // Does the control's action. A control that opens a modal window answers only once it is
    // closed, so the answer is not waited for.
    void press(const QString &role, const QString &name);

private:
    QProcess *startClient(const QStringList &arguments);
    // The client's exit code: 0 done, 3 nothing found, anything else a failure.
    int client(const QStringList &arguments, QString *output = nullptr);

    QTemporaryDir m_runtime;
    QProcess m_bus;
    QString m_busAddress;
    QProcess m_program;
    QList<QProcess *> m_pending;
    QString m_errors;
};
