#pragma once

#include <QObject>
#include <QPointer>

class PopUpWindow;
class SelectionReader;

// Looks words up in the pop-up, from the selection, the clipboard or a word given. The window
// is made with the first lookup and kept for the next ones.
class PopUpLookup : public QObject
{
    Q_OBJECT
public:
    explicit PopUpLookup(QObject *parent = nullptr);
    ~PopUpLookup() override;

    void lookUp(const QString &word);
    // The pop-up shows first, then the selection is read: Wayland gives it only to a window
    // that has the focus.
    void lookUpSelection();
    void lookUpClipboard();
    // The primary selection, in the pop-up only when it is a word or two.
    void lookUpWatchedSelection();

    // Made by the first lookup.
    PopUpWindow *window() const;

signals:
    // Every word the pop-up answers, as the user gave it: it goes into the history.
    void lookedUp(const QString &word);
    void openInMainWindow(const QString &word);
    // The window, made by the first lookup.
    void windowMade(PopUpWindow *window);
    // The pop-up was closed.
    void closed();

private:
    PopUpWindow *present();
    void makeReader();
    void readWhenFocused(int source);
    void answer(const QString &selected);

    QPointer<PopUpWindow> m_window;
    SelectionReader *m_reader = nullptr;
    bool m_reading = false;
    bool m_watchedReading = false;
};
