#include "terminalmode.h"

#include "chinese_english/index.h"
#include "lookup/lookup.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>

namespace Handwriting {

namespace {

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Reads one line of any length, keeping at most MaxDrawingBytes + 1 of it so that an endless
// line is refused without holding it; false at the end of input.
bool readLine(std::FILE *in, QByteArray &line)
{
    line.clear();
    char buffer[65536];
    bool any = false;
    while (std::fgets(buffer, sizeof buffer, in)) {
        any = true;
        const qsizetype length = qsizetype(std::strlen(buffer));
        const bool ended = length > 0 && buffer[length - 1] == '\n';
        if (line.size() <= MaxDrawingBytes)
            line.append(buffer, ended ? length - 1 : length);
        if (ended)
            return true;
    }
    return any;
}

} // namespace

QByteArray answerLine(Recogniser &recogniser, const CountProvider &counts, QByteArrayView line)
{
    const Reading reading = readDrawing(line.trimmed());
    if (!reading.error.isEmpty())
        return compact({{QStringLiteral("error"), reading.error}});
    const Drawing drawing = normalised(reading.drawing);
    if (drawing.empty())
        return compact({{QStringLiteral("error"),
                         QCoreApplication::translate("Handwriting",
                                                     "The drawing has no strokes.")}});
    const std::vector<Candidate> ranked
            = rerank(recogniser.recognise(drawing, CandidatePool), counts, ShownCandidates);
    if (!recogniser.errorString().isEmpty())
        return compact({{QStringLiteral("error"), recogniser.errorString()}});
    QJsonArray candidates;
    for (const Candidate &candidate : ranked)
        candidates.append(QJsonObject{{QStringLiteral("character"), candidate.character},
                                      {QStringLiteral("score"), candidate.score}});
    return compact({{QStringLiteral("candidates"), candidates}});
}

int runTerminal(std::FILE *in, std::FILE *out, std::FILE *err)
{
    Recogniser recogniser;
    if (!recogniser.load()) {
        std::fprintf(err, "TavrelDictionary: %s\n",
                     recogniser.errorString().toLocal8Bit().constData());
        return 2;
    }
    // Without the dictionary's counts the candidates keep zinnia's order.
    CountProvider counts;
    QByteArray line;
    auto answerAll = [&] {
        while (readLine(in, line)) {
            const QByteArray answer = answerLine(recogniser, counts, line);
            std::fwrite(answer.constData(), 1, size_t(answer.size()), out);
            std::fputc('\n', out);
            std::fflush(out);
        }
    };
    if (!Dictionary::withIndex([&](const Dictionary::Index &index) {
            counts = indexCounts(index);
            answerAll();
        }))
        answerAll();
    return 0;
}

} // namespace Handwriting
