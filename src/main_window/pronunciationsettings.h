#pragma once

#include "speech/synthesis.h"

#include <QString>

// How words are read aloud, kept in "pronunciation.txt" beside the settings file "tavrel.xml",
// whose format stays as it is: a line "name=value" for each setting.
namespace PronunciationSettings {

inline constexpr char fileName[] = "pronunciation.txt";

struct Settings
{
    Speech::Voice english = Speech::Voice::AmericanEnglish;
    int speed = Speech::defaultSpeed; // words a minute
    bool readAfterLookup = false; // read the answer's first entry once it is shown

    bool operator==(const Settings &other) const
    {
        return english == other.english && speed == other.speed
            && readAfterLookup == other.readAfterLookup;
    }
};

// A missing or unreadable file, and every line that can't be read, gives the defaults.
Settings read(const QString &path);
QString build(const Settings &settings);
bool write(const QString &path, const Settings &settings, QString *error = nullptr);

} // namespace PronunciationSettings
