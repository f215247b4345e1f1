// Handwriting: the drawing's reader and normalisation, zinnia's recognition re-ranked with the
// dictionary's counts, the terminal mode and the pad, on the real model and index.
#include "chinese_english/index.h"
#include "handwriting/backgroundrecogniser.h"
#include "handwriting/drawingarea.h"
#include "handwriting/handwritingpad.h"
#include "handwriting/recogniser.h"
#include "handwriting/terminalmode.h"
#include "main_window/handwritinginput.h"
#include "testsupport.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QToolButton>

#include <cmath>
#include <limits>

using namespace Handwriting;

namespace {

// The characters as a hand would draw them, in stroke order, in the 300×300 box.
const char *const Yi = "[[[40,150],[150,148],[260,152]]]";
const char *const Shi = "[[[40,150],[260,150]],[[150,40],[150,260]]]";
const char *const Ren = "[[[150,40],[130,130],[60,260]],[[140,140],[200,210],[260,260]]]";
const char *const Yong = "[[[150,30],[165,60]],[[70,90],[200,90],[190,120],[175,270],[150,255]],"
                         "[[75,150],[130,150],[60,230]],[[230,110],[180,170]],"
                         "[[180,170],[270,260]]]";
const char *const Ni = "[[[95,30],[40,140]],[[75,100],[75,275]],[[155,35],[125,110]],"
                       "[[135,85],[265,85],[245,130]],[[200,120],[200,260],[180,245]],"
                       "[[150,170],[125,220]],[[240,170],[270,220]]]";

Drawing drawingOf(const char *json)
{
    return readDrawing(QByteArrayView(json)).drawing;
}

bool modelPresent()
{
    Recogniser recogniser;
    return recogniser.load();
}

Stroke line(QPointF from, QPointF to, int points)
{
    Stroke stroke;
    for (int i = 0; i < points; ++i)
        stroke.push_back(from + (to - from) * (double(i) / std::max(1, points - 1)));
    return stroke;
}

// A level stroke across the area, as the mouse draws it.
void drawAcross(DrawingArea *area)
{
    const int middle = area->height() / 2;
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(30, middle));
    for (int x = 40; x <= area->width() - 30; x += 10) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, middle), area->mapToGlobal(QPointF(x, middle)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(area, &move);
    }
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(area->width() - 30, middle));
}

} // namespace

class HandwritingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void recognition_data();
    void recognition();
    void badLines_data();
    void badLines();
    void hostile_data();
    void hostile();
    void rerank_data();
    void rerank();
    void newerDrawingSupersedes();
    void padOffersWhatIsDrawn();
    void padWithoutModel();
    void traditionalForms_data();
    void traditionalForms();
    void wordBoxTakesTheCandidate();

private:
    std::unique_ptr<Dictionary::Index> m_index;
};

void HandwritingTest::initTestCase()
{
    m_index = std::make_unique<Dictionary::Index>(QStringLiteral(TAVREL_DICTIONARY_INDEX));
    QVERIFY2(m_index->isOpen(), qPrintable(m_index->errorString()));
}

void HandwritingTest::recognition_data()
{
    QTest::addColumn<QByteArray>("strokes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("yi") << QByteArray(Yi) << QStringLiteral("一");
    QTest::newRow("shi") << QByteArray(Shi) << QStringLiteral("十");
    QTest::newRow("ren") << QByteArray(Ren) << QStringLiteral("人");
    QTest::newRow("yong") << QByteArray(Yong) << QStringLiteral("永");
    QTest::newRow("ni") << QByteArray(Ni) << QStringLiteral("你");
}

void HandwritingTest::recognition()
{
    QFETCH(QByteArray, strokes);
    QFETCH(QString, expected);
    if (!modelPresent())
        QSKIP("the tegaki-zinnia-simplified-chinese model is not installed");
    Recogniser recogniser;
    const auto ranked = Handwriting::rerank(recogniser.recognise(drawingOf(strokes), CandidatePool),
                                            indexCounts(*m_index), ShownCandidates);
    QVERIFY(!ranked.empty());
    QCOMPARE(ranked.front().character, expected);
    QVERIFY(ranked.size() <= size_t(ShownCandidates));
    for (size_t i = 1; i < ranked.size(); ++i)
        QVERIFY(ranked[i - 1].score >= ranked[i].score);
}

void HandwritingTest::badLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("error");
    QTest::newRow("not json") << QByteArray("garbage") << QStringLiteral("Not JSON");
    QTest::newRow("cut short") << QByteArray("[[[1,2]") << QStringLiteral("Not JSON");
    QTest::newRow("object") << QByteArray("{\"strokes\":[]}") << QStringLiteral("array of strokes");
    QTest::newRow("number") << QByteArray("42") << QStringLiteral("Not JSON");
    QTest::newRow("stroke a number") << QByteArray("[1]") << QStringLiteral("A stroke");
    QTest::newRow("point a number") << QByteArray("[[1]]") << QStringLiteral("A point");
    QTest::newRow("one coordinate") << QByteArray("[[[1]]]") << QStringLiteral("A point");
    QTest::newRow("three coordinates") << QByteArray("[[[1,2,3]]]") << QStringLiteral("A point");
    QTest::newRow("text coordinate") << QByteArray("[[[1,\"2\"]]]") << QStringLiteral("A point");
    QTest::newRow("null coordinate") << QByteArray("[[[null,2]]]") << QStringLiteral("A point");
    QTest::newRow("no strokes") << QByteArray("[]") << QStringLiteral("no strokes");
    QTest::newRow("empty strokes") << QByteArray("[[],[]]") << QStringLiteral("no strokes");
    QTest::newRow("empty line") << QByteArray("") << QStringLiteral("Not JSON");
    QTest::newRow("too large") << QByteArray("[[" + QByteArray(MaxDrawingBytes, ' ') + "]]")
                               << QStringLiteral("too large");
}

