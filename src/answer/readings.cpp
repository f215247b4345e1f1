#include "answer/readings.h"

#include "english_chinese/lookup.h"

namespace AnswerText {

namespace {

QString stars(int collins)
{
    return QString(collins, QChar(0x2605)) + QString(5 - collins, QChar(0x2606));
}

} // namespace

QStringList marks(const EnglishChinese::Entry &entry)
{
    QStringList result;
    if (entry.collins > 0)
        result << QStringLiteral("Collins ") + stars(entry.collins);
    if (entry.oxford)
        result << QStringLiteral("Oxford 3000");
    return result + entry.tags;
}

QString formsLine(const EnglishChinese::Entry &entry)
{
    QStringList parts;
    for (const auto &[kind, word] : entry.forms)
        parts << kind + u' ' + word;
    return parts.join(QStringLiteral(", "));
}

} // namespace AnswerText
