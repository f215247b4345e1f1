#include "testsupport.h"

#include "window_layer/controls.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmChinese.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QIcon>
#include <QProcess>
#include <QRawFont>
#include <QTextLayout>
#include <QtEndian>

// The program as a desktop sees it: its icon, its fonts, its installed files and its Windows
// resources.
class TestDesktop : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_scratch;

    static quint16 u16(const QByteArray &bytes, qsizetype at)
    {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    }
    static quint32 u32(const QByteArray &bytes, qsizetype at)
    {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    }

    // Runs a command to its end; fails the test when it cannot start, hangs or fails.
    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return QStringLiteral("<did not finish: %1>").arg(process.errorString());
        }
        const QString output = QString::fromLocal8Bit(process.readAll());
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return QStringLiteral("<failed with %1>\n%2").arg(process.exitCode()).arg(output);
        return output;
    }

    static bool ran(const QString &output) { return !output.startsWith('<'); }

    // A string of a version record, as windres stores it: UTF-16, NUL-terminated.
    static QByteArray utf16z(const QString &text)
    {
        QByteArray bytes(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        return bytes + QByteArray(2, '\0');
    }

private slots:
    void init() { QVERIFY(m_scratch.renew()); }
    void cleanup() { TestSupport::unloadAll(); }

    void iconFileHoldsTheThreeImages()
    {
        QFile file(QStringLiteral(TAVREL_SOURCE_DIR "/assets/icon/tavrel.ico"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ico = file.readAll();
        QCOMPARE(u16(ico, 0), 0);
        QCOMPARE(u16(ico, 2), 1); // an icon
        QCOMPARE(u16(ico, 4), 3);
        struct Expected
        {
            int size, colours, bits;
        };
        const Expected expected[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};
        for (int i = 0; i < 3; ++i) {
            const qsizetype entry = 6 + 16 * i;
            QCOMPARE(int(quint8(ico[entry])), expected[i].size);
            QCOMPARE(int(quint8(ico[entry + 1])), expected[i].size);
            QCOMPARE(int(quint8(ico[entry + 2])), expected[i].colours);
            QCOMPARE(int(u16(ico, entry + 6)), expected[i].bits);
            // The bitmap itself says the same.
            const quint32 offset = u32(ico, entry + 12);
            QCOMPARE(u32(ico, offset + 4), quint32(expected[i].size));
            QCOMPARE(int(u16(ico, offset + 14)), expected[i].bits);
            QVERIFY(offset + u32(ico, entry + 8) <= quint32(ico.size()));
        }
    }

    void iconIsMadeFromItsSources()
    {
        const QString out = m_scratch.path();
        const QString sources = QStringLiteral(TAVREL_SOURCE_DIR "/assets/icon/");
        const QString output
            = run(QStringLiteral(TAVREL_MAKE_ICON),
                  {out, sources + "tavrel-32x32-2.txt", sources + "tavrel-32x32-16.txt",
                   sources + "tavrel-16x16-16.txt"});
        QVERIFY2(ran(output), qPrintable(output));
        for (const char *name : {"tavrel.ico", "tavrel-32.png", "tavrel-16.png"}) {
            QVERIFY2(TestSupport::readBytes(out + '/' + name)
                         == TestSupport::readBytes(sources + name),
                     name);
        }
    }

    void everyWindowShowsTheColourIcon()
    {
        const QIcon icon = QApplication::windowIcon();
        QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32)}));
        // The 16-colour image, not the 2-colour one: the cover is blue.
        QCOMPARE(QColor(icon.pixmap(32).toImage().pixel(12, 12)), QColor(Qt::blue));
        App::setPath(m_scratch.path());
        for (Form *form :
             std::initializer_list<Form *> {&frmBrowser::instance(), &frmOption::instance(),
                                            &frmChinese::instance(), &frmAbout::instance()}) {
            QCOMPARE(form->window()->windowIcon().cacheKey(), icon.cacheKey());
        }
        QCOMPARE(QGuiApplication::desktopFileName(), QString("example.tavrel.TavrelDictionary"));
    }

    void chineseShowsAsGlyphs()
    {
        // The fonts the word box and the options dialog use.
        const QString text = QStringLiteral("ice cream 冰淇淋 中文字典");
        for (const qreal size : {12.0, 13.5}) {
            QTextLayout layout(text, Controls::msSansSerif(size));
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            int glyphs = 0;
            for (const QGlyphRun &run : layout.glyphRuns()) {
                for (const quint32 glyph : run.glyphIndexes()) {
                    // Glyph 0 is the font's "missing" box.
                    QVERIFY2(glyph != 0, qPrintable(run.rawFont().familyName()));
                    ++glyphs;
                }
            }
            QCOMPARE(glyphs, text.size());
        }
        // The substitute for "MS Sans Serif" is a scalable sans-serif face.
        const QFontInfo info(Controls::msSansSerif(12));
        QVERIFY2(QFontDatabase::isScalable(info.family()), qPrintable(info.family()));
        QVERIFY2(!QFontDatabase::isFixedPitch(info.family()), qPrintable(info.family()));
    }

    void installsWithAValidDesktopEntryAndMetainfo()
    {
        const QString prefix = m_scratch.path("prefix");
        const QString output
            = run(QStringLiteral(TAVREL_CMAKE),
                  {"--install", QStringLiteral(TAVREL_BINARY_DIR), "--prefix", prefix});
        QVERIFY2(ran(output), qPrintable(output));
        const QString id = QStringLiteral("example.tavrel.TavrelDictionary");
        QVERIFY(QFileInfo(prefix + "/bin/TavrelDictionary").isExecutable());
        for (const QString size : {"16", "32"}) {
            QImage image(prefix + "/share/icons/hicolor/" + size + 'x' + size + "/apps/" + id
                         + ".png");
            QCOMPARE(image.width(), size.toInt());
        }
        const QString desktop = prefix + "/share/applications/" + id + ".desktop";
        const QString metainfo = prefix + "/share/metainfo/" + id + ".metainfo.xml";
        QString validated = run("desktop-file-validate", {desktop});
        QVERIFY2(ran(validated), qPrintable(validated));
        validated = run("appstreamcli", {"validate", "--no-net", metainfo});
        QVERIFY2(ran(validated), qPrintable(validated));

        const QString entry = QString::fromUtf8(TestSupport::readBytes(desktop));
        QVERIFY(entry.contains("\nExec=TavrelDictionary\n"));
        QVERIFY(entry.contains("\nIcon=" + id + "\n"));
        const QString info = QString::fromUtf8(TestSupport::readBytes(metainfo));
        QVERIFY(info.contains("<name>Tavrel Dictionary</name>"));
        QVERIFY(info.contains("<release version=\"1.0\""));
        QVERIFY(info.contains("<description>"));
        // A call on the session bus starts the installed program, by its full path.
        const QString service = QString::fromUtf8(TestSupport::readBytes(
            prefix + "/share/dbus-1/services/org.tavrel.Dictionary.service"));
        QVERIFY2(service.contains("\nName=org.tavrel.Dictionary\nExec=" + prefix
                                  + "/bin/TavrelDictionary --background\n"),
                 qPrintable(service));

        // The installed program finds its browser engine in the installation's library folder.
        QVERIFY(QFileInfo::exists(prefix + "/lib/TavrelDictionary/libtavrel_browserengine.so"));
        QProcess program;
        QString errors;
        QVERIFY2(
            TestSupport::startUntilBlankPage(program, prefix + "/bin/TavrelDictionary", &errors),
            qPrintable(errors));
        program.kill();
        QVERIFY(program.waitForFinished());
    }

    void windowsResourceCompiles()
    {
        // Only a Windows build uses the resource script; compiling it here keeps it from rotting.
        const QString res = m_scratch.path("TavrelDictionary.res");
        const QString output = run("x86_64-w64-mingw32-windres",
                                   {"--preprocessor=cpp", "-i",
                                    QStringLiteral(TAVREL_BINARY_DIR "/TavrelDictionary.rc"), "-o",
                                    res, "-O", "res"});
        QVERIFY2(ran(output), qPrintable(output));
        const QByteArray bytes = TestSupport::readBytes(res);

        // Walk the resources: each is a data size, a header size, then a type and a name given
        // as 0xFFFF and a number.
        QMap<int, QList<QByteArray>> byType;
        for (qsizetype at = 0; at + 8 <= bytes.size();) {
            const quint32 dataSize = u32(bytes, at);
            const quint32 headerSize = u32(bytes, at + 4);
            QCOMPARE(u16(bytes, at + 8), quint16(0xFFFF));
            byType[u16(bytes, at + 10)] << bytes.mid(at + headerSize, dataSize);
            at += headerSize + dataSize;
            at = (at + 3) & ~qsizetype(3);
        }
        constexpr int Icon = 3, GroupIcon = 14, Version = 16;
        QCOMPARE(byType.value(Icon).size(), 3);
        QCOMPARE(byType.value(GroupIcon).size(), 1);
        QCOMPARE(u16(byType.value(GroupIcon).first(), 4), 3);
        QCOMPARE(byType.value(Version).size(), 1);

        const QByteArray version = byType.value(Version).first();
        // The fixed part: file and product version 1.0.0.0.
        const qsizetype fixed = version.indexOf(QByteArray::fromHex("bd04effe"));
        QVERIFY(fixed > 0);
        QCOMPARE(u32(version, fixed + 8), quint32(0x00010000)); // file version, high word
        QCOMPARE(u32(version, fixed + 12), quint32(0)); // file version, low word
        QCOMPARE(u32(version, fixed + 16), quint32(0x00010000)); // product version, high word
        QCOMPARE(u32(version, fixed + 20), quint32(0));
        QVERIFY(version.contains(utf16z("040904B0")));
        const QList<std::pair<QString, QString>> strings = {
            {"FileVersion", "1.00"},
            {"ProductVersion", "1.00"},
            {"ProductName", "prjTavrelDictionary"},
            {"InternalName", "TavrelDictionary"},
            {"OriginalFilename", "TavrelDictionary.exe"},
            {"CompanyName", "Tavrel"},
        };
        for (const auto &[key, value] : strings) {
            const qsizetype at = version.indexOf(utf16z(key));
            QVERIFY2(at > 0, qPrintable(key));
            // The value follows its key, aligned to four bytes.
            const qsizetype valueAt = (at + utf16z(key).size() + 3) & ~qsizetype(3);
            QVERIFY2(version.mid(valueAt).startsWith(utf16z(value)), qPrintable(key));
        }
    }
};

TAVREL_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
