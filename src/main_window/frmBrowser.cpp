#include "frmBrowser.h"

#include "browserlayout.h"
#include "handwritinginput.h"
#include "lookup.h"

#include "answer/answerpage.h"
#include "browser/answerview.h"
#include "answer/tonecolours.h"
#include "browser/webbrowser.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "dialogs/frmPreferences.h"
#include "preferences/settingsfile.h"
#include "program/application.h"
#include "program/datafolder.h"
#include "program/providers.h"
#include "program/timing.h"
#include "speech/pronouncer.h"
#include "stroke_order/strokeorderpanel.h"
#include "window_layer/controls.h"
#include "window_layer/modUtility.h"
#include "window_layer/twips.h"
#include "word_windows/favouriteswindow.h"
#include "word_windows/historywindow.h"
#include "word_windows/suggestionlist.h"
#include "words/recorder.h"
#include "words/store.h"
#include "words/suggestions.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

// The answer's colours from the user's choice: the scheme's, each tone the user chose another
// for in its own.
ToneColours::Options toneOptions(const Preferences::Tones &chosen)
{
    ToneColours::Options tones;
    tones.palette = ToneColours::palette(
        ToneColours::schemeFromKey(chosen.scheme).value_or(ToneColours::Scheme::Default));
    if (!tones.palette.isNone()) {
        for (std::size_t i = 0; i < chosen.colours.size(); ++i)
            if (chosen.colours[i].isValid())
                tones.palette.colours[i] = chosen.colours[i];
    }
    tones.characters = chosen.characters;
    return tones;
}

} // namespace

frmBrowser &frmBrowser::instance() { return sharedInstance<frmBrowser>(); }

frmBrowser::frmBrowser()
    : Form(QCoreApplication::translate("frmBrowser",
                                       "Tavrel Dictionary v1.1 (English <> Chinese Dictionary)"),
           11880, 9210, QPointF(1650, 1350))
{ }

frmBrowser::~frmBrowser() = default;

void frmBrowser::CreateControls(FormWindow &window)
{
    QWidget *client = window.client();

    // Created in tab-index order, which is the order Tab visits them.
    m_cmdGo1 = new CommandButton(QCoreApplication::translate("frmBrowser", "Translate"), client,
                                 10200, 240, 1575, 495);
    m_cmdGo1->setFont(Controls::msSansSerif(12));
    m_Label2 = Controls::label(client, QCoreApplication::translate("frmBrowser", "Word:"), 360, 265,
                               975, 375);
    m_Label2->setFont(Controls::msSansSerif(13.5));
    m_txtWord = Controls::textBox(client, QString(), 1320, 240, 8775, 495);
    m_txtWord->setFont(Controls::msSansSerif(13.5));
    // Screen readers name a box by its own accessible name, not by the caption beside it.
    m_txtWord->setAccessibleName(QCoreApplication::translate("frmBrowser", "Word"));
    m_StatusBar1 = new StatusBar(&window, 420);
    window.setStatusBar(m_StatusBar1);
    m_WebBrowser1 = new WebBrowser(client);
    Twips::place(*m_WebBrowser1, 360, 960, 11415, 7695);
    // Over the browser, under the word box; it takes no focus, so no place in the tab order.
    m_suggestions = new SuggestionList(m_txtWord);
    m_handwriting = new HandwritingInput(m_txtWord);
    m_cmdGo1->setFocus();

    createMenus(window);
    connectControls();
}

