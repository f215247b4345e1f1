#include "english_chinese/spellings.h"

#include "english_chinese/lookup.h"

#include <QCoreApplication>

namespace EnglishChinese {

namespace {

// How much an entry has to say: what decides which of a word's spellings is shown.
int richness(const Entry &entry)
{
    return int(entry.translations.size() + entry.definition.size() + entry.forms.size()
               + entry.tags.size())
        + entry.collins + (entry.oxford ? 1 : 0) + (entry.phonetic.isEmpty() ? 0 : 1)
        + (entry.onlyAForm ? -100 : 0);
}

} // namespace

QString alsoWrittenLine(const Entry &entry)
{
    if (entry.alsoWritten.isEmpty())
        return {};
    return QCoreApplication::translate("EnglishChinese", "Also written: %1")
        .arg(entry.alsoWritten.join(QStringLiteral(", ")));
}

QString spellingKey(const QString &word)
{
    QString key;
    for (const QChar c : word)
        if (c != u' ' && c != u'-')
            key += c.toLower();
    return key;
}

void foldSpellings(Result &result, const QString &input)
{
    QList<Entry> folded;
    QList<bool> done(result.own.size(), false);
    for (qsizetype i = 0; i < result.own.size(); ++i) {
        if (done[i])
            continue;
        const QString key = spellingKey(result.own[i].word);
        QList<qsizetype> same;
        for (qsizetype j = i; j < result.own.size(); ++j)
            if (!done[j] && spellingKey(result.own[j].word) == key)
                same << j;
        qsizetype shown = same.first();
        for (qsizetype j : same)
            if (result.own[j].word == input.trimmed()) {
                shown = j;
                break;
            } else if (result.own[shown].word != input.trimmed()
                       && richness(result.own[j]) > richness(result.own[shown])) {
                shown = j;
            }
        Entry entry = result.own[shown];
        for (qsizetype j : same) {
            done[j] = true;
            if (j == shown)
                continue;
            entry.alsoWritten << result.own[j].word;
            for (const QString &line : result.own[j].translations)
                if (!entry.translations.contains(line))
                    entry.translations << line;
        }
        folded << entry;
    }
    result.own = folded;
}

} // namespace EnglishChinese
