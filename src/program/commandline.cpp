#include "commandline.h"

#include "application.h"

#include <QCommandLineParser>

#include <cstdio>

namespace CommandLine {

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Looks English and Chinese words up in an online dictionary. Given a "
                       "word, it hands it to the copy already running from the same folder, "
                       "or starts with the word looked up."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("word"),
                                 QStringLiteral("The word to look up; several words are joined "
                                                "with single spaces. \"--\" ends the options, so "
                                                "that a word may begin with \"-\"."),
                                 QStringLiteral("[WORD...]"));
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