void frmBrowser::connectControls()
{
    connect(m_cmdGo1, &QPushButton::clicked, this, &frmBrowser::cmdGo1_Click);
    // Typed or committed by an input method; text put in by the program suggests nothing.
    connect(m_txtWord, &QLineEdit::textEdited, this, &frmBrowser::txtWord_Edited);
    connect(m_suggestions, &SuggestionList::taken, this, &frmBrowser::LookUp);
    connect(m_handwriting, &HandwritingInput::inserted, this, &frmBrowser::txtWord_Edited);
    connect(m_WebBrowser1, &WebBrowser::answerLinkFollowed, this, &frmBrowser::recordLookup);
    connect(m_WebBrowser1, &WebBrowser::favouriteClicked, this, &frmBrowser::toggleFavourite);
    connect(m_WebBrowser1, &WebBrowser::pronounce, this, &frmBrowser::pronounce);
    connect(m_WebBrowser1, &WebBrowser::strokeOrderClicked, this, &frmBrowser::showStrokeOrder);
    connect(m_WebBrowser1, &WebBrowser::loadFinished, this, &frmBrowser::answerLoaded);
}

void frmBrowser::createMenus(FormWindow &window)
{
    QMenuBar *bar = window.menuBar();

    m_mnuDictionary = bar->addMenu(QCoreApplication::translate("frmBrowser", "Option"));
    m_mnuQueryString = m_mnuDictionary->addAction(
        QCoreApplication::translate("frmBrowser", "Online Dictionary Query String"));
    m_mnuPreferences = m_mnuDictionary->addAction(tr("Preferences..."));
    m_mnuDictionary->addSeparator();
    m_mnuExit = m_mnuDictionary->addAction(QCoreApplication::translate("frmBrowser", "Exit"));

    m_mnuWords = bar->addMenu(QCoreApplication::translate("frmBrowser", "Words"));
    m_mnuHistory = m_mnuWords->addAction(QCoreApplication::translate("frmBrowser", "History…"));
    m_mnuKeepHistory
        = m_mnuWords->addAction(QCoreApplication::translate("frmBrowser", "Keep History"));
    m_mnuKeepHistory->setCheckable(true);
    m_mnuKeepHistory->setChecked(true);
    m_mnuWords->addSeparator();
    m_mnuFavourites
        = m_mnuWords->addAction(QCoreApplication::translate("frmBrowser", "Favourites…"));

    m_mnuHelp = bar->addMenu(QCoreApplication::translate("frmBrowser", "Help"));
    m_mnuWebsite = m_mnuHelp->addAction(QCoreApplication::translate("frmBrowser", "Website"));
    m_mnuHelp->addSeparator();
    m_mnuAbout = m_mnuHelp->addAction(QCoreApplication::translate("frmBrowser", "About"));

    connect(m_mnuQueryString, &QAction::triggered, this, &frmBrowser::mnuQueryString_Click);
    connect(m_mnuPreferences, &QAction::triggered, this, &frmBrowser::mnuPreferences_Click);
    connect(m_mnuExit, &QAction::triggered, this, &frmBrowser::mnuExit_Click);
    connect(m_mnuHistory, &QAction::triggered, this, &frmBrowser::mnuHistory_Click);
    connect(m_mnuKeepHistory, &QAction::triggered, this, &frmBrowser::mnuKeepHistory_Click);
    connect(m_mnuFavourites, &QAction::triggered, this, &frmBrowser::mnuFavourites_Click);
    connect(m_mnuWebsite, &QAction::triggered, this, &frmBrowser::mnuWebsite_Click);
    connect(m_mnuAbout, &QAction::triggered, this, &frmBrowser::mnuAbout_Click);
}

QLabel *frmBrowser::Label2() { return control(m_Label2); }
QLineEdit *frmBrowser::txtWord() { return control(m_txtWord); }
CommandButton *frmBrowser::cmdGo1() { return control(m_cmdGo1); }
WebBrowser *frmBrowser::WebBrowser1() { return control(m_WebBrowser1); }
StatusBar *frmBrowser::StatusBar1() { return control(m_StatusBar1); }
SuggestionList *frmBrowser::suggestionList() { return control(m_suggestions); }
HandwritingInput *frmBrowser::handwriting() { return control(m_handwriting); }
QMessageBox *frmBrowser::saveWarning() const { return m_saveWarning; }
HistoryWindow *frmBrowser::historyWindow() const { return m_historyWindow; }
FavouritesWindow *frmBrowser::favouritesWindow() const { return m_favouritesWindow; }

