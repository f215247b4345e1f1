#pragma once

#include <QString>

class QIcon;

// What the program asks of the process it runs in: where its files live, how it ends, and what
// the browser engine needs settled before the QApplication exists.
namespace App {

// The program's version, as Qt reports it for the application and --version prints it.
inline constexpr char Version[] = "1.1";

// The folder that holds the program file, without a trailing separator. Tests point it at a
// temporary folder so that nothing is ever written beside the build tree.
QString Path();
void setPath(const QString &folder);

// Ends the program: the main event loop returns as soon as control gets back to it.
void End();

// Must run before the QApplication is constructed. The engine draws in software. Chromium
// refuses to start as root with its sandbox on, so for root alone the sandbox is turned off,
// with one line on stderr saying so.
void prepareBrowserEngine();

// Gives the running application its name, its desktop entry and its icon, which every window
// then shows. Call it once the QApplication exists.
void applyIdentity();

// The program's icon: the 16-colour images of its icon file, at 32 x 32 and 16 x 16.
QIcon icon();

// True when the process has a window system to talk to. Without one Qt aborts with a long
// message; the caller prints one line instead.
bool hasDisplay();

} // namespace App
