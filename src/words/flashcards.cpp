#include "flashcards.h"

#include "store.h"

#include <QSaveFile>

namespace Words::Flashcards {

QString field(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe) {
        if (c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    if (safe.contains(u'"') || safe.startsWith(u'#'))
        safe = u'"' + safe.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    return safe;
}

QString text(const QList<Favourite> &favourites)
{
    QString file
        = QStringLiteral("#separator:tab\n#html:false\n#columns:Front\tReading\tMeaning\n");
    for (const Favourite &favourite : favourites) {
        file += field(favourite.word) + u'\t' + field(favourite.reading) + u'\t'
            + field(favourite.senses.join(QStringLiteral("; "))) + u'\n';
    }
    return file;
}

bool write(const QString &path, const QList<Favourite> &favourites, QString *error)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write shows in write()'s count rather than in a file committed
    // short.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = text(favourites).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace Words::Flashcards
