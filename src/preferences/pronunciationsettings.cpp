#include "pronunciationsettings.h"

#include "settingsfile.h"

#include <QStringList>

namespace PronunciationSettings {

Settings read(const QString &path)
{
    Settings settings;
    QString content;
    if (!SettingsFile::readTextFile(path, content))
        return settings;
    for (const QString &line : content.split(u'\n')) {
        const QString name = line.section(u'=', 0, 0).trimmed();
        const QString value = line.section(u'=', 1).trimmed();
        if (name == QLatin1String("english-voice")) {
            if (value == Speech::voiceName(Speech::Voice::BritishEnglish))
                settings.english = Speech::Voice::BritishEnglish;
            else if (value == Speech::voiceName(Speech::Voice::AmericanEnglish))
                settings.english = Speech::Voice::AmericanEnglish;
        } else if (name == QLatin1String("speed")) {
            bool ok = false;
            const int speed = value.toInt(&ok);
            if (ok && speed >= Speech::slowestSpeed && speed <= Speech::fastestSpeed)
                settings.speed = speed;
        } else if (name == QLatin1String("read-after-lookup")) {
            if (value == QLatin1String("yes") || value == QLatin1String("no"))
                settings.readAfterLookup = value == QLatin1String("yes");
        }
    }
    return settings;
}

} // namespace PronunciationSettings
