#include "xdisplay.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QTest>

XDisplay::~XDisplay()
{
    if (m_xvfb.state() == QProcess::NotRunning)
        return;
    m_xvfb.terminate();
    if (!m_xvfb.waitForFinished(5000)) {
        m_xvfb.kill();
        m_xvfb.waitForFinished();
    }
}

bool XDisplay::start(QString *error)
{
    // Xvfb picks a free display and writes its number.
    m_xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (!m_xvfb.waitForStarted()) {
        *error = m_xvfb.errorString();
        return false;
    }
    // Waited for without an event loop: a suite may start its X server before its application.
    QDeadlineTimer deadline(20000);
    while (!m_xvfb.canReadLine() && m_xvfb.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    if (!m_xvfb.canReadLine()) {
        *error = QStringLiteral("Xvfb gave no display number");
        return false;
    }
    m_name = ':' + QString::fromLatin1(m_xvfb.readLine()).trimmed();
    return true;
}

QString XDisplay::xdotool(const QStringList &arguments) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_name);
    process.setProcessEnvironment(env);
    process.start("xdotool", arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString XDisplay::waitForWindow(const QString &title) const
{
    return xdotool({"search", "--sync", "--onlyvisible", "--name", title}).section('\n', 0, 0);
}

QPoint XDisplay::windowPlace(const QString &window) const
{
    QPoint place;
    for (const QString &line : xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
        if (line.startsWith("X="))
            place.setX(line.mid(2).toInt());
        if (line.startsWith("Y="))
            place.setY(line.mid(2).toInt());
    }
    return place;
}

void XDisplay::click(QPoint at) const
{
    xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
    xdotool({"click", "1"});
}

void XDisplay::clickTranslate(const QString &window) const
{
    // "Translate" stands at 10200, 240 twips in the client area below the menu bar, 1575 x 495.
    click(windowPlace(window) + QPoint(10200 / 15 + 50, 22 + 240 / 15 + 17));
}

void XDisplay::chooseFromOptionMenu(const QString &window, int downPresses) const
{
    click(windowPlace(window) + QPoint(20, 10));
    QStringList keys {"key", "--delay", "80"};
    for (int i = 0; i < downPresses; ++i)
        keys << "Down";
    keys << "Return";
    QTest::qWait(300);
    xdotool(keys);
}
