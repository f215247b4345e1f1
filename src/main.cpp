#include "language/language.h"
#include "main_window/frmBrowser.h"
#include "preferences/preferences.h"
#include "program/datafolder.h"
#include "program/application.h"
#include "program/commandline.h"
#include "program/sessionend.h"
#include "program/timing.h"
#include "single_instance/runningcopy.h"
#include "single_instance/wordsfromoutside.h"
#include "terminal/terminal.h"
#include "window_layer/form.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Request request = CommandLine::parse(arguments);
    using Action = CommandLine::Request::Action;
    if (request.action == Action::Print || request.action == Action::Json) {
        // A terminal's answer: no display, engine, settings file or running copy.
        QCoreApplication app(argc, argv);
        return Terminal::run(request.action == Action::Json ? Terminal::Format::Json
                                                            : Terminal::Format::Text,
                             request.inputs, stdin, stdout, stderr);
    }
    if (request.action != Action::Run) {
        QCoreApplication app(argc, argv);
        Language::install(app);
        return CommandLine::answer(request);
    }
    // A word for the copy already running goes to it before anything heavier is set up: no
    // display, engine or window is needed for that.
    const QString channel = RunningCopy::serverName(RunningCopy::programFolder(argv[0]));
    if (request.word && RunningCopy::handOver(channel, *request.word))
        return 0;

    if (!App::hasDisplay()) {
        std::fputs("TavrelDictionary: no display to open a window on; without one, run it as "
                   "'xvfb-run -a TavrelDictionary'\n",
                   stderr);
        return 1;
    }
    Timing::mark("main");
    App::prepareBrowserEngine();
    QApplication app(argc, argv);
    Timing::mark("qapplication");
    App::applyIdentity();
    // Before any window is made, whose captions are set as it is made; from the preferences of
    // the folder the main window will use.
    const DataFolder::Choice data = DataFolder::choose(App::Path(), DataFolder::perUserFolder());
    Language::install(app, PreferencesFile::read(data.folder + QStringLiteral("/session/")
                                                 + QLatin1String(PreferencesFile::fileName))
                               .language);
    Timing::mark("application");

    // Claimed before any window exists: a copy that started at the same moment may have won,
    // and then this one hands its word over and ends without showing anything.
    RunningCopy::Server server;
    if (server.claim(channel, request.word) == RunningCopy::Server::Outcome::HandedOver)
        return 0;
    Timing::mark("claimed");

    frmBrowser::instance().Load();
    Timing::mark("loaded");
    frmBrowser::instance().Show();
    Timing::mark("show-called");
    WordsFromOutside words;
    QObject::connect(&server, &RunningCopy::Server::wordReceived, &words, &WordsFromOutside::take);
    if (request.word)
        QTimer::singleShot(0, &words, [&words, &request] { words.take(*request.word); });
    // The end of the session closes the program as "Exit" does: every word recorded so far is
    // in the file already, and the channel's socket goes with the server below.
    SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &SessionEnd::ending, &app,
                     [] { frmBrowser::instance().mnuExit()->trigger(); });
    const int code = QApplication::exec();
    Form::DestroyAll();
    return code;
}