void HandwritingTest::badLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, error);
    Recogniser recogniser;
    const QJsonObject answer
            = QJsonDocument::fromJson(answerLine(recogniser, indexCounts(*m_index), line)).object();
    QVERIFY2(answer.value(QStringLiteral("error")).toString().contains(error),
             QJsonDocument(answer).toJson(QJsonDocument::Compact).constData());
    QVERIFY(!answer.contains(QStringLiteral("candidates")));
}

void HandwritingTest::hostile_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::addColumn<Drawing>("drawing");
    QTest::addColumn<int>("strokes"); // after normalisation
    QTest::newRow("100,000 points")
            << Drawing{line({0, 0}, {300, 300}, 100000)} << 1;
    Drawing many;
    for (int i = 0; i < 1000; ++i)
        many.push_back(line({double(i % 300), 10}, {double(i % 300), 290}, 20));
    QTest::newRow("1,000 strokes") << many << MaxStrokes;
    QTest::newRow("single point") << Drawing{{{150, 150}}} << 1;
    QTest::newRow("NaN") << Drawing{{{nan, 10}, {20, nan}, {nan, nan}}} << 0;
    QTest::newRow("NaN among points") << Drawing{{{10, 10}, {nan, 5}, {200, 10}}} << 1;
    QTest::newRow("infinite") << Drawing{{{infinity, -infinity}, {10, 10}}} << 1;
    QTest::newRow("negative") << Drawing{{{-50, -50}, {-10, 100}}} << 1;
    QTest::newRow("huge") << Drawing{{{1e300, 1e300}, {-1e300, 5}, {1e18, 150}}} << 1;
    QTest::newRow("empty stroke") << Drawing{{}, line({40, 150}, {260, 150}, 10), {}} << 1;
    QTest::newRow("nothing") << Drawing{} << 0;
}

void HandwritingTest::hostile()
{
    QFETCH(Drawing, drawing);
    QFETCH(int, strokes);
    const Drawing normal = normalised(drawing);
    QCOMPARE(int(normal.size()), strokes);
    for (const Stroke &stroke : normal) {
        QVERIFY(stroke.size() >= 2 && stroke.size() <= size_t(MaxStrokePoints));
        for (const QPointF &point : stroke) {
            QVERIFY(point.x() >= 0 && point.x() <= BoxSize);
            QVERIFY(point.y() >= 0 && point.y() <= BoxSize);
        }
    }
    if (!modelPresent())
        QSKIP("the tegaki-zinnia-simplified-chinese model is not installed");
    Recogniser recogniser;
    const auto candidates = recogniser.recognise(drawing, CandidatePool);
    QCOMPARE(candidates.empty(), normal.empty());
    QVERIFY(candidates.size() <= size_t(CandidatePool));
}

void HandwritingTest::rerank_data()
{
    QTest::addColumn<std::vector<Candidate>>("candidates");
    QTest::addColumn<QString>("first");
    // 日 is common, 曰 rare: a near tie goes to the common one...
    QTest::newRow("near tie") << std::vector<Candidate>{{"曰", 0.50}, {"日", 0.48}}
                              << QStringLiteral("日");
    // ...but a clear first choice is not overturned by frequency.
    QTest::newRow("clear winner") << std::vector<Candidate>{{"曰", 0.90}, {"日", 0.10}}
                                  << QStringLiteral("曰");
    QTest::newRow("unknown characters keep their order")
            << std::vector<Candidate>{{"\U0002A6A5", 0.5}, {"\U0002A6A6", 0.49}}
            << QStringLiteral("\U0002A6A5");
}

void HandwritingTest::rerank()
{
    QFETCH(std::vector<Candidate>, candidates);
    QFETCH(QString, first);
    const auto ranked = Handwriting::rerank(candidates, indexCounts(*m_index), ShownCandidates);
    QCOMPARE(ranked.size(), candidates.size());
    QCOMPARE(ranked.front().character, first);
    double sum = 0;
    for (const Candidate &candidate : ranked)
        sum += candidate.score;
    QVERIFY(std::abs(sum - 1.0) < 0.01);
}

