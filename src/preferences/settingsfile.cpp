#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SettingsFile {

namespace {

const QString lineEnd = QStringLiteral("\r\n");

bool statPath(const QString &path, struct stat &info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

void createFolderIfMissing(const QString &path)
{
    const QFileInfo entry(path);
    if (entry.exists() || entry.isSymLink())
        return;
    QDir().mkdir(path);
}

bool isPresent(const QString &path)
{
    struct stat info;
    return statPath(path, info) && S_ISREG(info.st_mode);
}

bool readTextFile(const QString &path, QString &content)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MaxReadSize) {
        ::close(fd);
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    // The file may grow after the size check; one byte more than allowed tells that it did.
    const QByteArray bytes = file.read(MaxReadSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.isEmpty() || bytes.size() > MaxReadSize)
        return false;
    content = QString::fromUtf8(bytes);
    return true;
}

namespace {

// Letter case is that of the file's narrow code page: A to Z only. Unicode case folding would
// also take, for one, a long s for an "s" in the tag.
QString asciiLower(const QString &text)
{
    QString lower = text;
    for (QChar &c : lower) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return lower;
}

} // namespace

QString getTagValue(const QString &content, const QString &tag)
{
    // Lowering A to Z changes no length, so positions in the lowered text are positions in
    // the content.
    const QString text = asciiLower(content);
    const QString opening = u'<' + asciiLower(tag) + u'>';
    const QString closing = QStringLiteral("</") + asciiLower(tag) + u'>';
    const qsizetype open = text.indexOf(opening);
    if (open < 0)
        return QString();
    const qsizetype close = text.indexOf(closing, open + 1);
    const qsizetype valueStart = open + opening.size();
    // For odd tag names the closing tag can begin inside the opening one: nothing lies between.
    if (close < valueStart)
        return QString();
    return content.mid(valueStart, close - valueStart);
}

QString startingTemplate(const QString &path, const QString &fallback)
{
    if (!isPresent(path))
        return fallback;
    QString content;
    readTextFile(path, content);
    return getTagValue(content, QStringLiteral("Chinese"));
}

QString buildSettingsXml(const QString &queryTemplate)
{
    const QStringList lines {
        QStringLiteral("<?xml version=\"1.0\"?>"),
        QStringLiteral("<TavrelDictionary>"),
        QStringLiteral("    <Type>Option</Type>"),
        QStringLiteral("    <Chinese>") + queryTemplate + QStringLiteral("</Chinese>"),
        QStringLiteral("</TavrelDictionary>"),
    };
    return lines.join(lineEnd);
}

bool writeTextFile(const QString &path, const QString &content, QString *error)
{
    // Root may write anywhere, so permission checks alone would let a save replace a settings
    // file its owner made read-only. The mode bits are what the user set.
    struct stat info;
    if (statPath(path, info) && S_ISREG(info.st_mode)
        && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return fail(error, QStringLiteral("%1 is read-only").arg(QDir::toNativeSeparators(path)));

    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a size limit) shows in write()'s count:
    // a buffered QSaveFile can commit a truncated file without reporting it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, file.errorString());
    const QByteArray bytes = (content + lineEnd).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.error() == QFileDevice::NoError
            ? QStringLiteral("%1 could not be written whole").arg(QDir::toNativeSeparators(path))
            : file.errorString();
        file.cancelWriting();
        return fail(error, why);
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}

} // namespace SettingsFile
