#include "suggestions.h"

#include "store.h"

#include "lookup/lookup.h"

#include <QSet>

namespace Words {

namespace {

// Spaces before the word are not part of it, as the lookup trims them; after it, they may be
// the start of the phrase's next word.
QString withoutLeadingSpaces(const QString &typed)
{
    qsizetype start = 0;
    while (start < typed.size() && typed.at(start) == u' ')
        ++start;
    return typed.mid(start);
}

} // namespace

QList<Suggestion> rank(const QString &typed, const QList<HistoryItem> &history,
                       const QList<Dictionary::Completion> &dictionary, int limit)
{
    const QString prefix = withoutLeadingSpaces(typed);
    QList<Suggestion> result;
    if (prefix.trimmed().isEmpty())
        return result;
    QSet<QString> seen {prefix.trimmed().toCaseFolded()};
    const auto add = [&](const QString &text, const QString &detail, bool fromHistory) {
        if (result.size() >= limit)
            return;
        const QString key = text.trimmed().toCaseFolded();
        if (seen.contains(key))
            return;
        seen.insert(key);
        result.append({text, detail, fromHistory});
    };
    for (const HistoryItem &item : history)
        add(item.input, QString(), true);
    for (const Dictionary::Completion &completion : dictionary)
        add(completion.text, completion.detail, false);
    return result;
}

QList<Suggestion> suggest(const Store *store, const QString &typed, int limit)
{
    const QString prefix = withoutLeadingSpaces(typed);
    if (prefix.trimmed().isEmpty())
        return {};
    const QList<HistoryItem> history
        = store ? store->historyStartingWith(prefix, limit + 1) : QList<HistoryItem>();
    return rank(prefix, history, Dictionary::completions(prefix, limit + 1), limit);
}

} // namespace Words
