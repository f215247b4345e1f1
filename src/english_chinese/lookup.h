#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <string_view>

// The English-Chinese dictionary (ECDICT): what it says of an English word, as plain data that
// an answer shows. No widget is involved in finding it.
namespace EnglishChinese {

class Index;

struct Entry
{
    QString word; // as the data writes it: "ice cream", "Ni"
    QString phonetic; // without slashes: "'bju:tiful"
    QStringList translations; // "a. 美丽的", "[计] 运行"
    QStringList definition; // the English definition's lines
    QList<QPair<QString, QString>> forms; // ("past", "went"), ("past participle", "gone"), ...
    QStringList tags; // the exam tags spelt out: "中考", "CET-4", "GRE"
    int collins = 0; // stars, 0 to 5
    bool oxford = false; // in the Oxford 3000
    int bnc = 0; // rank in the British National Corpus, 0 when it has none
    int frq = 0; // rank in a contemporary corpus, 0 when it has none
    bool onlyAForm = false; // its translation says no more than whose form it is
    QStringList alsoWritten; // its other spellings folded into it: "ice-cream", "icecream"

    // Core vocabulary: an exam tag of middle or high school, the Oxford 3000, or three Collins
    // stars or more.
    bool core() const;
    // How common the word is: its contemporary rank, else its BNC one, 0 when it has neither.
    int rank() const;
};

inline constexpr int maxOwnEntries = 3;

// A word that a misspelt input may have meant, with the first line of its translation.
struct Suggestion
{
    QString word;
    QString translation;
};

// What the dictionary says of an input.
struct Result
{
    QString error; // why the dictionary could not be read
    QList<Entry> own; // the entries of the typed word (several where only case, hyphens or
                      // spaces tell them apart), the one written as typed first
    Entry base; // the word it is a form of, when it is one: "go" for "went"
    QString form; // what form of the base it is: "past tense", "plural", "-ing form"
    QList<Suggestion> suggestions; // on a miss of every dictionary: what it may have meant

    bool found() const { return !own.isEmpty(); }
    bool hasBase() const { return !base.word.isEmpty(); }
    // The typed word's own entries that say more than whose form it is.
    QList<Entry> shownOwn() const;
};

// The input as the dictionary looks it up: trimmed, curly apostrophes made straight.
QString normalized(const QString &input);

// The entries of input, and of the word it is a form of.
Result lookUp(const Index &index, const QString &input);

// The entry for one record of the index.
Entry entry(const Index &index, quint32 number);

// "past tense", "past tense and past participle", ... for the kind letters of the data.
QString formName(std::string_view kinds);

} // namespace EnglishChinese
