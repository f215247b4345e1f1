#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The Chinese-English dictionary (CC-CEDICT): its entries and what one lookup in it finds, as
// plain data. No widget is involved in finding it.
namespace Dictionary {

// How the input was read.
// EnglishChinese is the other dictionary's: its group stands where it goes among the others,
// and what it found is the answer's englishChinese.
enum class Reading { Chinese, English, Pinyin, EnglishChinese };

struct Entry
{
    QString traditional;
    QString simplified;
    QString pinyin; // with tone marks, syllables separated by spaces: "bīng qí lín"
    QString numberedPinyin; // as the data writes it, for speech: "bing1 qi2 lin2", "lu:4"
    QStringList senses;
    quint32 count = 0; // how often the simplified headword occurs in the word list's corpus
    int band = 0; // how common it is: 1 very common to 5 rare, 0 when the list lacks it
};

// The frequency band of a count, by its order of magnitude: 10,000 and more is very common
// (about the 1,000 commonest headwords), under 10 rare; 0 for no count.
inline int frequencyBand(quint32 count)
{
    if (count == 0)
        return 0;
    if (count >= 10000)
        return 1;
    if (count >= 1000)
        return 2;
    if (count >= 100)
        return 3;
    if (count >= 10)
        return 4;
    return 5;
}

// A band in words: "very common", "common", "less common", "uncommon", "rare"; empty for 0.
inline QString frequencyBandName(int band)
{
    static const char *const names[]
        = {"", "very common", "common", "less common", "uncommon", "rare"};
    return band > 0 && band <= 5 ? QString::fromLatin1(names[band]) : QString();
}

// One word of a Chinese phrase that is not a headword itself, in the phrase's order. Characters
// the dictionary lacks come as a word of their own with no entries.
struct Word
{
    QString text;
    QList<Entry> entries;
};

// The entries found by one reading of the input.
struct Group
{
    Reading reading = Reading::Chinese;
    QList<Entry> entries; // best first, at most maxEntries
    int more = 0; // entries found beyond those
    QList<Word> words; // Chinese only, when the input is not a headword: its words in order
    QString spelling; // English only: the word's other spelling ("color" for "colour") when it,
                      // not the input's, found the first entry
};

inline constexpr int maxEntries = 60;
inline constexpr int maxInputLength = 256;

// What the Chinese-English dictionary found for one input.
struct Result
{
    QString input; // trimmed, and cut to maxInputLength characters
    bool cut = false; // the input was longer and was cut
    QString error; // why the dictionary could not be read; no groups then
    QString dataDate; // of the dictionary's data, "2026-01-04", for the attribution
    QList<Group> groups; // Chinese input: one group; Latin input: English and pinyin, in the
                         // order to show, each only when it found something

    bool found() const
    {
        for (const Group &group : groups)
            if (!group.entries.isEmpty() || !group.words.isEmpty())
                return true;
        return false;
    }
};

} // namespace Dictionary
