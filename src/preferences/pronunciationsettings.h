#pragma once

#include "preferences.h"

#include <QString>

// "pronunciation.txt", where earlier versions kept how words are read aloud, a line
// "name=value" for each setting. Read only to carry its values over into the preferences.
namespace PronunciationSettings {

inline constexpr char fileName[] = "pronunciation.txt";

using Settings = Preferences::Pronunciation;

// A missing or unreadable file, and every line that can't be read, gives the defaults.
Settings read(const QString &path);

} // namespace PronunciationSettings
