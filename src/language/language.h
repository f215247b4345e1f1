#pragma once

#include <QStringList>

class QCoreApplication;

// Which language the interface speaks, and the translators that make it speak it.
namespace Language {

// What the user chose; System follows the locale.
enum class Choice { System, English, Simplified, Traditional };

// The translations the program carries; English is the source text itself.
enum class Translation { English, Simplified, Traditional };

// The translation for a list of UI languages in order of preference, as
// QLocale::uiLanguages() gives them ("zh-TW", "zh_CN", "zh-Hant-HK", "C" ...). The first
// language the program has wins, so "fr:zh_TW" gives Traditional as gettext would; a choice
// other than System wins over the list.
Translation choose(const QStringList &uiLanguages, Choice choice);

// The same for the locale Qt reads from the environment.
Translation chooseForSystem(Choice choice);

// The locale name of a translation's files: "zh_CN", "zh_TW", or empty for English.
QString localeName(Translation translation);

// Installs the program's translator and Qt's own (qtbase, and qtwebengine and qtmultimedia
// for the modules that show text) on the application. Call it before any window is made.
// Returns the translation in use; English when the translation's file is missing.
Translation install(QCoreApplication &application, Choice choice = Choice::System);

} // namespace Language
