#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How a sense of the data is shown. The data refers to other entries in its own markup,
// "variant of 臺|台[tai2]", "used in 嗎啡|吗啡[ma3 fei1]", "CL:個|个[ge4]"; a reader sees the
// words and their pinyin instead: "variant of 台 臺 (tái)". Plain functions, for the answer
// view and the terminal alike.
namespace Dictionary::Senses {

// A word a sense refers to.
struct Reference
{
    QString simplified;
    QString traditional;
    QString pinyin; // with tone marks; empty when the data gives none

    // "台 臺 (tái)": simplified, traditional when it differs, pinyin.
    QString text() const;
};

// A piece of a sense: text, or a reference to another word.
struct Piece
{
    QString text; // the reference's text() for a reference
    bool isReference = false;
    Reference reference;
};

QList<Piece> pieces(const QString &sense);

// The sense as a reader sees it, without markup.
QString plain(const QString &sense);

// Whether the sense lists the measure words of the entry ("CL:個|个[ge4],隻|只[zhi1]").
bool isMeasureWords(const QString &sense);
QList<Reference> measureWords(const QString &sense);
// "Measure word: 个 (gè)", "Measure words: 个 (gè), 只 (zhī)": the simplified form only.
QString measureWordsLine(const QList<Reference> &words);
// "Measure word:" or "Measure words:", for so many.
QString measureWordsTitle(qsizetype count);

// An entry's senses as shown: the meanings in order, and the measure words, which have a line
// of their own.
struct Shown
{
    QStringList meanings; // as the data writes them
    QList<Reference> measureWords;
};
Shown shown(const QStringList &senses);

} // namespace Dictionary::Senses