QMenu *frmBrowser::mnuDictionary() { return control(m_mnuDictionary); }
QAction *frmBrowser::mnuQueryString() { return control(m_mnuQueryString); }
QAction *frmBrowser::mnuPreferences() { return control(m_mnuPreferences); }
QAction *frmBrowser::mnuExit() { return control(m_mnuExit); }
QMenu *frmBrowser::mnuWords() { return control(m_mnuWords); }
QAction *frmBrowser::mnuHistory() { return control(m_mnuHistory); }
QAction *frmBrowser::mnuKeepHistory() { return control(m_mnuKeepHistory); }
QAction *frmBrowser::mnuFavourites() { return control(m_mnuFavourites); }
QMenu *frmBrowser::mnuHelp() { return control(m_mnuHelp); }
QAction *frmBrowser::mnuWebsite() { return control(m_mnuWebsite); }
QAction *frmBrowser::mnuAbout() { return control(m_mnuAbout); }

void frmBrowser::Form_Load()
{
    const DataFolder::Choice data = DataFolder::choose(App::Path(), DataFolder::perUserFolder());
    SettingsFile::createFolderIfMissing(data.folder + QStringLiteral("/temp"));
    frmOption::instance().Load();
    WebBrowser1()->Navigate(QStringLiteral("about:blank"));
    strSessionPath = data.folder + QStringLiteral("/session");
    SettingsFile::createFolderIfMissing(strSessionPath);
    openWords();
    Controls::setText(
        *frmOption::instance().txtChinese(),
        SettingsFile::startingTemplate(data.startingSettings, Providers::hongKongTemplate()));
    expectWebPagesPerTemplate();
}

void frmBrowser::expectWebPagesPerTemplate()
{
    // With the built-in dictionary as the template, a web page may never be asked for: the
    // engine, most of the program's weight, then waits until one is.
    WebBrowser1()->setPrepareEngine(
        !AnswerPage::isAnswerAddress(trimSpaces(frmOption::instance().txtChinese()->text())));
}

void frmBrowser::openWords()
{
    // Beside the settings file, in the folder the user may write; the administrator's template
    // beside the program is never touched.
    m_words = std::make_unique<Words::Store>(strSessionPath + QStringLiteral("/words.sqlite"));
    m_preferences = PreferencesFile::load(strSessionPath, m_words->keepsHistory());
    m_words->setKeepsHistory(m_preferences.keepHistory);
    m_recorder = std::make_unique<Words::Recorder>(*m_words);
    m_recorder->recorded = [](const QString &input) { Timing::mark("recorded", input); };
    if (!m_recordTimer) {
        m_recordTimer = new QTimer(this);
        m_recordTimer->setSingleShot(true);
        connect(m_recordTimer, &QTimer::timeout, this, &frmBrowser::recordPending);
    }
    // What a copy that ended left waiting, this folder's earlier run among them.
    m_recorder->adoptLeftBehind();
    if (m_recorder->waiting() > 0)
        recordSoon();
    m_mnuKeepHistory->setChecked(m_preferences.keepHistory);
    WebBrowser1()->setToneColours(toneOptions(m_preferences.tones));
    m_handwriting->setTraditional(m_preferences.traditionalCharacters);
    WebBrowser1()->setIsFavourite([this](const QString &word, const QString &reading) {
        return isFavourite(word, reading);
    });
    if (!m_words->notice().isEmpty())
        StatusBar1()->setSimpleText(m_words->notice());
}

