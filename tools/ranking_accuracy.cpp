// Measures how often the English reading puts the expected Chinese word first, on a sample of
// English words with the answers a reader would expect:
//   ranking_accuracy INDEX SAMPLE [name=value ...]     accuracy of the ranking, with weights
//   ranking_accuracy INDEX --show WORD... [name=value ...]  the first entries for each word
//   ranking_accuracy INDEX --search SAMPLE...          tries the weights one at a time
//   ranking_accuracy INDEX --slowest SAMPLE            the words that take lookUp longest
// SAMPLE has one word a line: the English word, a tab, and the expected simplified headwords
// separated by spaces (any of them counts); lines starting with "#" are skipped. The weights
// are those of Dictionary::Ranking::Weights, by name; without any, the answers are the program's
// own (Dictionary::lookUp), as the index was written. With RANKING_SPELLINGS set to the
// English-Chinese index, the program's answers also look up the other spelling of a word
// ("colour" for "color") among that index's headwords, as the program does.
#include "chinese_english/index.h"
#include "lookup/lookup.h"
#include "chinese_english/ranking.h"
#include "english_chinese/britishamerican.h"
#include "english_chinese/index.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <limits>
#include <map>

using Dictionary::Ranking::Weights;

namespace {

struct Sample
{
    QString word;
    QStringList expected;
};

std::map<QString, double Weights::*> weightNames()
{
    return {{"position", &Weights::position},
            {"part", &Weights::part},
            {"senses", &Weights::senses},
            {"fewSenses", &Weights::fewSenses},
            {"startsWith", &Weights::startsWith},
            {"other", &Weights::other},
            {"extraWords", &Weights::extraWords},
            {"label", &Weights::label},
            {"name", &Weights::name},
            {"reading", &Weights::reading}};
}

QString simplified(const Dictionary::Index &index, quint32 entry)
{
    const auto record = index.record(entry);
    return QString::fromUtf8(record.simplified.data(), int(record.simplified.size()));
}

struct Accuracy
{
    int words = 0, first = 0, firstThree = 0;
    double percent(int n) const { return words ? 100.0 * n / words : 0; }
};

// The other spellings of word that the English-Chinese index of RANKING_SPELLINGS has.
QStringList otherSpellings(const QString &word)
{
    static const QString path = qEnvironmentVariable("RANKING_SPELLINGS");
    if (path.isEmpty())
        return {};
    static const EnglishChinese::Index english(path);
    if (!english.isOpen())
        return {};
    return EnglishChinese::otherSpellings(word.toLower(), [](const QString &other) {
        const QByteArray utf8 = other.toUtf8();
        const auto [first, last] = english.find({utf8.constData(), size_t(utf8.size())});
        return first < last;
    });
}

// The first three entries of the English reading: as lookUp answers, or scored with weights.
QStringList firstThree(const Dictionary::Index &index, const QString &word, const Weights *weights)
{
    QStringList top;
    if (!weights) {
        const Dictionary::Result answer
            = Dictionary::lookUp(index, word, QString(), otherSpellings(word));
        for (const Dictionary::Group &group : answer.groups)
            if (group.reading == Dictionary::Reading::English)
                for (int i = 0; i < group.entries.size() && i < 3; ++i)
                    top << group.entries.at(i).simplified;
        return top;
    }
    const std::vector<quint32> ranked = Dictionary::rankEnglish(index, word, *weights);
    for (size_t i = 0; i < ranked.size() && i < 3; ++i)
        top << simplified(index, ranked[i]);
    return top;
}

Accuracy measure(const Dictionary::Index &index, const QList<Sample> &samples,
                 const Weights *weights, bool listMisses = false)
{
    Accuracy accuracy;
    for (const Sample &sample : samples) {
        const QStringList top = firstThree(index, sample.word, weights);
        ++accuracy.words;
        if (!top.isEmpty() && sample.expected.contains(top.first()))
            ++accuracy.first;
        if (std::any_of(top.begin(), top.end(),
                        [&](const QString &word) { return sample.expected.contains(word); }))
            ++accuracy.firstThree;
        else if (listMisses)
            std::printf("miss\t%s\t%s\t(expected %s)\n", qPrintable(sample.word),
                        qPrintable(top.join(u' ')), qPrintable(sample.expected.join(u' ')));
    }
    return accuracy;
}

void print(const char *what, const Accuracy &accuracy)
{
    std::printf("%s: %d words, first %d (%.1f %%), among the first three %d (%.1f %%)\n", what,
                accuracy.words, accuracy.first, accuracy.percent(accuracy.first),
                accuracy.firstThree, accuracy.percent(accuracy.firstThree));
}

QList<Sample> readSample(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "ranking_accuracy: %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        std::exit(1);
    }
    QList<Sample> samples;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 2)
            continue;
        samples.append({QString::fromUtf8(fields.at(0)).trimmed(),
                        QString::fromUtf8(fields.at(1)).split(u' ', Qt::SkipEmptyParts)});
    }
    return samples;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr,
                     "usage: ranking_accuracy INDEX SAMPLE [name=value ...]\n"
                     "       ranking_accuracy INDEX --show WORD...\n"
                     "       ranking_accuracy INDEX --search SAMPLE\n");
        return 2;
    }
    const Dictionary::Index index(arguments.at(1));
    if (!index.isOpen()) {
        std::fprintf(stderr, "ranking_accuracy: %s\n", qPrintable(index.errorString()));
        return 1;
    }
    const auto names = weightNames();
    Weights weights;
    // The weights given, name=value, wherever they are; the rest are words or samples.
    QStringList rest;
    bool weighted = false;
    for (const QString &argument : arguments.mid(2)) {
        const auto found = names.find(argument.section(u'=', 0, 0));
        bool ok = false;
        const double value = argument.section(u'=', 1).toDouble(&ok);
        if (!argument.contains(u'=') || argument.startsWith(u'-')) {
            rest << argument;
            continue;
        }
        if (found == names.end() || !ok) {
            std::fprintf(stderr, "ranking_accuracy: no weight %s\n", qPrintable(argument));
            return 2;
        }
        weights.*(found->second) = value;
        weighted = true;
    }
    if (rest.value(0) == QLatin1String("--show")) {
        for (const QString &word : rest.mid(1)) {
            const std::vector<quint32> ranked = Dictionary::rankEnglish(index, word, weights);
            QStringList top;
            for (size_t i = 0; i < ranked.size() && i < 8; ++i)
                top << simplified(index, ranked[i]);
            std::printf("%s\t%s\n", qPrintable(word), qPrintable(top.join(u' ')));
        }
        return 0;
    }
    if (rest.value(0) == QLatin1String("--slowest")) {
        // The best of five runs of each word, so that a busy moment does not count.
        std::vector<std::pair<qint64, QString>> times;
        for (const Sample &sample : readSample(rest.value(1))) {
            qint64 best = std::numeric_limits<qint64>::max();
            for (int run = 0; run < 5; ++run) {
                QElapsedTimer timer;
                timer.start();
                const Dictionary::Answer answer = Dictionary::lookUp(index, sample.word);
                best = std::min(best, timer.nsecsElapsed());
            }
            times.emplace_back(best, sample.word);
        }
        std::sort(times.rbegin(), times.rend());
        for (size_t i = 0; i < times.size() && i < 5; ++i)
            std::printf("%s\t%.1f µs\n", qPrintable(times[i].second), times[i].first / 1000.0);
        return 0;
    }
    if (rest.value(0) == QLatin1String("--search")) {
        // Coordinate ascent: each weight in turn, over a few values, keeping the best.
        // Every sample weighs the same, whatever its size: what counts is its share right.
        QList<QList<Sample>> samples;
        for (const QString &path : rest.mid(1))
            samples << readSample(path);
        auto score = [&](const Weights &w) {
            double sum = 0;
            for (const QList<Sample> &sample : samples) {
                const Accuracy a = measure(index, sample, &w);
                sum += 2 * a.percent(a.first) + a.percent(a.firstThree);
            }
            return sum;
        };
        double best = score(weights);
        for (int round = 0; round < 2; ++round) {
            for (const auto &[name, member] : names) {
                for (double value : {0.0, 0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0}) {
                    Weights tried = weights;
                    tried.*member = value;
                    const double here = score(tried);
                    if (here > best) {
                        best = here;
                        weights = tried;
                        std::printf("%s=%g: %.2f\n", qPrintable(name), value, here);
                        std::fflush(stdout);
                    }
                }
            }
        }
        for (const auto &[name, member] : names)
            std::printf("%s=%g ", qPrintable(name), weights.*member);
        std::printf("\n");
        for (const QList<Sample> &sample : samples)
            print("best", measure(index, sample, &weights));
        return 0;
    }
    const QList<Sample> samples = readSample(rest.value(0));
    print(qPrintable(rest.value(0)),
          measure(index, samples, weighted ? &weights : nullptr,
                  qEnvironmentVariableIsSet("RANKING_MISSES")));
    return 0;
}
