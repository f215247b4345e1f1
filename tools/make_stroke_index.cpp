// Writes the stroke-order index from the unpacked hanzi-writer-data package:
//   make_stroke_index PACKAGE_FOLDER OUTPUT
// PACKAGE_FOLDER holds package.json and one JSON file per character, named for it, with its
// strokes' outlines, their medians and the radical's strokes.
#include "strokes/indexwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cstdio>

namespace {

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "make_stroke_index: %s\n", qPrintable(what));
    std::exit(1);
}

Strokes::SourceCharacter read(const QString &path, char32_t codePoint)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path + QStringLiteral(": ") + file.errorString());
    QJsonParseError error;
    const QJsonObject data = QJsonDocument::fromJson(file.readAll(), &error).object();
    if (error.error != QJsonParseError::NoError)
        fail(path + QStringLiteral(": ") + error.errorString());
    Strokes::SourceCharacter character;
    character.codePoint = codePoint;
    for (const QJsonValue &outline : data.value(QLatin1String("strokes")).toArray())
        character.outlines.append(outline.toString().toLatin1());
    for (const QJsonValue &median : data.value(QLatin1String("medians")).toArray()) {
        QList<QPoint> points;
        for (const QJsonValue &point : median.toArray())
            points.append(QPoint(qRound(point.toArray().at(0).toDouble()),
                                 qRound(point.toArray().at(1).toDouble())));
        character.medians.append(points);
    }
    for (const QJsonValue &stroke : data.value(QLatin1String("radStrokes")).toArray())
        character.radicalStrokes.append(stroke.toInt());
    return character;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: make_stroke_index PACKAGE_FOLDER OUTPUT\n");
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

    std::vector<Strokes::SourceCharacter> characters;
    qint64 jsonBytes = 0;
    // The characters' files are those named for one character; the package's own are not.
    const QFileInfoList files = package.entryInfoList({QStringLiteral("*.json")}, QDir::Files);
    for (const QFileInfo &info : files) {
        const QList<uint> name = info.completeBaseName().toUcs4();
        if (name.size() != 1 || name.at(0) < 0x80)
            continue;
        characters.push_back(read(info.filePath(), char32_t(name.at(0))));
        jsonBytes += info.size();
    }
    if (characters.empty())
        fail(package.path() + QStringLiteral(": no character's file"));
    // The data carries no date of its own; the manifest's, as the package keeps it, stands for it.
    const QString date = QFileInfo(manifest).lastModified().toUTC().toString(Qt::ISODate).left(10);
    QString why;
    const QByteArray index = Strokes::buildIndex(characters, date, version, &why);
    if (index.isEmpty())
        fail(why);
    QSaveFile out(arguments.at(2));
    if (!out.open(QIODevice::WriteOnly) || out.write(index) != index.size() || !out.commit())
        fail(arguments.at(2) + QStringLiteral(": ") + out.errorString());
    std::printf("make_stroke_index: hanzi-writer-data %s, %zu characters, %lld bytes of JSON "
                "into %lld bytes, in %lld ms\n",
                qPrintable(version), characters.size(), static_cast<long long>(jsonBytes),
                static_cast<long long>(index.size()), static_cast<long long>(timer.elapsed()));
    return 0;
}
