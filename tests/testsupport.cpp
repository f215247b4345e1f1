#include "testsupport.h"

#include "common/twips.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"

#include <QFile>

namespace TestSupport {

float stored(float twips) { return Twips::fromPixels(Twips::toPixels(twips)); }

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

int runUntilTheProgramEnds()
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    guard.start(60000);
    return QCoreApplication::exec();
}

void unloadAll()
{
    frmBrowser::instance().Unload();
    frmOption::instance().Unload();
    QTest::qWait(0);
}

} // namespace TestSupport
