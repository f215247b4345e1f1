#pragma once

#include "recogniser.h"

#include <QList>
#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

namespace Handwriting {

class RecognitionWorker;

// Recognises on a thread of its own, so that drawing never waits for zinnia. Only the newest
// drawing matters: one asked for while another is queued or running supersedes it, and the
// older answer is never delivered.
class BackgroundRecogniser : public QObject
{
    Q_OBJECT
public:
    // counts is called on the worker thread and must be safe there.
    explicit BackgroundRecogniser(CountProvider counts, QObject *parent = nullptr,
                                  const QString &modelPath = Recogniser::defaultModelPath());
    ~BackgroundRecogniser() override;

    // Opens the model on the worker now rather than on the first stroke; ready() or failed().
    void prepare();
    void recognise(const Drawing &drawing);
    // Drops the answer to any drawing asked for so far (the drawing was cleared).
    void cancel();

signals:
    void ready();
    void recognised(const QList<Handwriting::Candidate> &candidates);
    void failed(const QString &error);

private:
    // The number of the newest drawing asked for; first, as the worker is made with it.
    std::shared_ptr<std::atomic<quint64>> m_latest = std::make_shared<std::atomic<quint64>>(0);
    QThread m_thread;
    RecognitionWorker *m_worker = nullptr; // lives on m_thread, deleted when it finishes
};

// The count of a character from the program's own CC-CEDICT index, opened as lookups open it;
// 0 when it can't be read. Safe on any thread.
quint32 sharedIndexCount(const QString &character);
// The traditional forms of a character from the same index; none when it can't be read.
QStringList sharedTraditionalForms(const QString &character);

} // namespace Handwriting

Q_DECLARE_METATYPE(Handwriting::Candidate)
