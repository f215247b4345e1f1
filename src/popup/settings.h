#pragma once

#include <QKeySequence>

// How the pop-up is asked for, with the defaults a new user gets.
struct PopUpSettings
{
    // The X11 key that opens the pop-up from any program; empty for none.
    QKeySequence shortcut {QStringLiteral("Ctrl+Alt+Z")};
    // On X11: a short selection made in another program opens the pop-up by itself.
    bool watchSelection = false;
    // How long after the mouse button is released a watched selection opens the pop-up.
    int watchDelayMs = 300;
};
