// The settings file, which any editor can change: its bytes, read as start-up reads them, give
// the query template; and a template saved comes back as it was.
#include "fuzzing.h"
#include "preferences/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString tag = QStringLiteral("Chinese");

QString settingsPath()
{
    // In memory where there is such a folder: every input is written and saved once.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/tavrel-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/tavrel-fuzz-XXXXXX"));
    return folder.filePath(QStringLiteral("tavrel.xml"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = Fuzzing::bytes(data, size);
    const QString path = settingsPath();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
    }
    const QString before = QStringLiteral("before");
    QString content = before;
    const bool read = SettingsFile::readTextFile(path, content);
    FUZZ_CHECK(read == (size > 0 && qint64(size) <= SettingsFile::MaxReadSize));
    FUZZ_CHECK(content == (read ? QString::fromUtf8(bytes) : before));

    const QString queryTemplate = SettingsFile::getTagValue(content, tag);
    FUZZ_CHECK(queryTemplate.size() <= content.size());

    // Saved and read again, the template comes back unless it holds its own closing tag.
    if (queryTemplate.contains(QStringLiteral("</chinese>"), Qt::CaseInsensitive))
        return 0;
    const QString document = SettingsFile::buildSettingsXml(queryTemplate);
    FUZZ_CHECK(SettingsFile::getTagValue(document, tag) == queryTemplate);
    FUZZ_CHECK(SettingsFile::writeTextFile(path, document));
    QString saved;
    FUZZ_CHECK(SettingsFile::readTextFile(path, saved));
    FUZZ_CHECK(SettingsFile::getTagValue(saved, tag) == queryTemplate);
    return 0;
}
