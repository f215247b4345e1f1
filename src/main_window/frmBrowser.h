#pragma once

#include "answer/tonecolours.h"

#include "preferences/preferences.h"
#include "window_layer/form.h"
#include "words/recorder.h"

#include <memory>

class CommandButton;
class FavouritesWindow;
class HandwritingInput;
class HistoryWindow;
class SuggestionList;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMessageBox;
class Pronouncer;
class StatusBar;
class WebBrowser;

class WordListWindow;

class QTimer;

namespace Words {
class Store;
struct Favourite;
} // namespace Words

// The main window: the word box, "Translate", the browser that shows the dictionary's answer,
// and the status bar that names the address it was sent to. Starting the program loads it.
class frmBrowser : public Form
{
    Q_OBJECT
public:
    static frmBrowser &instance();

    ~frmBrowser() override;

    // Puts the word into the word box and looks it up as "Translate" does.
    void LookUp(const QString &word);
    // The same for a word kept already (see keepWordFromOutside): not recorded a second time.
    void LookUpKept(const QString &word);
    // Keeps a word handed over by another program in the history, or in the journal of words
    // waiting for it, before the word is looked up: true once it is safe, and may be said taken.
    bool keepWordFromOutside(const QString &word);

    // The words the user keeps, while the window is loaded.
    Words::Store *words() const { return m_words.get(); }
    // Loaded once the window is; saved whenever the user changes one.
    const Preferences &preferences() const { return m_preferences; }
    // The answers' tone colours as the preferences choose them.
    ToneColours::Options toneColours() const;
    // Opens the "Stroke order of 你" panel for a character of an answer.
    void showStrokeOrder(const QString &character);
    HistoryWindow *historyWindow() const;
    FavouritesWindow *favouritesWindow() const;

    // The warning that the last save of the template failed, while it is open.
    QMessageBox *saveWarning() const;

    QLabel *Label2();
    QLineEdit *txtWord();
    CommandButton *cmdGo1();
    WebBrowser *WebBrowser1();
    StatusBar *StatusBar1();
    // The suggestions under the word box.
    SuggestionList *suggestionList();
    // The pen in the word box and its pad.
    HandwritingInput *handwriting();

    QMenu *mnuDictionary();
    QAction *mnuQueryString();
    QAction *mnuPreferences();
    QAction *mnuExit();
    QMenu *mnuWords();
    QAction *mnuHistory();
    QAction *mnuKeepHistory();
    QAction *mnuFavourites();
    QMenu *mnuHelp();
    QAction *mnuWebsite();
    QAction *mnuAbout();

    // Reads words aloud; made with its first use, its library and sound output with the first
    // word read.
    Pronouncer *pronouncer();

    // Every lookup the user makes, whichever way, goes into the history as it was typed.
    void recordLookup(const QString &input);
    // Whether an entry is kept among the favourites, for any answer view that shows its star.
    bool isFavourite(const QString &word, const QString &reading) const;
    void toggleFavourite(const Words::Favourite &entry);
    // Reads text aloud with the pronunciation settings: numbered pinyin, or an English word.
    void pronounce(const QString &text, bool english);

signals:
    // The user saved "Preferences...": the new ones are in force.
    void preferencesSaved(const Preferences &preferences);

protected:
    void CreateControls(FormWindow &window) override;
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;

private:
    frmBrowser();
    friend class Form;

    void createMenus(FormWindow &window);
    void connectControls();
    // Opens the words database and the preferences, which carry over its choice of history.
    void openWords();
    void expectWebPagesPerTemplate();

    void cmdGo1_Click();
    void txtWord_Edited(const QString &text);
    void mnuQueryString_Click();
    void mnuPreferences_Click();
    void savePreferences();
    void answerLoaded(bool ok);
    void mnuExit_Click();
    void mnuHistory_Click();
    void mnuKeepHistory_Click(bool keep);
    void mnuFavourites_Click();
    void mnuWebsite_Click();
    void mnuAbout_Click();

    // Opens a window of words, whose rows look their words up in this window.
    void showWordList(WordListWindow *window);

    // word is what the address looks up, if anything: the answer should the site give none.
    void GoToUrl(const QString &address, const QString &word = QString());

    bool WriteTextFile(const QString &path, const QString &content, QString *error = nullptr);
    QString BuildSettingsXml(const QString &queryTemplate);
    void warnTemplateNotSaved(const QString &path, const QString &reason);

    // The data folder chosen at start-up followed by "/session"; set once.
    QString strSessionPath;

    QPointer<QLabel> m_Label2;
    QPointer<QLineEdit> m_txtWord;
    QPointer<CommandButton> m_cmdGo1;
    QPointer<WebBrowser> m_WebBrowser1;
    QPointer<StatusBar> m_StatusBar1;
    QPointer<SuggestionList> m_suggestions;
    QPointer<HandwritingInput> m_handwriting;

    QPointer<QMenu> m_mnuDictionary;
    QPointer<QAction> m_mnuQueryString;
    QPointer<QAction> m_mnuPreferences;
    QPointer<QAction> m_mnuExit;
    QPointer<QMenu> m_mnuWords;
    QPointer<QAction> m_mnuHistory;
    QPointer<QAction> m_mnuKeepHistory;
    QPointer<QAction> m_mnuFavourites;
    QPointer<QMenu> m_mnuHelp;
    QPointer<QAction> m_mnuWebsite;
    QPointer<QAction> m_mnuAbout;

    void recordPending();
    void recordSoon();
    void sayWhyWaiting(Words::Recorder::Outcome outcome);

    std::unique_ptr<Words::Store> m_words;
    std::unique_ptr<Words::Recorder> m_recorder;
    QTimer *m_recordTimer = nullptr;
    bool m_failureSaid = false; // a failure of the file that isn't busy is said once
    bool m_lookingUpKept = false; // the word looked up is in the history, or on its way
    static constexpr int recordRetryMs = 250;
    // A file that fails for a reason of its own is not asked as often as a busy one.
    static constexpr int recordFailedRetryMs = 10000;
    QPointer<HistoryWindow> m_historyWindow;
    QPointer<FavouritesWindow> m_favouritesWindow;
    Pronouncer *m_pronouncer = nullptr;
    Preferences m_preferences;
    bool m_readNextAnswer = false; // the answer of the lookup under way is read once shown

    // Shown, not run: the user can go on looking words up while it is open.
    QPointer<QMessageBox> m_saveWarning;
};
