#include "lookup.h"

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString buildLookupAddress(const QString &word, const QString &queryTemplate)
{
    const QString trimmedWord = trimSpaces(word);
    const QString firstChar = trimmedWord.left(1);
    QString address = trimSpaces(queryTemplate);
    // QString::replace scans left to right and never looks at what it has inserted.
    address.replace(QStringLiteral("%firstchar"), firstChar, Qt::CaseSensitive);
    address.replace(QStringLiteral("%word"), trimmedWord, Qt::CaseSensitive);
    return address;
}
