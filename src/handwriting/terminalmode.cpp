#include "terminalmode.h"

#include "chinese_english/index.h"
#include "lookup/lookup.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

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

namespace {

// The lines in flight between the reader, the recognisers and the writer. zinnia spends a
// character's time walking its whole model on one core, so the lines are recognised on every
// core and answered in their order; a script that waits for each answer is answered as soon as
// its line is recognised.
class Pipeline
{
public:
    explicit Pipeline(size_t limit) : m_limit(limit) { }

    // The reader: waits while too many lines are in flight.
    void put(QByteArray line)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_next + m_limit > m_read; });
        m_jobs.push_back({m_read++, std::move(line)});
        m_changed.notify_all();
    }
    void end()
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_changed.notify_all();
    }
    // A recogniser: the next line to answer, false at the end of input.
    bool take(quint64 &number, QByteArray &line)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_jobs.empty() || m_ended; });
        if (m_jobs.empty())
            return false;
        number = m_jobs.front().first;
        line = std::move(m_jobs.front().second);
        m_jobs.pop_front();
        return true;
    }
    void answer(quint64 number, QByteArray answer)
    {
        std::lock_guard lock(m_mutex);
        m_answers.emplace(number, std::move(answer));
        m_changed.notify_all();
    }
    // The writer: the next answer in the lines' order, false once every line is answered.
    bool next(QByteArray &answer)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] {
            return m_answers.count(m_next) || (m_ended && m_next == m_read);
        });
        const auto found = m_answers.find(m_next);
        if (found == m_answers.end())
            return false;
        answer = std::move(found->second);
        m_answers.erase(found);
        ++m_next;
        m_changed.notify_all();
        return true;
    }

private:
    const size_t m_limit;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::pair<quint64, QByteArray>> m_jobs;
    std::map<quint64, QByteArray> m_answers;
    quint64 m_read = 0, m_next = 0;
    bool m_ended = false;
};

void answerAll(std::FILE *in, std::FILE *out, const CountProvider &counts, int workers)
{
    Pipeline pipeline(size_t(workers) * 4);
    std::thread reader([&] {
        QByteArray line;
        while (readLine(in, line))
            pipeline.put(line);
        pipeline.end();
    });
    std::vector<std::thread> recognisers;
    for (int i = 0; i < workers; ++i) {
        recognisers.emplace_back([&] {
            Recogniser recogniser; // the model's pages are mapped once, whatever the threads
            quint64 number = 0;
            QByteArray line;
            while (pipeline.take(number, line))
                pipeline.answer(number, answerLine(recogniser, counts, line));
        });
    }
    QByteArray answer;
    while (pipeline.next(answer)) {
        std::fwrite(answer.constData(), 1, size_t(answer.size()), out);
        std::fputc('\n', out);
        std::fflush(out);
    }
    reader.join();
    for (std::thread &thread : recognisers)
        thread.join();
}

} // namespace

int runTerminal(std::FILE *in, std::FILE *out, std::FILE *err)
{
    {
        Recogniser recogniser; // each recognising thread opens its own
        if (!recogniser.load()) {
            std::fprintf(err, "TavrelDictionary: %s\n",
                         recogniser.errorString().toLocal8Bit().constData());
            return 2;
        }
    }
    const int workers = std::clamp(QThread::idealThreadCount(), 1, 8);
    // Without the dictionary's counts the candidates keep zinnia's order.
    if (!Dictionary::withIndex([&](const Dictionary::Index &index) {
            answerAll(in, out, indexCounts(index), workers);
        }))
        answerAll(in, out, CountProvider(), workers);
    return 0;
}

} // namespace Handwriting
