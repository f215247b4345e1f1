#include "english_chinese/britishamerican.h"

namespace EnglishChinese {

namespace {

struct Rule
{
    const char *british;
    const char *american;
    int stem; // letters the word needs before the ending: "four" is no "for"
    QStringList after; // what may follow the ending
};

const QList<Rule> &rules()
{
    static const QList<Rule> table = {
        {"our", "or", 3, {"", "s", "ed", "ing", "ite", "ites", "able", "ful", "er", "ers"}},
        {"re", "er", 3, {"", "s"}},
        {"ise", "ize", 2, {"", "s", "d", "r", "rs"}},
        {"ising", "izing", 2, {""}},
        {"isation", "ization", 2, {"", "s"}},
        {"yse", "yze", 2, {"", "s", "d", "r", "rs"}},
        {"ysing", "yzing", 2, {""}},
        {"lled", "led", 3, {""}},
        {"lling", "ling", 3, {""}},
        {"ller", "ler", 3, {"", "s"}},
        {"ogue", "og", 3, {"", "s"}},
        {"ence", "ense", 2, {"", "s"}},
    };
    return table;
}

// The word with from, standing before one of after, made to: an empty string when it has none.
QString replaced(const QString &word, const QString &from, const QString &to, int stem,
                 const QStringList &after)
{
    for (const QString &tail : after) {
        const QString ending = from + tail;
        if (word.size() >= stem + ending.size() && word.endsWith(ending))
            return word.left(word.size() - ending.size()) + to + tail;
    }
    return {};
}

} // namespace

QStringList otherSpellings(const QString &word, const std::function<bool(const QString &)> &isWord)
{
    QStringList result;
    for (const Rule &rule : rules()) {
        const QString british = QString::fromLatin1(rule.british);
        const QString american = QString::fromLatin1(rule.american);
        for (const QString &other :
             {replaced(word, british, american, rule.stem, rule.after),
              replaced(word, american, british, rule.stem, rule.after)}) {
            if (!other.isEmpty() && other != word && !result.contains(other) && isWord(other))
                result << other;
        }
    }
    return result;
}

} // namespace EnglishChinese
