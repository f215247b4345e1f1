#pragma once

#include <QtPlugin>

class QWidget;

// The browser engine outweighs the rest of the program many times over: loading its libraries
// took longer than everything else start-up does. It therefore lives in a module of its own,
// which the program loads only for web pages. The module makes views; everything else goes
// through the view's Qt properties "url" (setting it loads the address) and "title", its slot
// stop(), and its signals loadFinished(bool), titleChanged(QString) and
// siteUnreachable(QUrl, QString), sent when a lookup got no page from its site, with why.
class BrowserEngine
{
public:
    virtual ~BrowserEngine() = default;

    // A browser view owned by parent that keeps no cache or cookies on disk.
    virtual QWidget *createView(QWidget *parent) = 0;
};

#define BrowserEngine_iid "example.tavrel.BrowserEngine/1.0"
Q_DECLARE_INTERFACE(BrowserEngine, BrowserEngine_iid)