void HandwritingTest::newerDrawingSupersedes()
{
    if (!modelPresent())
        QSKIP("the tegaki-zinnia-simplified-chinese model is not installed");
    BackgroundRecogniser recogniser(indexCounts(*m_index));
    QSignalSpy answers(&recogniser, &BackgroundRecogniser::recognised);
    recogniser.recognise(drawingOf(Ni));
    recogniser.recognise(drawingOf(Shi));
    QTRY_COMPARE(answers.size(), 1);
    QTest::qWait(200); // the superseded answer, had it been sent, would have come by now
    QCOMPARE(answers.size(), 1);
    const auto candidates = answers.first().first().value<QList<Candidate>>();
    QCOMPARE(candidates.first().character, QStringLiteral("十"));
}

void HandwritingTest::padOffersWhatIsDrawn()
{
    if (!modelPresent())
        QSKIP("the tegaki-zinnia-simplified-chinese model is not installed");
    HandwritingPad pad(indexCounts(*m_index));
    QCOMPARE(pad.accessibleName(), QStringLiteral("Handwriting pad"));
    pad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pad));
    DrawingArea *area = pad.drawingArea();
    drawAcross(area);
    QCOMPARE(area->strokeCount(), 1);
    QTRY_VERIFY(!pad.candidates().isEmpty());
    QCOMPARE(pad.candidates().first(), QStringLiteral("一"));
    const auto buttons = pad.findChildren<QToolButton *>();
    QVERIFY(std::any_of(buttons.begin(), buttons.end(), [](QToolButton *button) {
        return button->isVisible() && button->accessibleName() == QStringLiteral("一");
    }));

    QSignalSpy chosen(&pad, &HandwritingPad::candidateChosen);
    QTest::keyClick(&pad, Qt::Key_Space);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toString(), QStringLiteral("一"));
    QCOMPARE(area->strokeCount(), 0);
    QTRY_VERIFY(pad.candidates().isEmpty());
}

void HandwritingTest::padWithoutModel()
{
    HandwritingPad pad(indexCounts(*m_index), nullptr, QStringLiteral("/nonexistent/model"));
    pad.show();
    QTRY_VERIFY(!pad.errorText().isEmpty());
    QVERIFY(pad.errorText().contains(QStringLiteral("missing")));
    QVERIFY(!pad.drawingArea()->isEnabled());
    QSignalSpy chosen(&pad, &HandwritingPad::candidateChosen);
    QTest::keyClick(&pad, Qt::Key_Return);
    QCOMPARE(chosen.size(), 0);
}

void HandwritingTest::traditionalForms_data()
{
    QTest::addColumn<QStringList>("candidates");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("written alike") << QStringList{"一", "人"} << QStringList{"一", "人"};
    QTest::newRow("each form right after its character")
            << QStringList{"书", "一", "马"} << QStringList{"书", "書", "一", "马", "馬"};
    QTest::newRow("the commonest sense's form first")
            << QStringList{"发"} << QStringList{"发", "發", "髮"};
    QTest::newRow("a form already offered is not repeated")
            << QStringList{"马", "馬"} << QStringList{"马", "馬"};
}

void HandwritingTest::traditionalForms()
{
    QFETCH(QStringList, candidates);
    QFETCH(QStringList, offered);
    const FormsProvider forms = [this](const QString &character) {
        return Handwriting::traditionalForms(*m_index, character);
    };
    QCOMPARE(withTraditionalForms(candidates, forms, ShownCandidates), offered);
    QCOMPARE(withTraditionalForms(candidates, forms, 1), offered.mid(0, 1));
}

void HandwritingTest::wordBoxTakesTheCandidate()
{
    if (!modelPresent())
        QSKIP("the tegaki-zinnia-simplified-chinese model is not installed");
    QWidget window;
    window.resize(600, 400);
    auto *box = new QLineEdit(QStringLiteral("ab"), &window);
    box->setGeometry(10, 10, 500, 30);
    HandwritingInput input(box);
    QSignalSpy inserted(&input, &HandwritingInput::inserted);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();
    box->setCursorPosition(1);
    QVERIFY(!input.pad()); // the model waits for the pad's first opening
    input.action()->trigger();
    QVERIFY(input.pad() && input.isOpen());
    QCOMPARE(input.pad()->geometry().top(), box->geometry().bottom() + 1);

    drawAcross(input.pad()->drawingArea());
    QTRY_COMPARE(input.pad()->candidates().value(0), QStringLiteral("一"));
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->text(), QStringLiteral("a一b"));
    QCOMPARE(box->cursorPosition(), 2);
    QCOMPARE(inserted.size(), 1);
    QVERIFY(box->hasFocus());
    QVERIFY(input.isOpen());
    QCOMPARE(input.pad()->drawingArea()->strokeCount(), 0);
    // With nothing drawn, Space is typed as without the pad; Escape closes it.
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->text(), QStringLiteral("a一 b"));
    QTest::keyClick(box, Qt::Key_Escape);
    QVERIFY(!input.isOpen());
}

TAVREL_TEST_MAIN(HandwritingTest)
#include "tst_handwriting.moc"
