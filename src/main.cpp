#include "handwriting/terminalmode.h"
#include "language/language.h"
#include "main_window/frmBrowser.h"
#include "popup/entrypoints.h"
#include "popup/popuplookup.h"
#include "popup/popupwindow.h"
#include "browser/answerview.h"
#include "dialogs/popuppage.h"
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
#include <QPointer>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

QKeySequence shortcutOf(const Preferences &preferences)
{
    return QKeySequence(preferences.popUp.shortcut, QKeySequence::PortableText);
}

// The pop-up knows neither the running copy's channel nor the main window: they are joined here.
// Its lookups go into the main window's history, its speakers and stars work as the main
// window's do, and "Open in Main Window" hands the word on as a word from outside.
void joinPopUp(PopUpEntryPoints &popUp, RunningCopy::Server &server, WordsFromOutside &words)
{
    PopUpLookup *lookup = &popUp.lookup();
    frmBrowser &main = frmBrowser::instance();
    QObject::connect(&server, &RunningCopy::Server::popUpRequested, lookup,
                     [lookup](RunningCopy::PopUpRequest request) {
                         if (request == RunningCopy::PopUpRequest::Selection)
                             lookup->lookUpSelection();
                         else
                             lookup->lookUpClipboard();
                     });
    QObject::connect(lookup, &PopUpLookup::openInMainWindow, &words, &WordsFromOutside::take);
    QObject::connect(lookup, &PopUpLookup::lookedUp, &main, [&main](const QString &word) {
        if (main.IsLoaded())
            main.recordLookup(word);
    });
    // The pop-up's answers take the main window's tone colours, now and once they are saved.
    auto popUpView = std::make_shared<QPointer<AnswerView>>();
    QObject::connect(lookup, &PopUpLookup::windowMade, &main,
                     [&main, popUpView](PopUpWindow *window) {
        AnswerView *view = window->answerView();
        *popUpView = view;
        view->setToneColours(main.toneColours());
        view->setIsFavourite([&main](const QString &word, const QString &reading) {
            return main.isFavourite(word, reading);
        });
        QObject::connect(view, &AnswerView::strokeOrderClicked, &main,
                         &frmBrowser::showStrokeOrder);
        QObject::connect(view, &AnswerView::pronounce, &main, &frmBrowser::pronounce);
        QObject::connect(view, &AnswerView::favouriteClicked, view,
                         [&main, view](const Words::Favourite &entry) {
                             main.toggleFavourite(entry);
                             view->refresh();
                         });
    });
    QObject::connect(lookup, &PopUpLookup::closed, &main, [&main] {
        // A program started for the pop-up alone ends with it, as it would with its main window.
        if (main.IsLoaded() && !main.window()->isVisible() && !Form::ModalShown()) {
            main.Unload();
            App::End();
        }
    });
    QObject::connect(&main, &frmBrowser::preferencesSaved, &popUp,
                     [&popUp, &main, popUpView](const Preferences &preferences) {
                         popUp.apply(shortcutOf(preferences), preferences.popUp.watchSelection);
                         if (*popUpView)
                             (*popUpView)->setToneColours(main.toneColours());
                     });
    PopUpPage::setKeyCheck([&popUp](const QKeySequence &keys) { return popUp.keyProblem(keys); });
}

} // namespace

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
                             request.inputs, stdin, stdout, stderr, request.colour);
    }
    if (request.action == Action::Handwriting) {
        QCoreApplication app(argc, argv);
        return Handwriting::runTerminal(stdin, stdout, stderr);
    }
    if (request.action != Action::Run) {
        QCoreApplication app(argc, argv);
        Language::install(app);
        return CommandLine::answer(request);
    }
    // A word for the copy already running goes to it before anything heavier is set up: no
    // display, engine or window is needed for that.
    const QString channel = RunningCopy::serverName(RunningCopy::programFolder(argv[0]));
    using PopUp = CommandLine::Request::PopUp;
    std::optional<QString> message = request.word;
    if (request.popUp == PopUp::Selection || request.popUp == PopUp::Clipboard)
        message = RunningCopy::popUpMessage(request.popUp == PopUp::Selection
                                                ? RunningCopy::PopUpRequest::Selection
                                                : RunningCopy::PopUpRequest::Clipboard);
    if (message && RunningCopy::handOver(channel, *message))
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
    if (server.claim(channel, message) == RunningCopy::Server::Outcome::HandedOver)
        return 0;
    Timing::mark("claimed");
    // Until the main window is loaded, no word is said taken: its sender keeps it.
    server.setKeeper(
        [](const QString &word) { return frmBrowser::instance().keepWordFromOutside(word); });

    frmBrowser::instance().Load();
    Timing::mark("loaded");
    // Asked for the pop-up, the program shows only that.
    if (request.popUp == PopUp::None)
        frmBrowser::instance().Show();
    Timing::mark("show-called");
    WordsFromOutside words;
    PopUpEntryPoints popUp;
    joinPopUp(popUp, server, words);
    // Once the window is up: neither the bus nor the key holds up its first paint.
    // Started in the background for the bus, a copy that can't serve it has nothing to do.
    const bool background = request.popUp == PopUp::Background;
    QTimer::singleShot(0, &popUp, [&popUp, background] {
        const Preferences &preferences = frmBrowser::instance().preferences();
        if (!popUp.start(shortcutOf(preferences), preferences.popUp.watchSelection) && background)
            App::End();
    });
    if (request.popUp == PopUp::Selection)
        QTimer::singleShot(0, &popUp.lookup(), &PopUpLookup::lookUpSelection);
    else if (request.popUp == PopUp::Clipboard)
        QTimer::singleShot(0, &popUp.lookup(), &PopUpLookup::lookUpClipboard);
    QObject::connect(&server, &RunningCopy::Server::wordReceived, &words,
                     &WordsFromOutside::takeKept);
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
