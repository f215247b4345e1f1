#include "testsupport.h"

#include "program/datafolder.h"

#include <QDir>
#include <QDirIterator>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Root may write nearly anywhere, so as root each case is decided for the effective user
// nobody, as the kernel sees it. Its supplementary groups stay root's: every mode below gives
// the group and the others the same rights.
class OrdinaryUser
{
public:
    OrdinaryUser()
    {
        if (geteuid() != 0)
            return;
        const passwd *nobody = getpwnam("nobody");
        m_switched = nobody && setegid(nobody->pw_gid) == 0 && seteuid(nobody->pw_uid) == 0;
        m_failed = !m_switched;
    }
    ~OrdinaryUser()
    {
        if (m_switched && (seteuid(0) != 0 || setegid(0) != 0))
            qFatal("could not become root again");
    }
    bool failed() const { return m_failed; }

private:
    bool m_switched = false;
    bool m_failed = false;
};

class TestDataFolder : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_scratch;

private slots:
    void init()
    {
        QVERIFY(m_scratch.renew());
        QVERIFY(::chmod(QFile::encodeName(m_scratch.path()).constData(), 0755) == 0);
    }

    // Folders this user cannot write would outlive the scratch folder.
    void cleanup()
    {
        QDirIterator entries(m_scratch.path(), QDir::Dirs | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        while (entries.hasNext())
            ::chmod(QFile::encodeName(entries.next()).constData(), 0755);
    }

    void choosesWhereTheUserCanWrite_data()
    {
        // Entries made before choosing, each "path mode", a path ending in ".xml" being a file;
        // then where the data goes and whose settings file gives the starting template.
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("settings");
        const QString admin = QStringLiteral("program/session/tavrel.xml");
        const auto row
            = [](const char *name, const QStringList &entries, const char *folder,
                 const char *settings) { QTest::newRow(name) << entries << folder << settings; };
        row("program folder writable", {"program 0777"}, "program", "program");
        row("program folder read-only", {"program 0555"}, "user", "user");
        row("program folder missing", {}, "user", "user");
        row("read-only, with writable temp and session",
            {"program 0555", "program/temp 0777", "program/session 0777"}, "program", "program");
        row("writable, with a read-only session folder",
            {"program 0777", "program/temp 0777", "program/session 0555"}, "user", "user");
        row("read-only, holding an administrator's default",
            {"program 0555", "program/session 0555", admin + " 0644"}, "user", "program");
        row("administrator's default, and the user's own file",
            {"program 0555", "program/session 0555", admin + " 0644", "user 0777",
             "user/session 0777", "user/session/tavrel.xml 0644"},
            "user", "user");
        row("administrator's default the user cannot read",
            {"program 0555", "program/session 0555", admin + " 0200"}, "user", "user");
    }

    void choosesWhereTheUserCanWrite()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, folder);
        QFETCH(QString, settings);
        // The user's folder lies some levels down a home the user owns, as it does in life.
        const QString home = m_scratch.path("home");
        QVERIFY(QDir().mkdir(home));
        QVERIFY(::chmod(QFile::encodeName(home).constData(), 0777) == 0);
        const QString userFolder = home + "/.local/share/TavrelDictionary";
        const auto real = [&](const QString &name) {
            return name.startsWith("user") ? userFolder + name.mid(4) : m_scratch.path(name);
        };
        // Made in order, so that a folder's mode is set only after what goes inside it.
        for (const QString &entry : entries) {
            const QString path = real(entry.section(' ', 0, 0));
            if (path.endsWith(".xml"))
                TestSupport::writeBytes(path, "<Chinese>http://x/%word</Chinese>");
            else
                QVERIFY(QDir().mkpath(path));
        }
        for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
            const QString path = real(entry->section(' ', 0, 0));
            const mode_t mode = mode_t(entry->section(' ', 1).toUInt(nullptr, 8));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
        }
        const QString program = m_scratch.path("program");
        const QStringList before = QDir(program).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        DataFolder::Choice choice;
        {
            OrdinaryUser user;
            if (user.failed())
                QSKIP("running as root, but the effective user could not be changed to nobody");
            choice = DataFolder::choose(program, userFolder);
        }
        QCOMPARE(choice.folder, real(folder));
        QCOMPARE(choice.startingSettings, real(settings) + "/session/tavrel.xml");
        // The user's folder is made, parents and all; choosing writes nothing beside the program.
        QCOMPARE(QFileInfo(userFolder).isDir(), folder == "user");
        QCOMPARE(QDir(program).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }
};

TAVREL_TEST_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
