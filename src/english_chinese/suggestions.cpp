#include "english_chinese/suggestions.h"

#include "english_chinese/format.h"
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryFile>

#include <hunspell/hunspell.h>

#include <memory>
#include <set>

namespace EnglishChinese {

namespace {

// Debian's hunspell-en-us.
const char spellingDictionary[] = "/usr/share/hunspell/en_US";

QString affixPath() { return QString::fromLatin1(spellingDictionary) + QStringLiteral(".aff"); }
QString wordsPath() { return QString::fromLatin1(spellingDictionary) + QStringLiteral(".dic"); }

// Hunspell's search in two steps. Its n-gram search compares the word with the whole word list
// and takes some 60 ms a word, ten times what the close edits (a letter left out, doubled,
// swapped, ...) take; so the close edits come first, from a copy of the rules with the n-gram
// search turned off, and the whole search only when they find no word with an entry.
class Speller
{
public:
    ~Speller()
    {
        for (Hunhandle *handle : {m_quick, m_thorough})
            if (handle)
                Hunspell_destroy(handle);
    }

    std::vector<std::string> suggest(const QByteArray &word, bool thorough)
    {
        Hunhandle *handle = thorough ? thoroughHandle() : quickHandle();
        std::vector<std::string> result;
        if (!handle)
            return result;
        char **list = nullptr;
        const int count = Hunspell_suggest(handle, &list, word.constData());
        for (int i = 0; i < count; ++i)
            result.emplace_back(list[i]);
        Hunspell_free_list(handle, &list, count);
        return result;
    }

    QMutex mutex; // Hunspell is not safe to use from two threads at once

private:
    Hunhandle *quickHandle()
    {
        if (m_triedQuick)
            return m_quick;
        m_triedQuick = true;
        QFile rules(affixPath());
        QTemporaryFile quick(QDir::temp().filePath(QStringLiteral("tavrel-spelling-XXXXXX.aff")));
        if (!rules.open(QIODevice::ReadOnly) || !quick.open())
            return nullptr;
        for (const QByteArray &line : rules.readAll().split('\n'))
            if (!line.startsWith("MAXNGRAMSUGS"))
                quick.write(line + '\n');
        quick.write("MAXNGRAMSUGS 0\n");
        if (!quick.flush())
            return nullptr;
        // Hunspell has read the rules once it is made; the copy goes with the QTemporaryFile.
        m_quick = Hunspell_create(QFile::encodeName(quick.fileName()).constData(),
                                  QFile::encodeName(wordsPath()).constData());
        return m_quick;
    }

    Hunhandle *thoroughHandle()
    {
        if (!m_triedThorough && spellingAvailable())
            m_thorough = Hunspell_create(QFile::encodeName(affixPath()).constData(),
                                         QFile::encodeName(wordsPath()).constData());
        m_triedThorough = true;
        return m_thorough;
    }

    bool m_triedQuick = false;
    bool m_triedThorough = false;
    Hunhandle *m_quick = nullptr;
    Hunhandle *m_thorough = nullptr;
};

Speller &speller()
{
    static Speller instance;
    return instance;
}

// Hunspell's own limit on a word's length; a longer input is no misspelt word.
constexpr int longestWord = 100;

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
    if (typed.isEmpty() || typed.size() > longestWord || max <= 0 || !index.isOpen()
        || !spellingAvailable())
        return {};
    const QByteArray utf8 = typed.toUtf8(); // the American English dictionary is in UTF-8
    QStringList result;
    std::set<std::string> seen {Format::key(utf8.toStdString())};
    Speller &state = speller();
    QMutexLocker lock(&state.mutex);
    for (const bool thorough : {false, true}) {
        for (const std::string &candidate : state.suggest(utf8, thorough)) {
            if (!seen.insert(Format::key(candidate)).second)
                continue;
            const auto [first, last] = index.find(candidate);
            if (first == last)
                continue;
            result << QString::fromUtf8(candidate.data(), int(candidate.size()));
            if (result.size() == max)
                return result;
        }
        if (!result.isEmpty())
            break;
    }
    return result;
}

} // namespace EnglishChinese
