#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

// The embedded browser. It is handed addresses exactly as the program built them and shows
// whatever the engine makes of them; it keeps no cache or cookies on disk.
//
// The engine is loaded and its view made once the window has been painted for the first time,
// before the next input is handled, or at once when something needs the view sooner. Addresses
// given before then are opened as soon as the view exists.
class WebBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit WebBrowser(QWidget *parent = nullptr);

    // Where the engine module is looked for instead of beside the program and in the
    // installation's library folder; for programs that are not the installed one, like tests.
    static void setEngineFolder(const QString &folder);

    // Asks the engine to open the address and returns at once; the engine starts on it once
    // control is back in the event loop. Nothing is encoded or checked here; an empty or
    // malformed address is the engine's to show.
    void Navigate(const QString &address);

    // The address of the latest Navigate, as it was given.
    QString LocationRequested() const { return m_requested; }

    // The engine's view (a QWebEngineView), made first when it does not exist yet; null when
    // the engine cannot be loaded, and the area then says why.
    QWidget *view();

    // Of the page shown; empty before the view exists.
    QUrl url() const;
    QString title() const;

signals:
    void loadFinished(bool ok);

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void nameAfterTitle(const QString &title);

private:
    void startNavigation();
    void showEngineFailure();

    QPointer<QWidget> m_view;
    QString m_requested;
    bool m_navigationDue = false;
    bool m_creationQueued = false;
};
