#pragma once

#include "common/application.h"
#include "common/form.h"

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Like QTEST_MAIN, with the browser engine prepared before the QApplication exists.
#define TAVREL_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        App::prepareBrowserEngine();                                                               \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        const int failures = QTest::qExec(&test, argc, argv);                                      \
        Form::DestroyAll();                                                                        \
        return failures;                                                                           \
    }

namespace TestSupport {

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

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);

// Runs the main event loop, as main() does, until the program ends. Should it not end, the loop
// is ended after a minute with the code 2, so the test fails instead of hanging.
int runUntilTheProgramEnds();

// Unloads every window the suites use, so the next test starts from unloaded instances.
void unloadAll();

} // namespace TestSupport
