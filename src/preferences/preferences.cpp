#include "preferences.h"

#include "pronunciationsettings.h"
#include "settingsfile.h"

#include <QList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>
#include <utility>

namespace PreferencesFile {

namespace {

constexpr char rootName[] = "preferences";
const QString yes = QStringLiteral("yes");
const QString no = QStringLiteral("no");

// One value of the file. A new preference is a member of Preferences and a row of fields().
struct Field
{
    QString section;
    QString name;
    std::function<QString(const Preferences &)> text;
    // Leaves the default for text it can't read.
    std::function<void(Preferences &, const QString &)> take;
};

// at is a generic lambda giving the member, for a const and a writable Preferences alike.
template <typename At>
Field yesNo(const char *section, const char *name, At at)
{
    return {QLatin1String(section), QLatin1String(name),
            [at](const Preferences &p) { return at(p) ? yes : no; },
            [at](Preferences &p, const QString &text) {
                if (text == yes || text == no)
                    at(p) = text == yes;
            }};
}

template <typename At>
Field number(const char *section, const char *name, At at, int lowest, int highest)
{
    return {QLatin1String(section), QLatin1String(name),
            [at](const Preferences &p) { return QString::number(at(p)); },
            [at, lowest, highest](Preferences &p, const QString &text) {
                bool ok = false;
                const int value = text.toInt(&ok);
                if (ok && value >= lowest && value <= highest)
                    at(p) = value;
            }};
}

template <typename At>
Field text(const char *section, const char *name, At at)
{
    return {QLatin1String(section), QLatin1String(name),
            [at](const Preferences &p) { return at(p); },
            [at](Preferences &p, const QString &text) { at(p) = text; }};
}

template <typename At, typename Value>
Field choice(const char *section, const char *name, At at,
             const QList<std::pair<Value, QString>> &names)
{
    return {QLatin1String(section), QLatin1String(name),
            [at, names](const Preferences &p) {
                for (const auto &[value, text] : names)
                    if (value == at(p))
                        return text;
                return QString();
            },
            [at, names](Preferences &p, const QString &text) {
                for (const auto &[value, known] : names)
                    if (known == text)
                        at(p) = value;
            }};
}

// A colour as "#rrggbb"; empty, and so the scheme's own, when it is not set.
template <typename At>
Field colour(const char *section, const char *name, At at)
{
    return {QLatin1String(section), QLatin1String(name),
            [at](const Preferences &p) { return at(p).isValid() ? at(p).name() : QString(); },
            [at](Preferences &p, const QString &text) {
                const QColor read = QColor::fromString(text);
                if (read.isValid())
                    at(p) = read;
            }};
}

const QList<Field> &fields()
{
    using Speech::Voice;
    using Language::Choice;
    static const QList<Field> all {
        choice(
            "pronunciation", "english-voice",
            [](auto &p) -> auto & { return p.pronunciation.english; },
            QList<std::pair<Voice, QString>> {
                {Voice::AmericanEnglish, Speech::voiceName(Voice::AmericanEnglish)},
                {Voice::BritishEnglish, Speech::voiceName(Voice::BritishEnglish)}}),
        number(
            "pronunciation", "speed", [](auto &p) -> auto & { return p.pronunciation.speed; },
            Speech::slowestSpeed, Speech::fastestSpeed),
        yesNo("pronunciation", "read-after-lookup",
              [](auto &p) -> auto & { return p.pronunciation.readAfterLookup; }),
        yesNo("words", "keep-history", [](auto &p) -> auto & { return p.keepHistory; }),
        choice("tones", "scheme", [](auto &p) -> auto & { return p.tones.scheme; },
               QList<std::pair<QString, QString>> {
                   {QStringLiteral("default"), QStringLiteral("default")},
                   {QStringLiteral("colour-blind-safe"), QStringLiteral("colour-blind-safe")},
                   {QStringLiteral("none"), QStringLiteral("none")}}),
        colour("tones", "tone-1", [](auto &p) -> auto & { return p.tones.colours[0]; }),
        colour("tones", "tone-2", [](auto &p) -> auto & { return p.tones.colours[1]; }),
        colour("tones", "tone-3", [](auto &p) -> auto & { return p.tones.colours[2]; }),
        colour("tones", "tone-4", [](auto &p) -> auto & { return p.tones.colours[3]; }),
        colour("tones", "neutral", [](auto &p) -> auto & { return p.tones.colours[4]; }),
        yesNo("tones", "characters", [](auto &p) -> auto & { return p.tones.characters; }),
        text("pop-up", "shortcut", [](auto &p) -> auto & { return p.popUp.shortcut; }),
        yesNo("pop-up", "watch-selection", [](auto &p) -> auto & { return p.popUp.watchSelection; }),
        yesNo("language", "traditional-characters",
              [](auto &p) -> auto & { return p.traditionalCharacters; }),
        choice(
            "interface", "language", [](auto &p) -> auto & { return p.language; },
            QList<std::pair<Choice, QString>> {{Choice::System, QStringLiteral("system")},
                                               {Choice::English, QStringLiteral("en")},
                                               {Choice::Simplified, QStringLiteral("zh_CN")},
                                               {Choice::Traditional, QStringLiteral("zh_TW")}}),
    };
    return all;
}

QString pathIn(const QString &folder, const char *name) { return folder + u'/' + QLatin1String(name); }

} // namespace

QString build(const Preferences &preferences)
{
    QString document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartDocument();
    xml.writeStartElement(QLatin1String(rootName));
    QString section;
    for (const Field &field : fields()) {
        if (field.section != section) {
            if (!section.isEmpty())
                xml.writeEndElement();
            section = field.section;
            xml.writeStartElement(section);
        }
        xml.writeAttribute(field.name, field.text(preferences));
    }
    xml.writeEndDocument();
    // Line ends as in "tavrel.xml" beside it.
    return document.trimmed().replace(u'\n', QLatin1String("\r\n"));
}

Preferences parse(const QString &document)
{
    Preferences preferences;
    QXmlStreamReader xml(document);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String(rootName))
        return preferences;
    while (xml.readNextStartElement()) {
        const QString section = xml.name().toString();
        for (const QXmlStreamAttribute &attribute : xml.attributes())
            for (const Field &field : fields())
                if (field.section == section && field.name == attribute.name())
                    field.take(preferences, attribute.value().toString());
        xml.skipCurrentElement();
    }
    return preferences;
}

Preferences read(const QString &path)
{
    QString content;
    if (!SettingsFile::readTextFile(path, content))
        return Preferences();
    return parse(content);
}

bool write(const QString &path, const Preferences &preferences, QString *error)
{
    return SettingsFile::writeTextFile(path, build(preferences), error);
}

Preferences load(const QString &folder, bool historyKeptBefore)
{
    const QString path = pathIn(folder, fileName);
    if (SettingsFile::isPresent(path))
        return read(path);
    Preferences carried;
    carried.pronunciation
        = PronunciationSettings::read(pathIn(folder, PronunciationSettings::fileName));
    carried.keepHistory = historyKeptBefore;
    return carried;
}

bool save(const QString &folder, const Preferences &preferences, QString *error)
{
    return write(pathIn(folder, fileName), preferences, error);
}

} // namespace PreferencesFile

bool operator==(const Preferences &one, const Preferences &other)
{
    return PreferencesFile::build(one) == PreferencesFile::build(other);
}
