#include "backgroundrecogniser.h"

#include "lookup/lookup.h"

namespace Handwriting {

class RecognitionWorker : public QObject
{
public:
    RecognitionWorker(CountProvider counts, const QString &modelPath,
                      std::shared_ptr<std::atomic<quint64>> latest)
        : m_counts(std::move(counts)), m_recogniser(modelPath), m_latest(std::move(latest))
    {
    }

    bool load(QString *error)
    {
        const bool loaded = m_recogniser.load();
        *error = m_recogniser.errorString();
        return loaded;
    }

    // Empty when a newer drawing came in meanwhile; *stale says so.
    QList<Candidate> run(quint64 request, const Drawing &drawing, bool *stale, QString *error)
    {
        *stale = request != m_latest->load();
        if (*stale)
            return {};
        const std::vector<Candidate> raw = m_recogniser.recognise(drawing, CandidatePool);
        *error = m_recogniser.errorString();
        const std::vector<Candidate> ranked = rerank(raw, m_counts, ShownCandidates);
        *stale = request != m_latest->load();
        return QList<Candidate>(ranked.begin(), ranked.end());
    }

private:
    CountProvider m_counts;
    Recogniser m_recogniser;
    std::shared_ptr<std::atomic<quint64>> m_latest;
};

BackgroundRecogniser::BackgroundRecogniser(CountProvider counts, QObject *parent,
                                           const QString &modelPath)
    : QObject(parent),
      m_worker(new RecognitionWorker(std::move(counts), modelPath, m_latest))
{
    qRegisterMetaType<QList<Handwriting::Candidate>>();
    m_thread.setObjectName(QStringLiteral("handwriting"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::LowPriority);
}

BackgroundRecogniser::~BackgroundRecogniser()
{
    m_latest->fetch_add(1);
    m_thread.quit();
    m_thread.wait();
}

void BackgroundRecogniser::prepare()
{
    RecognitionWorker *worker = m_worker;
    QMetaObject::invokeMethod(worker, [this, worker] {
        QString error;
        const bool loaded = worker->load(&error);
        QMetaObject::invokeMethod(this, [this, loaded, error] {
            if (loaded)
                emit ready();
            else
                emit failed(error);
        });
    });
}

void BackgroundRecogniser::recognise(const Drawing &drawing)
{
    const quint64 request = m_latest->fetch_add(1) + 1;
    RecognitionWorker *worker = m_worker;
    const auto latest = m_latest;
    QMetaObject::invokeMethod(worker, [this, worker, request, drawing, latest] {
        bool stale = false;
        QString error;
        const QList<Candidate> candidates = worker->run(request, drawing, &stale, &error);
        if (stale)
            return;
        QMetaObject::invokeMethod(this, [this, request, candidates, error, latest] {
            if (request != latest->load())
                return;
            if (!error.isEmpty())
                emit failed(error);
            else
                emit recognised(candidates);
        });
    });
}

void BackgroundRecogniser::cancel()
{
    m_latest->fetch_add(1);
}

quint32 sharedIndexCount(const QString &character)
{
    quint32 count = 0;
    Dictionary::withIndex([&](const Dictionary::Index &index) {
        count = indexCounts(index)(character);
    });
    return count;
}

QStringList sharedTraditionalForms(const QString &character)
{
    QStringList forms;
    Dictionary::withIndex([&](const Dictionary::Index &index) {
        forms = traditionalForms(index, character);
    });
    return forms;
}

} // namespace Handwriting
