#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

// A private X server (Xvfb) for real programs under test, and xdotool as the user's mouse and
// keyboard on it.
class XDisplay
{
public:
    ~XDisplay();

    // Starts Xvfb on a free display; false, with the reason in error, when it does not come up.
    bool start(QString *error);
    // ":N", for DISPLAY.
    QString name() const { return m_name; }

    // Runs xdotool on the display and returns what it printed.
    QString xdotool(const QStringList &arguments) const;
    // The first visible window whose title matches, waiting for one to appear.
    QString waitForWindow(const QString &title) const;
    // The window's top-left corner on the screen; the menu bar is at the top of the window.
    QPoint windowPlace(const QString &window) const;
    void click(QPoint at) const;
    // "Translate" in the main window.
    void clickTranslate(const QString &window) const;
    // Opens the main window's "Option" menu and picks the item so many places down.
    void chooseFromOptionMenu(const QString &window, int downPresses) const;

private:
    QProcess m_xvfb;
    QString m_name;
};
