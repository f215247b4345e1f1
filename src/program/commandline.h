#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the program is asked on its command line: TavrelDictionary [options] [WORD...]. It is read
// before anything needs a display, so that --help and --version work without one.
namespace CommandLine {

struct Request
{
    // Print and Json answer each word in the terminal, without a window.
    enum class Action { Run, Help, Version, Error, Print, Json, Handwriting };
    Action action = Action::Run;
    // The words given, joined with single spaces; none when no word was given at all.
    std::optional<QString> word;
    // For Print and Json: the words, each an input of its own; "-" alone reads them from stdin.
    QStringList inputs;
    // For Print: when to colour the pinyin by tone, "auto", "always" or "never".
    QString colour = QStringLiteral("auto");
    // --selection and --clipboard look up in the pop-up; --background starts with no window,
    // for a call on the session bus that started the program.
    enum class PopUp { None, Selection, Clipboard, Background };
    PopUp popUp = PopUp::None;
    // What was wrong with the options, in one line.
    QString error;
};

// arguments starts with the program's name, as QCoreApplication::arguments() does.
Request parse(const QStringList &arguments);

// Prints the usage, the version or the error and gives the exit status. Needs a
// QCoreApplication, for the program's name in the usage.
int answer(const Request &request);

} // namespace CommandLine
