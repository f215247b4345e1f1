#pragma once

#include <QWebEnginePage>

// A page looked up is content to read, not an application. Whatever it does, it opens no window
// of the program and blocks nothing, writes no file and is granted no device or permission;
// what the user asks for from it, a new window or a mail link, goes to the desktop's own
// programs.
class ReadingPage : public QWebEnginePage
{
    Q_OBJECT
public:
    ReadingPage(QWebEngineProfile *profile, QObject *parent);

    // What the page area shows once the page's process has ended under it.
    static QString processEndedPage();

protected:
    // Answered at once, with no window: an alert is taken as read, a question as cancelled.
    void javaScriptAlert(const QUrl &, const QString &) override { }
    bool javaScriptConfirm(const QUrl &, const QString &message) override;
    bool javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) override
    {
        return false;
    }
    QStringList chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) override
    {
        return {};
    }
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    // A page whose script never returns holds up the next address of its site, which its own
    // process has to take over. The lookup asks the page a trivial question; a process that has
    // not answered after a while is ended, and the lookup made again in a new one.
    void endIfHung(const QUrl &lookup);
    void processEnded(RenderProcessTerminationStatus status);

    QString m_linkUnderPointer;
    QUrl m_lookup;
    bool m_lookupAfterHang = false;
};
