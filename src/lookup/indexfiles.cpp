#include "lookup/indexfiles.h"
#include "lookup/lookup.h"

#include "chinese_english/index.h"
#include "english_chinese/index.h"
#include "program/application.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

#include <algorithm>
#include <memory>

#ifndef TAVREL_DICTIONARY_INSTALLED
#define TAVREL_DICTIONARY_INSTALLED "../share/TavrelDictionary"
#endif

namespace Dictionary {

namespace {

// An index the program maps once and keeps: the one a test or the benchmark named, else the
// program's own, looked for again on each lookup until it opens.
template <typename IndexType> struct Kept
{
    explicit Kept(const char *name)
        : fileName(name)
    { }

    const char *fileName;
    QString path; // set by setIndexPath, else empty
    std::unique_ptr<IndexType> index; // once one has opened
    QString missing; // where it was looked for in vain

    const IndexType &open()
    {
        if (index && index->isOpen())
            return *index;
        missing.clear();
        QString found = path;
        if (found.isEmpty()) {
            found = foundIndexFile(QLatin1String(fileName));
            if (found.isEmpty()) {
                missing = QStringLiteral("The %1 %2 was not found in:\n%3")
                              .arg(QLatin1String(IndexType::description), QLatin1String(fileName),
                                   indexFilePlaces(QLatin1String(fileName)).join(u'\n'));
                index = std::make_unique<IndexType>();
                return *index;
            }
        }
        index = std::make_unique<IndexType>(found);
        return *index;
    }
};

struct Shared
{
    QMutex mutex;
    Kept<Index> chineseEnglish = Kept<Index>("cc-cedict.idx");
    Kept<EnglishChinese::Index> englishChinese = Kept<EnglishChinese::Index>("ecdict.idx");
};

Shared &shared()
{
    static Shared instance;
    return instance;
}

// The program's Chinese-English index, opened on first use; null, with the reason, when it
// can't be read. The caller holds the mutex.
const Index *sharedIndex(Shared &state, QString *error)
{
    const Index &index = state.chineseEnglish.open();
    if (!state.chineseEnglish.missing.isEmpty()) {
        *error = state.chineseEnglish.missing;
        return nullptr;
    }
    return &index;
}

} // namespace

QStringList indexFilePlaces(const QString &fileName)
{
    // The program's folder, as for its settings; tests point it elsewhere.
    const QString folder = App::Path();
    return {QDir(folder).filePath(fileName),
            QDir::cleanPath(QDir(folder).filePath(QStringLiteral(TAVREL_DICTIONARY_INSTALLED "/")
                                                  + fileName))};
}

QString foundIndexFile(const QString &fileName)
{
    const QStringList places = indexFilePlaces(fileName);
    const auto there = std::find_if(places.begin(), places.end(),
                                    [](const QString &p) { return QFileInfo::exists(p); });
    return there == places.end() ? QString() : *there;
}

Answer lookUp(const QString &input)
{
    Shared &state = shared();
    QMutexLocker lock(&state.mutex);
    const Index &chineseEnglish = state.chineseEnglish.open();
    const EnglishChinese::Index &englishChinese = state.englishChinese.open();
    Answer answer = Dictionary::lookUp(chineseEnglish, englishChinese, input);
    if (!state.chineseEnglish.missing.isEmpty())
        answer.error = state.chineseEnglish.missing;
    if (!state.englishChinese.missing.isEmpty() && !answer.englishChinese.error.isEmpty())
        answer.englishChinese.error = state.englishChinese.missing;
    return answer;
}

bool withIndex(const std::function<void(const Index &)> &use)
{
    Shared &state = shared();
    QMutexLocker lock(&state.mutex);
    QString error;
    const Index *index = sharedIndex(state, &error);
    if (!index || !index->isOpen())
        return false;
    use(*index);
    return true;
}

QList<Completion> completions(const QString &prefix, int limit)
{
    QList<Completion> result;
    withIndex([&](const Index &index) { result = completions(index, prefix, limit); });
    return result;
}

void setIndexPath(const QString &path)
{
    Shared &state = shared();
    QMutexLocker lock(&state.mutex);
    state.chineseEnglish.path = path;
    state.chineseEnglish.index.reset();
}

void setEnglishIndexPath(const QString &path)
{
    Shared &state = shared();
    QMutexLocker lock(&state.mutex);
    state.englishChinese.path = path;
    state.englishChinese.index.reset();
}

} // namespace Dictionary
