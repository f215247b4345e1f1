#pragma once

#include "answer/tonecolours.h"
#include "lookup/answer.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The built-in dictionary's answers for a terminal: as plain text, what the answer view shows
// without its links, and as JSON for scripts. Each part has its own writer, so that a reading
// with fields of its own adds a writer and leaves the others alone.
namespace AnswerFormat {

// "chinese", "english", "pinyin": the names scripts see.
QString readingKey(Dictionary::Reading reading);

// {"traditional", "simplified", "pinyin", "senses": [...], "band": 1-5 or null, "count"}; the
// senses as a reader sees them (no markup), measure words in "measureWords", and for a single
// character with stroke data its stroke count in "strokes".
QJsonObject entryJson(const Dictionary::Entry &entry);
// {"reading", "entries": [...], "more", "words": [{"text", "entries"}] for a split phrase}.
QJsonObject groupJson(const Dictionary::Group &group);
// {"input", "cut", "error" only when the index could not be read, "groups": [...]}.
QJsonObject answerJson(const Dictionary::Answer &answer);
// The answer as one line of JSON, ending in a line feed.
QByteArray jsonLine(const Dictionary::Answer &answer);

// The answer as the answer view shows it, in lines of at most width columns (Chinese characters
// take two), ending in a line feed; the pinyin's syllables in ANSI colours unless tones is none.
QString plainText(const Dictionary::Answer &answer, int width = 80,
                  const ToneColours::Palette &tones = {ToneColours::Scheme::None, {}});

} // namespace AnswerFormat

// The English-Chinese dictionary's part of an answer, as plainText() and jsonLine() put it.
namespace EnglishChinese {

struct Result;

// The result as text lines, as the page shows it without links.
QStringList textLines(const Result &result);

// The result as the JSON group "english-chinese".
QJsonObject json(const Result &result);

} // namespace EnglishChinese