void frmBrowser::Form_Unload()
{
    frmOption::instance().Unload();
    delete m_historyWindow;
    delete m_favouritesWindow;
    WebBrowser1()->setIsFavourite({});
    // Each try waits for the file as long as the store's busy timeout allows. What is still
    // waiting then stays in the journal, for the next start.
    if (m_recordTimer)
        m_recordTimer->stop();
    for (int attempt = 0; attempt < 3 && m_recorder && m_recorder->waiting() > 0; ++attempt) {
        if (m_recorder->flush() == Words::Recorder::Outcome::Failed)
            break;
    }
    m_recorder.reset();
    m_words.reset();
}

void frmBrowser::Form_Resize()
{
    if (!BrowserLayout::appliesTo(ScaleWidth(), ScaleHeight()))
        return;
    const float buttonWidth = Twips::width(*cmdGo1());
    Twips::setWidth(*txtWord(), BrowserLayout::wordBoxWidth(Width(), buttonWidth));
    Twips::setLeft(*cmdGo1(),
                   BrowserLayout::buttonLeft(Twips::left(*txtWord()), Twips::width(*txtWord())));
    Twips::setWidth(*WebBrowser1(), BrowserLayout::browserWidth(Width()));
    Twips::setHeight(*WebBrowser1(), BrowserLayout::browserHeight(Height()));
}

void frmBrowser::cmdGo1_Click()
{
    Timing::mark("translate");
    m_suggestions->hide();
    const QString address
        = buildLookupAddress(txtWord()->text(), frmOption::instance().txtChinese()->text());
    const QString word = trimSpaces(txtWord()->text());
    if (!word.isEmpty()) {
        m_readNextAnswer = m_preferences.pronunciation.readAfterLookup;
        GoToUrl(address, word);
        if (!m_lookingUpKept)
            recordLookup(word);
    }
}

bool frmBrowser::isFavourite(const QString &word, const QString &reading) const
{
    return m_words && m_words->isFavourite(word, reading);
}

void frmBrowser::txtWord_Edited(const QString &text)
{
    m_suggestions->showSuggestions(Words::suggest(m_words.get(), text));
}

void frmBrowser::recordLookup(const QString &input)
{
    if (!m_recorder || input.trimmed().isEmpty())
        return;
    const bool waitedBefore = m_recorder->waiting() > 0;
    m_recorder->keep(input);
    if (!waitedBefore && m_recorder->waiting() > 0)
        sayWhyWaiting(m_words->lastFailure() == Words::Store::Failure::Busy
                          ? Words::Recorder::Outcome::Busy
                          : Words::Recorder::Outcome::Failed);
}

bool frmBrowser::keepWordFromOutside(const QString &word)
{
    // A word that comes in as the program ends is not taken: the program that sent it goes on
    // with it itself.
    if (!IsLoaded() || !m_recorder)
        return false;
    const QString input = trimSpaces(word);
    if (input.isEmpty())
        return true;
    // Journalled first: the program that sent it waits for the answer, and the file may keep it
    // waiting longer than that program waits.
    if (!m_recorder->keepForLater(input))
        return false;
    recordSoon();
    return true;
}

void frmBrowser::recordSoon()
{
    if (m_recordTimer && !m_recordTimer->isActive())
        m_recordTimer->start(0);
}

// Another copy of the program writing to the same file may keep it busy for longer than a
// record waits. A word looked up meanwhile waits its turn, in order, in the journal, and is
// tried again: it is never dropped for that.
void frmBrowser::recordPending()
{
    if (!m_recorder)
        return;
    const Words::Recorder::Outcome outcome = m_recorder->flush();
    if (outcome == Words::Recorder::Outcome::Recorded) {
        if (m_failureSaid) {
            m_failureSaid = false;
            StatusBar1()->setSimpleText(tr("The history can be written again; every word "
                                           "looked up meanwhile is in it."));
        }
        return;
    }
    sayWhyWaiting(outcome);
}

