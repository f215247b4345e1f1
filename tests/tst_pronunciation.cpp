// Words read aloud through a real sound server: PulseAudio started by the suite with a null sink
// as the only output, whose monitor is recorded while the speaker links of the real answer
// view are clicked.

#include "soundserver.h"
#include "testsupport.h"

#include "browser/answerview.h"
#include "browser/speakerlink.h"
#include "main_window/frmBrowser.h"
#include "preferences/settingsfile.h"
#include "speech/pronouncer.h"
#include "speech/spokenpinyin.h"
#include "window_layer/controls.h"

#include <QLineEdit>
#include <QMenu>

class TestPronunciation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;
    SoundServer m_sound;

    static frmBrowser &form() { return frmBrowser::instance(); }

    static QList<SpeakerLink *> speakerLinks()
    {
        // The same overlay also lays the headword's stroke-order links; only speakers here.
        AnswerView *view = form().WebBrowser1()->answerView();
        QList<SpeakerLink *> speakers;
        for (SpeakerLink *link : view ? view->viewport()->findChildren<SpeakerLink *>()
                                      : QList<SpeakerLink *>()) {
            if (AnswerPage::isSpeakerAddress(link->address()))
                speakers << link;
        }
        return speakers;
    }

    static SpeakerLink *speakerLink(const QString &name)
    {
        for (SpeakerLink *link : speakerLinks()) {
            if (link->accessibleName() == name)
                return link;
        }
        return nullptr;
    }

    static void lookUp(const QString &word)
    {
        form().LookUp(word);
        QTRY_COMPARE_WITH_TIMEOUT(form().WebBrowser1()->title(), word, 10000);
        QTRY_VERIFY(!speakerLinks().isEmpty());
    }

    // Records until the sound has been sounding for a while and then stopped for a second, or
    // for at most timeout ms; returns the recording.
    QByteArray recordWhile(const std::function<void()> &action, int timeoutMs = 8000)
    {
        if (!m_sound.startRecording())
            return {};
        QTest::qWait(200);
        action();
        QElapsedTimer timer;
        timer.start();
        double sounding = 0;
        qint64 quietSince = 0;
        while (timer.elapsed() < timeoutMs) {
            QTest::qWait(100);
            const double now = SoundServer::soundingSeconds(m_sound.recorded());
            if (now != sounding) {
                sounding = now;
                quietSince = timer.elapsed();
            } else if (sounding > 0 && timer.elapsed() - quietSince > 1000) {
                break;
            }
        }
        m_sound.stopRecording();
        return m_sound.recorded();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_appFolder.isValid());
        const QString why = m_sound.start();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        // Before anything of the sound system is loaded, which reads it once.
        qputenv("PULSE_SERVER", m_sound.address().toLocal8Bit());
        App::setPath(m_appFolder.path());
        QVERIFY(QDir(m_appFolder.path()).mkdir("session"));
        TestSupport::writeBytes(m_appFolder.filePath("session/tavrel.xml"),
                                SettingsFile::buildSettingsXml("tavrel:%word").toUtf8());
        form().Show();
        QVERIFY(QTest::qWaitForWindowExposed(form().window()));
    }

    void cleanupTestCase() { TestSupport::unloadAll(); }

    void speakerLinksFollowEntriesAndTheEnglishWord_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("firstLink");
        QTest::newRow("Chinese") << QStringLiteral("银行") << QStringLiteral("Pronounce 银行");
        QTest::newRow("English") << "beautiful"
                                 << "Pronounce beautiful";
        QTest::newRow("pinyin") << "bingqilin" << QStringLiteral("Pronounce 冰淇淋");
        QTest::newRow("phrase: its first word")
            << QStringLiteral("我喜欢喝茶") << QStringLiteral("Pronounce 我");
    }

    void speakerLinksFollowEntriesAndTheEnglishWord()
    {
        QFETCH(QString, word);
        QFETCH(QString, firstLink);
        lookUp(word);
        QTRY_COMPARE(speakerLinks().first()->accessibleName(), firstLink);
        // Each lies over its picture in the text: clicking the picture is clicking the link.
        AnswerView *view = form().WebBrowser1()->answerView();
        for (SpeakerLink *link : speakerLinks()) {
            if (!link->isVisible())
                continue;
            const QTextCursor cursor = view->cursorForPosition(link->geometry().center());
            QVERIFY2(AnswerPage::isSpeakerAddress(QUrl(cursor.charFormat().anchorHref()))
                         || AnswerPage::isSpeakerAddress(
                             QUrl(view->anchorAt(link->geometry().center()))),
                     qPrintable(link->accessibleName()));
        }
    }

    void clickPlaysTheWord_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<Speech::Voice>("voice");
        QTest::newRow("银行") << QStringLiteral("银行") << QStringLiteral("Pronounce 银行")
                              << "yin2 hang2" << Speech::Voice::Pinyin;
        QTest::newRow("beautiful") << "beautiful"
                                   << "Pronounce beautiful"
                                   << "beautiful" << Speech::Voice::AmericanEnglish;
    }

    // The whole word arrives at the sink: as long as the speech made for it, its end not cut.
    void clickPlaysTheWord()
    {
        QFETCH(QString, word);
        QFETCH(QString, link);
        QFETCH(QString, spoken);
        QFETCH(Speech::Voice, voice);
        lookUp(word);
        SpeakerLink *speaker = nullptr;
        QTRY_VERIFY((speaker = speakerLink(link)));
        QSignalSpy started(form().pronouncer(), &Pronouncer::started);
        const QByteArray recorded
            = recordWhile([&] { QTest::mouseClick(speaker, Qt::LeftButton); });
        const double seconds = SoundServer::soundingSeconds(recorded);
        const double made = SoundServer::soundingSeconds(
            Speech::synthesize(
                voice == Speech::Voice::Pinyin ? Speech::spokenPinyin(spoken) : spoken, voice)
                .samples);
        QVERIFY2(made > 0.3 && std::abs(seconds - made) < 0.08,
                 qPrintable(QString("%1 s sounding of %2 s recorded, %3 s made; status %4")
                                .arg(seconds)
                                .arg(recorded.size() / 2.0 / SoundServer::sampleRate)
                                .arg(made)
                                .arg(form().StatusBar1()->SimpleText())));
        QVERIFY2(SoundServer::rms(recorded) > 100,
                 qPrintable(QString("RMS %1").arg(SoundServer::rms(recorded))));
        QCOMPARE(started.size(), 1);
    }

    void aNewRequestStopsTheSoundPlaying()
    {
        lookUp(QStringLiteral("银行"));
        SpeakerLink *speaker = nullptr;
        QTRY_VERIFY((speaker = speakerLink(QStringLiteral("Pronounce 银行"))));
        const QString longText
            = QString("the quick brown fox jumps over the lazy dog ").repeated(3);
        const QByteArray recorded = recordWhile([&] {
            form().pronouncer()->say(longText, Speech::Voice::AmericanEnglish);
            QTest::qWait(600);
            QTest::mouseClick(speaker, Qt::LeftButton);
        });
        // The long text alone sounds for some seven seconds.
        const double seconds = SoundServer::soundingSeconds(recorded);
        QVERIFY2(seconds > 0.6 && seconds < 2.5, qPrintable(QString("%1 s sounding").arg(seconds)));
    }

    void pronounceReadsTheFirstEntry()
    {
        lookUp(QStringLiteral("银行"));
        AnswerView *view = form().WebBrowser1()->answerView();
        // In the page's menu, with its shortcut beside it.
        QMetaObject::invokeMethod(
            view,
            [view] {
                QContextMenuEvent event(QContextMenuEvent::Mouse, view->rect().center(),
                                        view->mapToGlobal(view->rect().center()));
                QCoreApplication::sendEvent(view->viewport(), &event);
            },
            Qt::QueuedConnection);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QAction *pronounce = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->text() == "Pronounce")
                pronounce = action;
        }
        menu->close();
        QVERIFY(pronounce);
        QCOMPARE(pronounce->shortcut(), QKeySequence("Alt+S"));
        QVERIFY(pronounce->isEnabled());

        // Alt+S with the focus in the word box.
        form().txtWord()->setFocus();
        QSignalSpy asked(form().WebBrowser1(), &WebBrowser::pronounce);
        const QByteArray recorded
            = recordWhile([&] { QTest::keyClick(form().txtWord(), Qt::Key_S, Qt::AltModifier); });
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().at(0).toString(), QString("yin2 hang2"));
        QVERIFY2(SoundServer::soundingSeconds(recorded) > 0.3,
                 qPrintable(QString("%1 s sounding of %2 s recorded; status %3")
                                .arg(SoundServer::soundingSeconds(recorded))
                                .arg(recorded.size() / 2.0 / SoundServer::sampleRate)
                                .arg(form().StatusBar1()->SimpleText())));
    }

    void noSoundServer()
    {
        lookUp(QStringLiteral("银行"));
        SpeakerLink *speaker = nullptr;
        QTRY_VERIFY((speaker = speakerLink(QStringLiteral("Pronounce 银行"))));
        m_sound.stop();
        form().StatusBar1()->setSimpleText(QString());
        QTest::mouseClick(speaker, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(form().StatusBar1()->SimpleText(), QString("No sound output"),
                                  10000);
    }
};

TAVREL_TEST_MAIN(TestPronunciation)
#include "tst_pronunciation.moc"
