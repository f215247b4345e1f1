#pragma once

#include "strokes.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace Dictionary {
class Index;
}

namespace Handwriting {

struct Candidate
{
    QString character;
    double score = 0;
};

// zinnia with Debian's tegaki model of the 6,763 GB2312 characters. The model is opened on the
// first recognition, not before: zinnia_recognizer_open() maps the file read-only and reads it
// in place, so its pages are shared and only those touched are resident (open_from_ptr would
// leave the mapping to us for the same result).
class Recogniser
{
public:
    explicit Recogniser(const QString &modelPath = defaultModelPath());
    ~Recogniser();
    Recogniser(const Recogniser &) = delete;
    Recogniser &operator=(const Recogniser &) = delete;

    // Where Debian installs the model; TAVREL_HANDWRITING_MODEL names another.
    static QString defaultModelPath();

    // Opens the model unless it is open; false, with errorString(), when it can't be read.
    bool load();
    QString errorString() const { return m_error; }

    // zinnia's own best count candidates for the drawing, which is normalised first; none for
    // an empty drawing or a model that can't be read.
    std::vector<Candidate> recognise(const Drawing &drawing, int count);

private:
    struct Zinnia;
    std::unique_ptr<Zinnia> m_zinnia;
    QString m_path;
    QString m_error;
};

// How common a character is: a count from a word list, 0 when unknown.
using CountProvider = std::function<quint32(const QString &character)>;

// The single-character headword's count from the CC-CEDICT index (its jieba count); the index
// must outlive the provider.
CountProvider indexCounts(const Dictionary::Index &index);

// The traditional forms of a simplified character, none when it is written alike.
using FormsProvider = std::function<QStringList(const QString &character)>;

// The character's traditional forms in CC-CEDICT that differ from it, the form of its commonest
// entries first.
QStringList traditionalForms(const Dictionary::Index &index, const QString &character);
// The characters, each followed by its traditional forms, without repeats, at most count.
QStringList withTraditionalForms(const QStringList &characters, const FormsProvider &forms,
                                 int count);

struct RerankWeights
{
    // How much a tenfold commoner character gains, in zinnia's score units.
    double frequency = 0.10;
    // Candidates further below the best than this, in zinnia's score, are not lifted by
    // frequency; on the benchmark's strokes limiting it never helped, so it is wide.
    double reach = 10.0;
};

// zinnia's candidates re-ordered by score plus frequency, at most count, best first; each
// score is its share (0 to 1) of the candidates kept, so the first says how sure the guess is.
std::vector<Candidate> rerank(const std::vector<Candidate> &candidates,
                              const CountProvider &counts, int count,
                              const RerankWeights &weights = {});

// How many of zinnia's candidates the re-ranking looks at.
constexpr int CandidatePool = 30;
constexpr int ShownCandidates = 10;

} // namespace Handwriting