void frmBrowser::sayWhyWaiting(Words::Recorder::Outcome outcome)
{
    if (outcome == Words::Recorder::Outcome::Busy) {
        StatusBar1()->setSimpleText(
            tr("The history is busy; \"%1\" is kept until it can be recorded: %2")
                .arg(m_recorder->firstWaiting(), m_recorder->errorString()));
        m_recordTimer->start(recordRetryMs);
        return;
    }
    // Disk full, a file made read-only or damaged meanwhile: not a wait, and said as such, once.
    if (!m_failureSaid) {
        m_failureSaid = true;
        const QString message = tr("The history can't be written (%1). The words looked up are "
                                   "kept and will be added once it can.")
                                    .arg(m_recorder->errorString());
        StatusBar1()->setSimpleText(message);
        std::fprintf(stderr, "TavrelDictionary: %s\n", qPrintable(message));
    }
    m_recordTimer->start(recordFailedRetryMs);
}

void frmBrowser::LookUp(const QString &word)
{
    Controls::setText(*txtWord(), word);
    cmdGo1_Click();
}

void frmBrowser::LookUpKept(const QString &word)
{
    m_lookingUpKept = true;
    LookUp(word);
    m_lookingUpKept = false;
}

void frmBrowser::mnuQueryString_Click()
{
    frmOption &options = frmOption::instance();
    QString queryTemplate = options.txtChinese()->text();
    options.bSaveFlag = false;
    modUtility::CenterForm(options);
    options.ShowModal();

    if (options.bSaveFlag) {
        // Stored exactly as typed, even when empty or unchanged.
        queryTemplate = options.txtChinese()->text();
        const QString path = strSessionPath + QStringLiteral("/tavrel.xml");
        QString reason;
        if (!WriteTextFile(path, BuildSettingsXml(queryTemplate), &reason))
            warnTemplateNotSaved(path, reason);
        expectWebPagesPerTemplate();
    } else {
        // After a close through the frame this loads the dialog again, hidden.
        Controls::setText(*options.txtChinese(), queryTemplate);
    }
}

void frmBrowser::mnuPreferences_Click()
{
    frmPreferences &dialog = frmPreferences::instance();
    dialog.Load();
    dialog.showValues(m_preferences);
    dialog.bSaveFlag = false;
    modUtility::CenterForm(dialog);
    dialog.ShowModal();
    if (dialog.bSaveFlag) {
        dialog.takeValues(m_preferences);
        m_handwriting->setTraditional(m_preferences.traditionalCharacters);
        savePreferences();
        WebBrowser1()->setToneColours(toneOptions(m_preferences.tones));
        emit preferencesSaved(m_preferences);
    }
    dialog.Unload();
}

void frmBrowser::savePreferences()
{
    // In force for this run whatever happens to the file.
    QString reason;
    if (!PreferencesFile::save(strSessionPath, m_preferences, &reason))
        StatusBar1()->setSimpleText(tr("The preferences could not be saved: ") + reason);
}

ToneColours::Options frmBrowser::toneColours() const { return toneOptions(m_preferences.tones); }

void frmBrowser::showStrokeOrder(const QString &character)
{
    // A window of its own, which the user closes when done, beside the answer it came from.
    auto *panel = new StrokeOrderPanel(character, m_WebBrowser1->window());
    panel->setWindowFlag(Qt::Window);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->show();
}

Pronouncer *frmBrowser::pronouncer()
{
    if (!m_pronouncer) {
        m_pronouncer = new Pronouncer(this);
        connect(m_pronouncer, &Pronouncer::failed, this,
                [this](const QString &status) { StatusBar1()->setSimpleText(status); });
    }
    return m_pronouncer;
}

void frmBrowser::pronounce(const QString &text, bool english)
{
    pronouncer()->setSpeed(m_preferences.pronunciation.speed);
    pronouncer()->say(text, english ? m_preferences.pronunciation.english : Speech::Voice::Pinyin);
}

void frmBrowser::answerLoaded(bool ok)
{
    if (!m_readNextAnswer)
        return;
    m_readNextAnswer = false;
    if (ok && WebBrowser1()->answerView()
        && AnswerPage::isAnswerAddress(WebBrowser1()->url().toString()))
        WebBrowser1()->answerView()->pronounceFirst();
}

