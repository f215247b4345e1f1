#pragma once

#include <QString>

// Where the program keeps its temp and session folders. Beside the program, as a portable copy
// has always had them, when its user can write there; otherwise, as when it is installed
// system-wide, in a folder of the user's own with the same layout.
namespace DataFolder {

struct Choice
{
    // The folder that holds temp and session.
    QString folder;
    // The settings file the starting template is read from: the chosen folder's own, or, for a
    // user who has saved nothing yet, the one an administrator left beside the program.
    QString startingSettings;
};

// The user's own folder: ~/.local/share/TavrelDictionary on Linux. Asks for the application's
// name, so it must come after that is set.
QString perUserFolder();

// Decided once at start-up, by what the kernel lets this user do: the program folder when temp
// and session are there as writable folders, or can be made (a name taken by a file is left to
// fail as it always did); otherwise the user's folder, which is then made with its parents.
Choice choose(const QString &programFolder, const QString &userFolder);

} // namespace DataFolder
