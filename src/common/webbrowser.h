#pragma once

#include <QWebEngineView>

class QWebEngineProfile;

// The embedded browser. It is handed addresses exactly as the program built them and shows
// whatever the engine makes of them; it keeps no cache or cookies on disk.
class WebBrowser : public QWebEngineView
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

private:
    void startNavigation();

    QWebEngineProfile *m_profile = nullptr;
    QString m_requested;
    bool m_navigationDue = false;
};
