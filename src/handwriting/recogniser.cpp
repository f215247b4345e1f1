#include "recogniser.h"

#include "chinese_english/index.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <zinnia.h>

#include <algorithm>
#include <cmath>

namespace Handwriting {

struct Recogniser::Zinnia
{
    zinnia_recognizer_t *recognizer = zinnia_recognizer_new();
    zinnia_character_t *character = zinnia_character_new();
    ~Zinnia()
    {
        zinnia_character_destroy(character);
        zinnia_recognizer_destroy(recognizer);
    }
};

Recogniser::Recogniser(const QString &modelPath) : m_path(modelPath) { }

Recogniser::~Recogniser() = default;

QString Recogniser::defaultModelPath()
{
    const QString chosen = qEnvironmentVariable("TAVREL_HANDWRITING_MODEL");
    return chosen.isEmpty()
            ? QStringLiteral("/usr/share/tegaki/models/zinnia/handwriting-zh_CN.model")
            : chosen;
}

bool Recogniser::load()
{
    if (m_zinnia)
        return true;
    if (!QFileInfo(m_path).isFile()) {
        m_error = QCoreApplication::translate(
                          "Handwriting",
                          "The handwriting model is missing (%1). Install the package "
                          "tegaki-zinnia-simplified-chinese to write characters by hand.")
                          .arg(m_path);
        return false;
    }
    auto zinnia = std::make_unique<Zinnia>();
    if (!zinnia_recognizer_open(zinnia->recognizer, QFile::encodeName(m_path).constData())) {
        m_error = QCoreApplication::translate("Handwriting",
                                              "The handwriting model can't be read (%1): %2.")
                          .arg(m_path, QString::fromLocal8Bit(
                                               zinnia_recognizer_strerror(zinnia->recognizer)));
        return false;
    }
    m_zinnia = std::move(zinnia);
    m_error.clear();
    return true;
}

std::vector<Candidate> Recogniser::recognise(const Drawing &drawing, int count)
{
    std::vector<Candidate> candidates;
    const Drawing strokes = normalised(drawing);
    if (strokes.empty() || count <= 0 || !load())
        return candidates;
    zinnia_character_t *character = m_zinnia->character;
    zinnia_character_clear(character);
    zinnia_character_set_width(character, size_t(BoxSize));
    zinnia_character_set_height(character, size_t(BoxSize));
    for (size_t id = 0; id < strokes.size(); ++id) {
        for (const QPointF &point : strokes[id])
            zinnia_character_add(character, id, int(std::lround(point.x())),
                                 int(std::lround(point.y())));
    }
    zinnia_result_t *result = zinnia_recognizer_classify(m_zinnia->recognizer, character,
                                                         size_t(count));
    if (!result)
        return candidates;
    const size_t size = zinnia_result_size(result);
    candidates.reserve(size);
    for (size_t i = 0; i < size; ++i)
        candidates.push_back({QString::fromUtf8(zinnia_result_value(result, i)),
                              double(zinnia_result_score(result, i))});
    zinnia_result_destroy(result);
    return candidates;
}

namespace {

// Calls use with every entry whose simplified headword is the character itself: a traditional
// headword also points at entries of other simplified forms, which don't count.
template<typename Use>
void forEntriesOf(const Dictionary::Index &index, const QString &character, Use use)
{
    const QByteArray key = character.toUtf8();
    const std::string_view wanted(key.constData(), size_t(key.size()));
    quint32 low = 0, high = index.headwordCount();
    while (low < high) {
        const quint32 middle = low + (high - low) / 2;
        if (index.headword(middle).key < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    for (; low < index.headwordCount() && index.headword(low).key == wanted; ++low) {
        const quint32 entry = index.headword(low).entry;
        if (index.record(entry).simplified == wanted)
            use(entry);
    }
}

} // namespace

CountProvider indexCounts(const Dictionary::Index &index)
{
    return [&index](const QString &character) -> quint32 {
        quint32 best = 0;
        forEntriesOf(index, character,
                     [&](quint32 entry) { best = std::max(best, index.count(entry)); });
        return best;
    };
}

QStringList traditionalForms(const Dictionary::Index &index, const QString &character)
{
    // The form of the character's commonest sense first: 发 is 發 before it is 髮.
    QList<std::pair<double, QString>> forms;
    forEntriesOf(index, character, [&](quint32 entry) {
        const std::string_view traditional = index.record(entry).traditional;
        const QString form = QString::fromUtf8(traditional.data(), qsizetype(traditional.size()));
        if (form == character)
            return;
        const double share = index.share(entry);
        for (auto &known : forms) {
            if (known.second == form) {
                known.first += share;
                return;
            }
        }
        forms.append({share, form});
    });
    std::stable_sort(forms.begin(), forms.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList result;
    for (const auto &form : forms)
        result << form.second;
    return result;
}

QStringList withTraditionalForms(const QStringList &characters, const FormsProvider &forms,
                                 int count)
{
    QStringList offered;
    for (const QString &character : characters) {
        if (!offered.contains(character))
            offered << character;
        for (const QString &form : forms(character)) {
            if (!offered.contains(form))
                offered << form;
        }
    }
    return offered.mid(0, count);
}

std::vector<Candidate> rerank(const std::vector<Candidate> &candidates,
                              const CountProvider &counts, int count,
                              const RerankWeights &weights)
{
    if (candidates.empty() || count <= 0)
        return {};
    const double top = candidates.front().score;
    std::vector<Candidate> ranked;
    ranked.reserve(candidates.size());
    for (const Candidate &candidate : candidates) {
        const double gap = top - candidate.score;
        const double common = counts ? std::log10(1.0 + counts(candidate.character)) : 0.0;
        const double lift = gap > weights.reach ? 0.0 : weights.frequency * common;
        ranked.push_back({candidate.character, candidate.score + lift});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Candidate &a, const Candidate &b) { return a.score > b.score; });
    if (ranked.size() > size_t(count))
        ranked.resize(size_t(count));
    // Shares of a softmax, sharp enough that a clear winner reads near 1.
    const double best = ranked.front().score;
    double sum = 0;
    for (Candidate &candidate : ranked)
        sum += (candidate.score = std::exp((candidate.score - best) * 3.0));
    for (Candidate &candidate : ranked)
        candidate.score = std::round(candidate.score / sum * 1000.0) / 1000.0;
    return ranked;
}

} // namespace Handwriting
