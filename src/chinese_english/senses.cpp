#include "chinese_english/senses.h"

#include "chinese_english/pinyin.h"

#include <QRegularExpression>

namespace Dictionary::Senses {

namespace {

QString toneMarks(const QString &numbered) { return Pinyin::withToneMarks(numbered.toStdString()); }

// A headword of the markup, "臺|台[tai2]", "他日[ta1 ri4]" or "臺|台", or a pinyin of its own,
// "[tai2]". A run of Chinese alone is no reference: it is only text.
const QRegularExpression &markup()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"((?<first>[^\x{0}-\x{7F}\s|\[\],;:()（），；：]+)(?:\|(?<second>[^\x{0}-\x{7F}\s|\[\],;:()（），；：]+))?(?:\[(?<pinyin>[A-Za-z:·, ]*[1-5][A-Za-z0-9:·, ]*)\])?)"
        R"(|\[(?<alone>[A-Za-z:]+[1-5](?: [A-Za-z:]+[1-5]?)*)\])"));
    return pattern;
}

} // namespace

QString Reference::text() const
{
    QString result = simplified;
    if (!traditional.isEmpty() && traditional != simplified)
        result += u' ' + traditional;
    if (!pinyin.isEmpty())
        result += QStringLiteral(" (%1)").arg(pinyin);
    return result;
}

QList<Piece> pieces(const QString &sense)
{
    QList<Piece> result;
    // Most senses refer to nothing.
    if (!sense.contains(u'|') && !sense.contains(u'[')) {
        result.append({sense, false, {}});
        return result;
    }
    auto addText = [&](const QString &text) {
        if (text.isEmpty())
            return;
        if (!result.isEmpty() && !result.last().isReference)
            result.last().text += text;
        else
            result.append({text, false, {}});
    };
    qsizetype at = 0;
    for (const QRegularExpressionMatch &match : markup().globalMatch(sense)) {
        addText(sense.mid(at, match.capturedStart() - at));
        at = match.capturedEnd();
        if (match.hasCaptured(QStringLiteral("alone"))) {
            // "also pr. [di4]": pinyin as a reader writes it.
            addText(u'[' + toneMarks(match.captured(QStringLiteral("alone"))) + u']');
            continue;
        }
        const QString first = match.captured(QStringLiteral("first"));
        const QString second = match.captured(QStringLiteral("second"));
        const QString pinyin = match.captured(QStringLiteral("pinyin"));
        if (second.isEmpty() && pinyin.isEmpty()) {
            addText(first);
            continue;
        }
        Reference reference;
        reference.traditional = first;
        reference.simplified = second.isEmpty() ? first : second;
        reference.pinyin = toneMarks(pinyin);
        result.append({reference.text(), true, reference});
    }
    addText(sense.mid(at));
    return result;
}

QString plain(const QString &sense)
{
    QString result;
    for (const Piece &piece : pieces(sense))
        result += piece.text;
    return result;
}

bool isMeasureWords(const QString &sense) { return sense.startsWith(QLatin1String("CL:")); }

QList<Reference> measureWords(const QString &sense)
{
    QList<Reference> result;
    if (!isMeasureWords(sense))
        return result;
    for (const Piece &piece : pieces(sense.mid(3)))
        if (piece.isReference)
            result.append(piece.reference);
    return result;
}

QString measureWordsLine(const QList<Reference> &words)
{
    QStringList texts;
    for (Reference word : words) {
        word.traditional.clear();
        texts << word.text();
    }
    return measureWordsTitle(words.size()) + u' ' + texts.join(QStringLiteral(", "));
}

QString measureWordsTitle(qsizetype count)
{
    // English, as the terminal shows it; marked for the page, which shows it translated.
    return QString::fromUtf8(count == 1 ? QT_TRANSLATE_NOOP("AnswerPage", "Measure word:")
                                        : QT_TRANSLATE_NOOP("AnswerPage", "Measure words:"));
}

Shown shown(const QStringList &senses)
{
    // Measure words come as a sense of their own or in parentheses after a meaning: "light; ray
    // (CL:道[dao4])".
    static const QRegularExpression noted(QStringLiteral(R"(\s*\((CL:[^()]*)\))"));
    Shown result;
    for (const QString &sense : senses) {
        const QList<Reference> words = measureWords(sense);
        if (!words.isEmpty()) {
            result.measureWords << words;
            continue;
        }
        if (!sense.contains(QLatin1String("CL:"))) {
            result.meanings << sense;
            continue;
        }
        QString meaning = sense;
        for (QRegularExpressionMatch match = noted.match(meaning); match.hasMatch();
             match = noted.match(meaning)) {
            result.measureWords << measureWords(match.captured(1));
            meaning.remove(match.capturedStart(), match.capturedLength());
        }
        if (!meaning.trimmed().isEmpty())
            result.meanings << meaning;
    }
    return result;
}

} // namespace Dictionary::Senses