void frmBrowser::mnuExit_Click()
{
    Unload();
    App::End();
}

void frmBrowser::showWordList(WordListWindow *window)
{
    connect(window, &WordListWindow::lookUpRequested, this, [this](const QString &word) {
        LookUp(word);
        this->window()->raise();
        this->window()->activateWindow();
    });
}

void frmBrowser::mnuHistory_Click()
{
    if (!m_historyWindow) {
        m_historyWindow = new HistoryWindow(*m_words, window());
        showWordList(m_historyWindow);
    }
    m_historyWindow->showFresh();
}

void frmBrowser::mnuFavourites_Click()
{
    if (!m_favouritesWindow) {
        m_favouritesWindow = new FavouritesWindow(*m_words, window());
        showWordList(m_favouritesWindow);
        connect(m_favouritesWindow, &FavouritesWindow::favouritesChanged, this, [this] {
            if (AnswerView *answers = WebBrowser1()->answerView())
                answers->refresh();
        });
    }
    m_favouritesWindow->showFresh();
}

void frmBrowser::toggleFavourite(const Words::Favourite &entry)
{
    const bool done = m_words->isFavourite(entry.word, entry.reading)
        ? m_words->removeFavourite(entry.word, entry.reading)
        : m_words->addFavourite(entry);
    if (!done)
        StatusBar1()->setSimpleText(
            QCoreApplication::translate("frmBrowser", "%1 could not be kept: %2")
                .arg(entry.word, m_words->errorString()));
    if (AnswerView *answers = WebBrowser1()->answerView())
        answers->refresh();
    if (m_favouritesWindow)
        m_favouritesWindow->refresh();
}

void frmBrowser::mnuKeepHistory_Click(bool keep)
{
    m_preferences.keepHistory = keep;
    m_words->setKeepsHistory(keep);
    savePreferences();
}

void frmBrowser::mnuWebsite_Click() { GoToUrl(Providers::makerWebsite()); }

void frmBrowser::mnuAbout_Click()
{
    frmAbout::instance().Load();
    frmAbout::instance().ShowModal();
}

void frmBrowser::GoToUrl(const QString &address, const QString &word)
{
    StatusBar1()->setSimpleText(QStringLiteral("goto ") + address);
    WebBrowser1()->Navigate(address, word);
}

bool frmBrowser::WriteTextFile(const QString &path, const QString &content, QString *error)
{
    return SettingsFile::writeTextFile(path, content, error);
}

QString frmBrowser::BuildSettingsXml(const QString &queryTemplate)
{
    return SettingsFile::buildSettingsXml(queryTemplate);
}

void frmBrowser::warnTemplateNotSaved(const QString &path, const QString &reason)
{
    // The template stays in force for this run either way; the user must learn that it will be
    // gone at the next start, without being stopped from looking words up meanwhile.
    if (!m_saveWarning) {
        m_saveWarning = new QMessageBox(window());
        m_saveWarning->setAttribute(Qt::WA_DeleteOnClose);
        m_saveWarning->setModal(false);
        m_saveWarning->setWindowModality(Qt::NonModal);
        m_saveWarning->setIcon(QMessageBox::Warning);
        m_saveWarning->setTextFormat(Qt::PlainText);
        m_saveWarning->setWindowTitle(
            QCoreApplication::translate("frmBrowser", "Tavrel Dictionary"));
        m_saveWarning->setStandardButtons(QMessageBox::Ok);
    }
    m_saveWarning->setText(
        QCoreApplication::translate(
            "frmBrowser",
            "The query string could not be saved in the settings file\n%1\n\n%2\n\n"
            "The new query string applies until the program ends; at the next start "
            "it will be gone.")
            .arg(QDir::toNativeSeparators(path), reason));
    m_saveWarning->show();
    m_saveWarning->raise();
    m_saveWarning->activateWindow();
}
