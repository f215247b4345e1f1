#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

// The embedded browser. It is handed addresses exactly as the program built them and shows
// whatever the engine makes of them; it keeps no cache or cookies on disk.
//
// Starting the browser engine takes longer than everything else the main window does, so the
// engine is made once the window has been painted for the first time, or at once when something
// needs it sooner. Addresses given before then are opened as soon as it exists.
class WebBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit WebBrowser(QWidget *parent = nullptr);
    ~WebBrowser() override;

    // Asks the engine to open the address and returns at once; the engine starts on it once
    // control is back in the event loop. Nothing is encoded or checked here; an empty or
    // malformed address is the engine's to show.
    void Navigate(const QString &address);

    // The address of the latest Navigate, as it was given.
    QString LocationRequested() const { return m_requested; }

    // The engine's view and page, made first when they do not exist yet.
    QWebEngineView *view();
    QWebEnginePage *page();

    // Of the page shown; empty before the engine exists.
    QUrl url() const;
    QString title() const;

signals:
    void loadFinished(bool ok);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void startNavigation();

    QWebEngineProfile *m_profile = nullptr;
    QPointer<QWebEngineView> m_view;
    QString m_requested;
    bool m_navigationDue = false;
    bool m_creationQueued = false;
};
