// Measures how often a polyphonic character's answer shows its commonest reading first:
//   reading_order INDEX UNIHAN_READINGS [--misses]
// UNIHAN_READINGS is Unihan_Readings.txt (or its .bz2, as Debian's unicode-data installs it).
// The characters counted are those of kHanyuPinlu whose commonest reading is used at least twice
// as often as the next, and at least 50 times; with --misses, those that show another first.
// Counted apart: those whose entries have that reading at all, and those the dictionary gives two
// readings or more (the polyphonic ones, where the order is a choice).
#include "chinese_english/index.h"
#include "chinese_english/lookup.h"
#include "chinese_english/readingfrequency.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSet>

#include <algorithm>
#include <cstdio>

static QByteArray readReadings(const QString &path)
{
    if (path.endsWith(QLatin1String(".bz2"))) {
        QProcess bzip2;
        bzip2.start(QStringLiteral("bzip2"), {QStringLiteral("-dc"), path});
        bzip2.waitForFinished(-1);
        return bzip2.exitCode() == 0 ? bzip2.readAllStandardOutput() : QByteArray();
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: reading_order INDEX UNIHAN_READINGS [--misses]\n");
        return 2;
    }
    const bool misses = arguments.contains(QLatin1String("--misses"));
    const auto table = Dictionary::ReadingFrequency::read(readReadings(arguments.at(2)));
    if (table.empty()) {
        std::fprintf(stderr, "reading_order: no kHanyuPinlu in %s\n", qPrintable(arguments.at(2)));
        return 1;
    }
    const Dictionary::Index index(arguments.at(1));
    if (!index.isOpen()) {
        std::fprintf(stderr, "reading_order: %s\n", qPrintable(index.errorString()));
        return 1;
    }
    // Also counted apart: the characters whose entries have the commonest reading at all (the
    // dictionary writes 诉 only as sù, never as the su of 告诉).
    int counted = 0, first = 0, withReading = 0, polyphonic = 0, polyphonicFirst = 0;
    for (const auto &[character, readings] : table) {
        if (readings.size() < 2 || readings[0].second < 50
            || readings[0].second < 2 * readings[1].second)
            continue;
        const Dictionary::Result answer
            = Dictionary::lookUp(index, QString::fromStdString(character));
        if (answer.groups.isEmpty() || answer.groups.first().entries.isEmpty())
            continue; // the dictionary lacks the character: nothing shown to measure
        ++counted;
        const QString commonest = QString::fromStdString(readings[0].first);
        const QList<Dictionary::Entry> &entries = answer.groups.first().entries;
        QSet<QString> readingsShown;
        for (const Dictionary::Entry &entry : entries)
            readingsShown.insert(entry.pinyin.toLower());
        if (std::any_of(entries.begin(), entries.end(), [&](const Dictionary::Entry &entry) {
                return entry.pinyin.toLower() == commonest;
            }))
            ++withReading;
        const QString shown = entries.first().pinyin.toLower();
        if (readingsShown.size() > 1) {
            ++polyphonic;
            polyphonicFirst += shown == commonest;
        }
        if (shown == commonest)
            ++first;
        else if (misses)
            std::printf("%s\tshows %s\tcommonest %s(%u)\n", character.c_str(), qPrintable(shown),
                        readings[0].first.c_str(), readings[0].second);
    }
    std::printf("commonest reading first: %.1f %% (%d of %d characters)\n",
                counted ? 100.0 * first / counted : 0.0, first, counted);
    std::printf("of those whose entries have it: %.1f %% (%d of %d)\n",
                withReading ? 100.0 * first / withReading : 0.0, first, withReading);
    std::printf("of those the dictionary reads two ways or more: %.1f %% (%d of %d)\n",
                polyphonic ? 100.0 * polyphonicFirst / polyphonic : 0.0, polyphonicFirst,
                polyphonic);
    return 0;
}
