#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

// The English-Chinese dictionary's part of an answer, as the answer page, the terminal's text
// and its JSON show it. Plain functions, so that what an answer says can be checked without a
// window.
namespace EnglishChinese {

struct Entry;
struct Result;

// A link to the answer for word, shown as shown (already escaped).
using Link = std::function<QString(const QString &word, const QString &shown)>;

// The part of speech a translation line starts with, and the rest: "vt." and "锯, 锯开".
std::pair<QString, QString> partOfSpeech(const QString &line);

// The line with every run of Chinese characters a link to its own answer, the rest escaped.
QString linkedChinese(const QString &line, const Link &link);

// "Collins ★★★★☆", "Oxford 3000" and the exam tags, as an entry's marks line says them.
QStringList marks(const Entry &entry);

// "past went, past participle gone, -ing going".
QString formsLine(const Entry &entry);

// What the page puts after an entry's phonetics: its speaker and star, which belong to the
// window's side of the program.
using AfterHeadword = std::function<QString(const Entry &entry)>;

// The page's rich text for the result, and the rules of its style sheet.
QString html(const Result &result, const Link &link, const AfterHeadword &after = {});
QString styleSheet();

// The result as text lines, as the page shows it without links.
QStringList textLines(const Result &result);

// The result as the JSON group "english-chinese".
QJsonObject json(const Result &result);

} // namespace EnglishChinese
