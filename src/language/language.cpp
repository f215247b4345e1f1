#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <optional>

namespace Language {

namespace {
// The translation for one language tag, or nothing when the program has no translation for it.
std::optional<Translation> forTag(QString tag)
{
    tag.replace(QLatin1Char('-'), QLatin1Char('_'));
    // "zh_CN.UTF-8" and "zh_TW@latin": the encoding and modifier say nothing of the language.
    tag = tag.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QStringList parts = tag.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return std::nullopt;
    const QString language = parts.first().toLower();
    if (language == QLatin1String("c") || language == QLatin1String("posix")
        || language == QLatin1String("en"))
        return Translation::English;
    if (language != QLatin1String("zh"))
        return std::nullopt;
    for (const QString &part : parts.mid(1)) {
        const QString upper = part.toUpper();
        if (upper == QLatin1String("HANT") || upper == QLatin1String("TW")
            || upper == QLatin1String("HK") || upper == QLatin1String("MO"))
            return Translation::Traditional;
        if (upper == QLatin1String("HANS") || upper == QLatin1String("CN")
            || upper == QLatin1String("SG"))
            return Translation::Simplified;
    }
    // Chinese with no script or region is written in simplified characters by most readers.
    return Translation::Simplified;
}
} // namespace

Translation choose(const QStringList &uiLanguages, Choice choice)
{
    switch (choice) {
    case Choice::English:
        return Translation::English;
    case Choice::Simplified:
        return Translation::Simplified;
    case Choice::Traditional:
        return Translation::Traditional;
    case Choice::System:
        break;
    }
    for (const QString &tag : uiLanguages) {
        if (const std::optional<Translation> found = forTag(tag))
            return *found;
    }
    return Translation::English;
}

Translation chooseForSystem(Choice choice)
{
    const QLocale system = QLocale::system();
    // The C locale turns translations off whatever LANGUAGE says, as gettext does.
    if (system.language() == QLocale::C)
        return choose({}, choice);
    return choose(system.uiLanguages(), choice);
}

QString localeName(Translation translation)
{
    switch (translation) {
    case Translation::Simplified:
        return QStringLiteral("zh_CN");
    case Translation::Traditional:
        return QStringLiteral("zh_TW");
    case Translation::English:
        break;
    }
    return {};
}

Translation install(QCoreApplication &application, Choice choice)
{
    const Translation translation = chooseForSystem(choice);
    const QString locale = localeName(translation);
    if (locale.isEmpty())
        return Translation::English;
    auto *own = new QTranslator(&application);
    if (!own->load(QStringLiteral(":/translations/TavrelDictionary_") + locale)) {
        delete own;
        return Translation::English;
    }
    QCoreApplication::installTranslator(own);
    // Qt's own strings: the word box's context menu, the standard dialogs, the page's menu.
    // Debian's qt6-translations-l10n has them; one that is missing leaves its strings English.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *module : {"qtbase", "qtwebengine", "qtmultimedia"}) {
        auto *qt = new QTranslator(&application);
        if (qt->load(QLatin1String(module) + QLatin1Char('_') + locale, qtFolder))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
    }
    return translation;
}

} // namespace Language
