#pragma once

#include "language/language.h"
#include "speech/synthesis.h"

#include <QColor>
#include <QString>

#include <array>

// Everything the program keeps for its user besides the query template, which stays in
// "tavrel.xml". Loaded once at start, handed to whoever needs it, saved whole. A new preference
// is a member here and a row of the file's table of fields (preferences.cpp).
struct Preferences
{
    struct Pronunciation
    {
        Speech::Voice english = Speech::Voice::AmericanEnglish;
        int speed = Speech::defaultSpeed; // words a minute
        bool readAfterLookup = false; // read the answer's first entry once it is shown

        bool operator==(const Pronunciation &other) const
        {
            return english == other.english && speed == other.speed
                && readAfterLookup == other.readAfterLookup;
        }
    };

    // How answers colour the tones of pinyin ("Appearance").
    struct Tones
    {
        QString scheme = QStringLiteral("default"); // "default", "colour-blind-safe", "none"
        std::array<QColor, 5> colours {}; // tones 1-4 and neutral; invalid: the scheme's own
        bool characters = false; // the headwords' characters too
    };

    // How the pop-up is asked for besides the command and the session bus.
    struct PopUp
    {
        // The X11 key that opens it from any program, as QKeySequence writes it portably;
        // empty for none.
        QString shortcut = QStringLiteral("Ctrl+Alt+Z");
        // On X11: a short selection made in another program opens it by itself.
        bool watchSelection = false;
    };

    Pronunciation pronunciation;
    bool keepHistory = true; // "Words" → "Keep History"
    Tones tones;
    PopUp popUp;
    // The user reads traditional characters: handwriting offers them beside the simplified.
    bool traditionalCharacters = false;
    // The interface's language, read once at start: a change applies at the next start.
    Language::Choice language = Language::Choice::System;
};

// Equal when they would be saved alike, so that a new preference is compared with no more work.
bool operator==(const Preferences &one, const Preferences &other);

// The file "preferences.xml" beside "tavrel.xml", UTF-8 with CR LF line ends: an element a
// subject, an attribute a value,
//   <preferences>
//       <pronunciation english-voice="en-us" speed="150" read-after-lookup="no"/>
//       <words keep-history="yes"/>
//       <tones scheme="default" tone-1="" ... neutral="" characters="no"/>
//       <pop-up shortcut="Ctrl+Alt+Z" watch-selection="no"/>
//       <language traditional-characters="no"/>
//       <interface language="system"/>
//   </preferences>
// A value that is missing or can't be read keeps its default; so does everything after the
// point where a damaged file stops making sense.
namespace PreferencesFile {

inline constexpr char fileName[] = "preferences.xml";

QString build(const Preferences &preferences);
Preferences parse(const QString &document);

// A missing or unreadable file gives the defaults.
Preferences read(const QString &path);
bool write(const QString &path, const Preferences &preferences, QString *error = nullptr);

// The preferences kept in folder, the one that holds "tavrel.xml". Until they are first saved
// there, what earlier versions kept elsewhere is carried over: "pronunciation.txt" from the same
// folder, and whether history is kept, as the words database said (historyKeptBefore).
Preferences load(const QString &folder, bool historyKeptBefore);
bool save(const QString &folder, const Preferences &preferences, QString *error = nullptr);

} // namespace PreferencesFile
