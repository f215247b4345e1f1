// Writes the built-in dictionary's index from the unpacked cc-cedict package and a word list
// with counts (jieba's dict.txt), and the counts of each reading of a character (Unihan's
// Unihan_Readings.txt, or its .bz2):
//   make_dictionary_index PACKAGE_FOLDER WORD_LIST OUTPUT [READINGS]
// PACKAGE_FOLDER holds package.json, data/all.js and data/status.json (the data's date).
#include "chinese_english/indexwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>

#include <cstdio>

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_dictionary_index: %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        std::exit(1);
    }
    return file.readAll();
}

// Debian installs Unihan's files compressed with bzip2.
static QByteArray readReadings(const QString &path)
{
    if (!path.endsWith(QLatin1String(".bz2")))
        return readAll(path);
    QProcess bzip2;
    bzip2.start(QStringLiteral("bzip2"), {QStringLiteral("-dc"), path});
    if (!bzip2.waitForFinished(-1) || bzip2.exitCode() != 0)
        return {};
    return bzip2.readAllStandardOutput();
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 4 && arguments.size() != 5) {
        std::fprintf(stderr,
                     "usage: make_dictionary_index PACKAGE_FOLDER WORD_LIST OUTPUT [READINGS]\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const QDir package(arguments.at(1));
    const QString version = QJsonDocument::fromJson(readAll(package.filePath("package.json")))
                                .object()
                                .value(QLatin1String("version"))
                                .toString();
    // "2026-01-04T16:04:33.061Z": the day is what the attribution shows.
    const QString date = QJsonDocument::fromJson(readAll(package.filePath("data/status.json")))
                             .object()
                             .value(QLatin1String("updated_at"))
                             .toString()
                             .left(10);
    if (version.isEmpty() || date.isEmpty()) {
        std::fprintf(stderr, "make_dictionary_index: no version or date in %s\n",
                     qPrintable(package.path()));
        return 1;
    }
    Dictionary::WordCounts counts = Dictionary::readWordCounts(readAll(arguments.at(2)));
    if (arguments.size() == 5) {
        counts.readings = Dictionary::ReadingFrequency::read(readReadings(arguments.at(4)));
        if (counts.readings.empty()) {
            std::fprintf(stderr, "make_dictionary_index: no kHanyuPinlu in %s\n",
                         qPrintable(arguments.at(4)));
            return 1;
        }
    }
    if (counts.counts.empty()) {
        std::fprintf(stderr, "make_dictionary_index: no word counts in %s\n",
                     qPrintable(arguments.at(2)));
        return 1;
    }
    QString error;
    const QByteArray index = Dictionary::buildIndex(readAll(package.filePath("data/all.js")),
                                                    counts, date, version, &error);
    if (index.isEmpty()) {
        std::fprintf(stderr, "make_dictionary_index: %s\n", qPrintable(error));
        return 1;
    }
    QSaveFile out(arguments.at(3));
    if (!out.open(QIODevice::WriteOnly) || out.write(index) != index.size() || !out.commit()) {
        std::fprintf(stderr, "make_dictionary_index: %s: %s\n", qPrintable(arguments.at(3)),
                     qPrintable(out.errorString()));
        return 1;
    }
    std::printf("make_dictionary_index: cc-cedict %s of %s, %zu word counts, %lld bytes, in %lld "
                "ms\n",
                qPrintable(version), qPrintable(date), counts.counts.size(),
                static_cast<long long>(index.size()), static_cast<long long>(timer.elapsed()));
    return 0;
}
