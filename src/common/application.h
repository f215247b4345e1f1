#pragma once

#include <QString>

// What the program asks of the process it runs in: where its files live, how it ends, and what
// the browser engine needs settled before the QApplication exists.
namespace App {

// The folder that holds the program file, without a trailing separator. Tests point it at a
// temporary folder so that nothing is ever written beside the build tree.
QString Path();
void setPath(const QString &folder);

// Ends the program: the main event loop returns as soon as control gets back to it.
void End();

// Must run before the QApplication is constructed. Chromium refuses to start as root with its
// sandbox on, so for root alone the sandbox is turned off, with one line on stderr saying so.
void prepareBrowserEngine();

// True when the process has a window system to talk to. Without one Qt aborts with a long
// message; the caller prints one line instead.
bool hasDisplay();

} // namespace App
