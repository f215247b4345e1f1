#include "commandline.h"

#include "application.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace CommandLine {

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Looks English and Chinese words up in an online dictionary. Given a "
        "word, it hands it to the copy already running from the same folder, "
        "or starts with the word looked up.\n"
        "With --print or --json it answers from its built-in dictionary in the "
        "terminal instead, each word on its own, and opens no window; \"-\" "
        "instead of words reads one word a line from stdin. The exit status is "
        "then 0 when every word was found, 1 when one was not, 2 when the "
        "dictionary's index can't be read."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("print"),
        QCoreApplication::translate(
            "CommandLine", "Print the built-in dictionary's answer for each word as text.")));
    parser.addOption(
        QCommandLineOption(QStringLiteral("json"),
                           QCoreApplication::translate(
                               "CommandLine",
                               "Print the built-in dictionary's answer for each word as JSON, one "
                               "object a line (JSON Lines).")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("color"),
        QStringLiteral("With --print, colour the pinyin by tone: auto (when the output is a "
                       "terminal and NO_COLOR is not set), always or never."),
        QStringLiteral("when"), QStringLiteral("auto")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("selection"),
        QCoreApplication::translate("CommandLine",
                                    "Look the selected text up in the pop-up, or the clipboard's "
                                    "when no text is selected. Bind it to a key in the desktop's "
                                    "shortcut settings.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("clipboard"),
        QCoreApplication::translate("CommandLine", "Look the clipboard's text up in the pop-up.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("background"),
        QCoreApplication::translate("CommandLine",
                                    "Start without a window and wait for lookups on the session "
                                    "bus (org.tavrel.Dictionary).")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("handwriting"),
        QCoreApplication::translate(
            "CommandLine",
            "Recognise handwritten characters: reads one drawing a line from stdin, a JSON array "
            "of strokes of [x, y] points in a 300x300 box with y pointing down, and prints one "
            "JSON object a line, {\"candidates\": [{\"character\": ..., \"score\": ...}, ...]} "
            "with up to 10 candidates best first, or {\"error\": ...} for a bad line. The input "
            "must be \"-\"."),
        QCoreApplication::translate("CommandLine", "input")));
    parser.addPositionalArgument(
        QStringLiteral("word"),
        QCoreApplication::translate("CommandLine",
                                    "The word to look up; several words are joined "
                                    "with single spaces. \"--\" ends the options, so "
                                    "that a word may begin with \"-\"."),
        QCoreApplication::translate("CommandLine", "[WORD...]"));
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

Request parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    Request request;
    if (!parser.parse(arguments)) {
        request.action = Request::Action::Error;
        request.error = parser.errorText().simplified();
    } else if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        request.action = Request::Action::Help;
    } else if (parser.isSet(QStringLiteral("version"))) {
        request.action = Request::Action::Version;
    } else if (parser.isSet(QStringLiteral("handwriting"))) {
        request.action = Request::Action::Handwriting;
        if (parser.value(QStringLiteral("handwriting")) != QStringLiteral("-")
            || !parser.positionalArguments().isEmpty()) {
            request.action = Request::Action::Error;
            request.error = QStringLiteral("--handwriting reads its drawings from stdin: give "
                                           "\"--handwriting -\" alone.");
        }
    } else if (parser.isSet(QStringLiteral("print")) || parser.isSet(QStringLiteral("json"))) {
        request.inputs = parser.positionalArguments();
        request.colour = parser.value(QStringLiteral("color"));
        static const QStringList whens {QStringLiteral("auto"), QStringLiteral("always"),
                                        QStringLiteral("never")};
        if (!whens.contains(request.colour)) {
            request.action = Request::Action::Error;
            request.error = QStringLiteral("--color takes auto, always or never, not \"%1\".")
                                .arg(request.colour);
        } else if (parser.isSet(QStringLiteral("print")) && parser.isSet(QStringLiteral("json"))) {
            request.action = Request::Action::Error;
            request.error = QCoreApplication::translate(
                "CommandLine", "--print and --json can't be given together.");
        } else if (request.inputs.isEmpty()) {
            request.action = Request::Action::Error;
            request.error
                = QCoreApplication::translate("CommandLine",
                                              "No word to look up: give words, or \"-\" to read "
                                              "them from stdin.");
        } else {
            request.action = parser.isSet(QStringLiteral("print")) ? Request::Action::Print
                                                                   : Request::Action::Json;
        }
    } else if (int(parser.isSet(QStringLiteral("selection")))
                   + int(parser.isSet(QStringLiteral("clipboard")))
                   + int(parser.isSet(QStringLiteral("background")))
                   + int(!parser.positionalArguments().isEmpty())
               > 1) {
        request.action = Request::Action::Error;
        request.error = QStringLiteral("Give one of --selection, --clipboard, --background or "
                                       "words.");
    } else if (parser.isSet(QStringLiteral("selection"))) {
        request.popUp = Request::PopUp::Selection;
    } else if (parser.isSet(QStringLiteral("clipboard"))) {
        request.popUp = Request::PopUp::Clipboard;
    } else if (parser.isSet(QStringLiteral("background"))) {
        request.popUp = Request::PopUp::Background;
    } else if (!parser.positionalArguments().isEmpty()) {
        request.word = parser.positionalArguments().join(u' ');
    }
    return request;
}

int answer(const Request &request)
{
    QCommandLineParser parser;
    describe(parser);
    switch (request.action) {
    case Request::Action::Run:
    case Request::Action::Print:
    case Request::Action::Json:
    case Request::Action::Handwriting:
        return 0;
    case Request::Action::Help:
        print(stdout, parser.helpText());
        return 0;
    case Request::Action::Version:
        print(stdout, QStringLiteral("Tavrel Dictionary %1\n").arg(QLatin1String(App::Version)));
        return 0;
    case Request::Action::Error:
        print(stderr, QStringLiteral("TavrelDictionary: %1\n").arg(request.error));
        print(stderr, parser.helpText());
        return 2;
    }
    return 2;
}

} // namespace CommandLine
