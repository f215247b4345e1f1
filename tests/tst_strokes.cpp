// The stroke-order index the build made from hanzi-writer-data, read on known characters and
// damaged; and the panel that writes a word's characters stroke by stroke.
#include "stroke_order/characterdiagram.h"
#include "strokes/format.h"
#include "strokes/strokeindex.h"
#include "stroke_order/strokeorderpanel.h"

#include <QAccessible>
#include <QFile>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray realIndex()
{
    QFile file(QStringLiteral(TAVREL_STROKES_INDEX));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How many of the image's pixels are darker than mid-grey: the ink of drawn strokes.
int inked(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

} // namespace

class TestStrokes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Strokes::setIndexPath(QStringLiteral(TAVREL_STROKES_INDEX));
        QVERIFY2(Strokes::installedIndex().isOpen(),
                 qPrintable(Strokes::installedIndex().errorString()));
    }

    void knownCharacters_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("strokes");
        QTest::addColumn<QList<int>>("radical");

        QTest::newRow("你") << "你" << 7 << QList<int> {0, 1};
        QTest::newRow("我") << "我" << 7 << QList<int> {1, 4, 5, 6};
        QTest::newRow("是") << "是" << 9 << QList<int> {0, 1, 2, 3};
        QTest::newRow("爱") << "爱" << 10 << QList<int> {0, 1, 2, 3};
        QTest::newRow("龍") << "龍" << 16 << QList<int>();
        QTest::newRow("outside the basic plane, none") << "𠀀" << 0 << QList<int>();
        QTest::newRow("a Latin letter, none") << "A" << 0 << QList<int>();
    }

    void knownCharacters()
    {
        QFETCH(QString, character);
        QFETCH(int, strokes);
        QFETCH(QList<int>, radical);
        const Strokes::Index &index = Strokes::installedIndex();
        const char32_t c = Strokes::singleCharacter(character);
        QVERIFY(c);
        QCOMPARE(index.strokeCount(c), strokes);
        const Strokes::Character read = index.character(c);
        QCOMPARE(read.strokeCount(), strokes);
        if (!radical.isEmpty())
            QCOMPARE(read.radicalStrokes, radical);
        const QRectF square(-Strokes::emSize / 8, -Strokes::emSize / 8, Strokes::emSize * 1.25,
                            Strokes::emSize * 1.25);
        for (const Strokes::Stroke &stroke : read.strokes) {
            QVERIFY(!stroke.outline.isEmpty());
            QVERIFY(square.contains(stroke.outline.boundingRect()));
            QVERIFY(stroke.median.size() >= 2);
            // The brush starts inside its stroke or close to it.
            QVERIFY(stroke.outline.boundingRect().adjusted(-80, -80, 80, 80).contains(
                stroke.median.first()));
        }
    }

    // The outline of 你's first stroke, as its JSON has it: "M 272 567 Q 306 613 342 669 ...".
    void outlineAsTheDataHasIt()
    {
        const Strokes::Character ni = Strokes::installedIndex().character(U'你');
        QVERIFY(!ni.isEmpty());
        const QPainterPath &first = ni.strokes.first().outline;
        QVERIFY(first.elementCount() > 4);
        QCOMPARE(QPointF(first.elementAt(0)), QPointF(272, 900 - 567));
        // A quadratic curve becomes a cubic one: its end is the quadratic's.
        QVERIFY(first.elementAt(1).type == QPainterPath::CurveToElement);
        QCOMPARE(QPointF(first.elementAt(3)), QPointF(342, 900 - 669));
        QCOMPARE(ni.strokes.first().median.first(), QPointF(317, 900 - 812));
    }

    void damagedFile_data()
    {
        QTest::addColumn<int>("cutTo"); // bytes kept, 0 for all
        QTest::addColumn<bool>("sizeFixed"); // the header's size made to match
        QTest::addColumn<int>("overwrite"); // records' bytes set to 0xFF from this one on
        QTest::addColumn<bool>("firstReads"); // 一, whose record comes first

        QTest::newRow("cut in half") << 2 << false << -1 << false;
        QTest::newRow("cut in half, size fixed") << 2 << true << -1 << false;
        QTest::newRow("records overwritten") << 0 << false << 0 << false;
        QTest::newRow("records overwritten halfway") << 0 << false << 2 << true;
    }

    void damagedFile()
    {
        QFETCH(int, cutTo);
        QFETCH(bool, sizeFixed);
        QFETCH(int, overwrite);
        QFETCH(bool, firstReads);
        QByteArray bytes = realIndex();
        QVERIFY(!bytes.isEmpty());
        if (cutTo)
            bytes.truncate(bytes.size() / cutTo);
        if (sizeFixed)
            qToLittleEndian(quint32(bytes.size()), bytes.data() + IndexFile::FileSizeAt);
        if (overwrite >= 0) {
            const quint32 at = qFromLittleEndian<quint32>(
                bytes.constData() + IndexFile::sectionsAt(0) + 8 * Strokes::Format::Records);
            const quint32 size = qFromLittleEndian<quint32>(
                bytes.constData() + IndexFile::sectionsAt(0) + 8 * Strokes::Format::Records + 4);
            const quint32 from = overwrite ? size / overwrite : 0;
            std::fill(bytes.begin() + at + from, bytes.begin() + at + size, char(0xFF));
        }
        const Strokes::Index index((QByteArrayView(bytes)));
        QCOMPARE(index.character(U'\u4E00').strokeCount(), firstReads ? 1 : 0);
        // Every other character reads whole or not at all: late ones lie in the damage.
        for (const char32_t c : {U'你', U'我', U'是', U'爱', U'龍', U'\u9F98'}) {
            const Strokes::Character character = index.character(c);
            QVERIFY(character.isEmpty() || character.strokeCount() == index.strokeCount(c));
            if (overwrite >= 0 && c >= U'龍')
                QVERIFY(character.isEmpty());
        }
    }

    void panelWritesEveryStrokeAndFinishes()
    {
        StrokeOrderPanel panel(QStringLiteral("你好"));
        QCOMPARE(panel.accessibleName(), QStringLiteral("Stroke order of 你好"));
        QAccessibleInterface *panelAccessible = QAccessible::queryAccessibleInterface(&panel);
        QVERIFY(panelAccessible);
        QCOMPARE(panelAccessible->text(QAccessible::Name), QStringLiteral("Stroke order of 你好"));
        const QList<CharacterDiagram *> diagrams = panel.diagrams();
        QCOMPARE(diagrams.size(), 2);
        QCOMPARE(diagrams[0]->strokeCount(), 7);
        QCOMPARE(diagrams[1]->strokeCount(), 6);
        QSignalSpy drawn(diagrams[0], &CharacterDiagram::strokeDrawn);
        QSignalSpy started(diagrams[0], &CharacterDiagram::strokeStarted);
        QSignalSpy finished0(diagrams[0], &CharacterDiagram::finished);
        QSignalSpy finished1(diagrams[1], &CharacterDiagram::finished);
        QVERIFY(diagrams[0]->isPlaying()); // it starts at once
        panel.resize(480, 320);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const int blank = inked(diagrams[0]->grab().toImage());
        // Part way through a stroke, then fast to the end.
        QTRY_VERIFY(diagrams[0]->progress() > 0 || diagrams[0]->strokesDrawn() > 0);
        for (CharacterDiagram *diagram : diagrams)
            diagram->setSpeed(40);
        QTRY_COMPARE_WITH_TIMEOUT(finished0.size(), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(finished1.size(), 1, 20000);
        QCOMPARE(drawn.size(), 7);
        for (int i = 0; i < drawn.size(); ++i)
            QCOMPARE(drawn.at(i).at(0).toInt(), i + 1);
        QCOMPARE(started.size(), 6); // the first started as the panel was made
        for (int i = 0; i < started.size(); ++i)
            QCOMPARE(started.at(i).at(0).toInt(), i + 1);
        QVERIFY(!diagrams[0]->isPlaying());
        QCOMPARE(diagrams[0]->accessibleDescription(), QStringLiteral("stroke 7 of 7"));
        QCOMPARE(diagrams[0]->accessibleName(), QStringLiteral("你, 7 strokes"));
        QVERIFY(inked(diagrams[0]->grab().toImage()) > blank + 500);
    }

    void stepAndReplay()
    {
        StrokeOrderPanel panel(QStringLiteral("是"));
        CharacterDiagram *diagram = panel.diagrams().value(0);
        QVERIFY(diagram);
        diagram->pause();
        QVERIFY(!diagram->isPlaying());
        const int before = diagram->strokesDrawn();
        for (int i = 0; i < 3; ++i)
            diagram->step();
        QCOMPARE(diagram->strokesDrawn(), before + 3);
        QCOMPARE(diagram->accessibleDescription(),
                 QStringLiteral("stroke %1 of 9").arg(before + 3));
        QTest::keyClick(diagram, Qt::Key_Right);
        QCOMPARE(diagram->strokesDrawn(), before + 4);
        QTest::keyClick(diagram, Qt::Key_Space);
        QVERIFY(diagram->isPlaying());
        QTest::keyClick(diagram, Qt::Key_Space);
        QVERIFY(!diagram->isPlaying());
        while (!diagram->isFinished())
            diagram->step();
        QSignalSpy started(diagram, &CharacterDiagram::strokeStarted);
        diagram->play(); // Replay: from the first stroke again
        QVERIFY(diagram->isPlaying());
        QCOMPARE(diagram->strokesDrawn(), 0);
        QCOMPARE(started.size(), 1);
        QCOMPARE(diagram->accessibleDescription(), QStringLiteral("9 strokes"));
    }

    void characterWithoutData()
    {
        StrokeOrderPanel panel(QStringLiteral("𠀀"));
        QCOMPARE(panel.diagrams().size(), 1);
        CharacterDiagram *diagram = panel.diagrams().first();
        QCOMPARE(diagram->strokeCount(), 0);
        QCOMPARE(diagram->accessibleName(), QStringLiteral("No stroke data for 𠀀"));
        QVERIFY(!diagram->isPlaying());
        diagram->step();
        QCOMPARE(diagram->strokesDrawn(), 0);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        diagram->grab(); // paints the message without data to paint from
    }

    void outlineBehind_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("dark") << QColor(0x23, 0x26, 0x29) << QColor(0xEF, 0xF0, 0xF1);
    }

    // The grey character shows behind with "Outline", a little of the text's colour on the
    // background, and is gone without it.
    void outlineBehind()
    {
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        StrokeOrderPanel panel(QStringLiteral("我"));
        CharacterDiagram *diagram = panel.diagrams().value(0);
        QVERIFY(diagram);
        diagram->pause();
        QPalette colours = diagram->palette();
        colours.setColor(QPalette::Base, base);
        colours.setColor(QPalette::Text, text);
        diagram->setPalette(colours);
        diagram->resize(200, 200);
        const int between = (qGray(base.rgb()) * 85 + qGray(text.rgb()) * 15) / 100;
        const auto outlined = [&] {
            const QImage image = diagram->grab().toImage();
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    count += qAbs(qGray(image.pixel(x, y)) - between) <= 6;
            return count;
        };
        panel.setOutlineShown(true);
        const int shown = outlined();
        panel.setOutlineShown(false);
        const int hidden = outlined();
        QVERIFY2(shown > 1000 && hidden < shown / 10,
                 qPrintable(QString::number(shown) + " " + QString::number(hidden)));
    }
};

QTEST_MAIN(TestStrokes)
#include "tst_strokes.moc"
