#pragma once

#include <QList>
#include <QString>

namespace Dictionary {
struct Completion;
}

namespace Words {

class Store;
struct HistoryItem;

// One line of the list under the word box.
struct Suggestion
{
    QString text; // what goes into the word box
    QString detail; // shown beside it: the pinyin of a Chinese headword
    bool fromHistory = false;

    bool operator==(const Suggestion &other) const
    {
        return text == other.text && detail == other.detail && other.fromHistory == fromHistory;
    }
};

inline constexpr int maxSuggestions = 10;

// The list for what has been typed: the history's inputs that start with it, most looked-up
// first, then the dictionary's headwords, most common first; each text once (letter case
// ignored), the typed text itself never, and at most limit.
QList<Suggestion> rank(const QString &typed, const QList<HistoryItem> &history,
                       const QList<Dictionary::Completion> &dictionary, int limit = maxSuggestions);

// The same from the store (when there is one) and the program's dictionary.
QList<Suggestion> suggest(const Store *store, const QString &typed, int limit = maxSuggestions);

} // namespace Words
