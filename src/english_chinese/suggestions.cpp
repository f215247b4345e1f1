#include "english_chinese/suggestions.h"

#include "english_chinese/format.h"
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"

#include <QFile>
#include <QMutex>

#include <hunspell/hunspell.h>

#include <memory>
#include <set>

namespace EnglishChinese {

namespace {

// Debian's hunspell-en-us.
const char spellingDictionary[] = "/usr/share/hunspell/en_US";

// Hunspell is not safe to use from two threads at once.
struct Speller
{
    QMutex mutex;
    bool tried = false;
    Hunhandle *handle = nullptr;

    ~Speller()
    {
        if (handle)
            Hunspell_destroy(handle);
    }
};

Speller &speller()
{
    static Speller instance;
    return instance;
}

QString affixPath() { return QString::fromLatin1(spellingDictionary) + QStringLiteral(".aff"); }
QString wordsPath() { return QString::fromLatin1(spellingDictionary) + QStringLiteral(".dic"); }

} // namespace

bool spellingAvailable(QString *where)
{
    if (where)
        *where = wordsPath();
    return QFile::exists(affixPath()) && QFile::exists(wordsPath());
}

QStringList suggestions(const Index &index, const QString &word, int max)
{
    const QString typed = normalized(word);
    if (typed.isEmpty() || max <= 0 || !index.isOpen())
        return {};
    std::vector<std::string> spelt;
    {
        Speller &state = speller();
        QMutexLocker lock(&state.mutex);
        if (!state.tried) {
            state.tried = true;
            if (spellingAvailable())
                state.handle = Hunspell_create(QFile::encodeName(affixPath()).constData(),
                                               QFile::encodeName(wordsPath()).constData());
        }
        if (!state.handle)
            return {};
        // The American English dictionary is in UTF-8, as its affix file says.
        char **list = nullptr;
        const int count = Hunspell_suggest(state.handle, &list, typed.toUtf8().constData());
        for (int i = 0; i < count; ++i)
            spelt.emplace_back(list[i]);
        Hunspell_free_list(state.handle, &list, count);
    }
    QStringList result;
    std::set<std::string> seen {Format::key(typed.toUtf8().toStdString())};
    for (const std::string &candidate : spelt) {
        if (!seen.insert(Format::key(candidate)).second)
            continue;
        const auto [first, last] = index.find(candidate);
        if (first == last)
            continue;
        result << QString::fromUtf8(candidate.data(), int(candidate.size()));
        if (result.size() == max)
            break;
    }
    return result;
}

} // namespace EnglishChinese
