#include "answer/englishchinese.h"

#include "english_chinese/lookup.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace EnglishChinese {

namespace {

QString escaped(const QString &plain) { return plain.toHtmlEscaped(); }

bool isHan(char32_t c)
{
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF);
}

QString stars(int collins)
{
    return QString(collins, QChar(0x2605)) + QString(5 - collins, QChar(0x2606));
}

QString entryHtml(const Entry &entry, const Link &link, const AfterHeadword &after)
{
    QString html = QStringLiteral("<p class=\"entry\"><span class=\"english\">%1</span>")
                       .arg(escaped(entry.word));
    if (!entry.phonetic.isEmpty())
        html += QStringLiteral(" &nbsp; <span class=\"quiet\">/%1/</span>")
                    .arg(escaped(entry.phonetic));
    if (after)
        html += after(entry);
    html += QStringLiteral("</p>");
    const QStringList entryMarks = marks(entry);
    if (!entryMarks.isEmpty())
        html += QStringLiteral("<p class=\"marks\">%1</p>")
                    .arg(escaped(entryMarks.join(QStringLiteral(" \u00b7 "))));
    for (const QString &line : entry.translations) {
        const auto [pos, rest] = partOfSpeech(line);
        html += QStringLiteral("<p class=\"translation\">");
        if (!pos.isEmpty())
            html += QStringLiteral("<span class=\"pos\">%1</span> ").arg(escaped(pos));
        html += linkedChinese(rest, link) + QStringLiteral("</p>");
    }
    if (!entry.definition.isEmpty()) {
        html += QStringLiteral("<p class=\"heading\">%1</p><p class=\"definition\">")
                    .arg(QCoreApplication::translate("EnglishChineseAnswer", "English definition"));
        QStringList lines;
        for (const QString &line : entry.definition)
            lines << escaped(line);
        html += lines.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
    }
    const QString forms = formsLine(entry);
    if (!forms.isEmpty())
        html += QStringLiteral("<p class=\"forms\">%1</p>").arg(escaped(forms));
    return html;
}

QStringList entryText(const Entry &entry)
{
    QStringList lines;
    lines << entry.word
            + (entry.phonetic.isEmpty() ? QString() : QStringLiteral("  /%1/").arg(entry.phonetic));
    const QStringList entryMarks = marks(entry);
    if (!entryMarks.isEmpty())
        lines << entryMarks.join(QStringLiteral(" \u00b7 "));
    for (const QString &line : entry.translations)
        lines << QStringLiteral("  ") + line;
    if (!entry.definition.isEmpty()) {
        lines << QStringLiteral("English definition:");
        for (const QString &line : entry.definition)
            lines << QStringLiteral("  ") + line;
    }
    const QString forms = formsLine(entry);
    if (!forms.isEmpty())
        lines << forms;
    return lines;
}

QJsonObject entryJson(const Entry &entry)
{
    QJsonObject forms;
    for (const auto &[kind, word] : entry.forms)
        forms.insert(kind, word);
    return {{QStringLiteral("word"), entry.word},
            {QStringLiteral("phonetic"), entry.phonetic},
            {QStringLiteral("translations"), QJsonArray::fromStringList(entry.translations)},
            {QStringLiteral("definition"), entry.definition.join(u'\n')},
            {QStringLiteral("forms"), forms},
            {QStringLiteral("tags"), QJsonArray::fromStringList(entry.tags)},
            {QStringLiteral("collins"), entry.collins},
            {QStringLiteral("oxford"), entry.oxford}};
}

} // namespace

std::pair<QString, QString> partOfSpeech(const QString &line)
{
    // "n.", "vt.", "adj.", "abbr.": a few lower-case letters and a full stop, then a space.
    int at = 0;
    while (at < line.size() && at < 8 && line.at(at).isLower() && line.at(at).unicode() < 0x80)
        ++at;
    if (at == 0 || at >= line.size() || line.at(at) != u'.'
        || (at + 1 < line.size() && !line.at(at + 1).isSpace() && line.at(at + 1).unicode() < 0x80))
        return {QString(), line};
    return {line.left(at + 1), line.mid(at + 1).trimmed()};
}

QString linkedChinese(const QString &line, const Link &link)
{
    QString html;
    const std::u32string text = line.toStdU32String();
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        if (text[at] == U'[') {
            // A subject label ("[计]") stays as it is.
            end = std::min(text.find(U']', at), text.size() - 1) + 1;
            html += escaped(QString::fromStdU32String(text.substr(at, end - at)));
            at = end;
            continue;
        }
        const bool han = isHan(text[at]);
        while (end < text.size() && isHan(text[end]) == han && (han || text[end] != U'['))
            ++end;
        const QString part = QString::fromStdU32String(text.substr(at, end - at));
        html += han ? link(part, escaped(part)) : escaped(part);
        at = end;
    }
    return html;
}

QStringList marks(const Entry &entry)
{
    QStringList result;
    if (entry.collins > 0)
        result << QStringLiteral("Collins ") + stars(entry.collins);
    if (entry.oxford)
        result << QStringLiteral("Oxford 3000");
    return result + entry.tags;
}

QString formsLine(const Entry &entry)
{
    QStringList parts;
    for (const auto &[kind, word] : entry.forms)
        parts << kind + u' ' + word;
    return parts.join(QStringLiteral(", "));
}

QString styleSheet()
{
    return QStringLiteral("span.english { font-size: x-large; font-weight: bold }"
                          "p.marks { color: #555; margin-top: 0px }"
                          "p.translation { margin-top: 2px; margin-bottom: 2px }"
                          "span.pos { color: #555; font-style: italic }"
                          "p.heading { font-size: small; font-weight: bold; color: #555;"
                          " margin-top: 8px; margin-bottom: 0px }"
                          "p.definition { margin-top: 2px }"
                          "p.form { margin-top: 10px }");
}

QString html(const Result &result, const Link &link, const AfterHeadword &after)
{
    if (!result.error.isEmpty())
        return QStringLiteral("<p>%1</p>")
            .arg(QCoreApplication::translate("EnglishChineseAnswer",
                                             "The English–Chinese dictionary could not be read: %1")
                     .arg(escaped(result.error)));
    QString html;
    for (const Entry &entry : result.shownOwn())
        html += entryHtml(entry, link, after);
    if (result.hasBase()) {
        if (result.shownOwn().isEmpty() && result.found()) {
            // The typed word says only whose form it is: its headword and sound, then that.
            Entry heading = result.own.first();
            heading.translations.clear();
            heading.definition.clear();
            heading.forms.clear();
            html += entryHtml(heading, link, after);
        }
        html += QStringLiteral("<p class=\"form\">%1 of %2</p>")
                    .arg(escaped(result.form), link(result.base.word, escaped(result.base.word)));
        html += entryHtml(result.base, link, after);
    }
    if (!result.suggestions.isEmpty()) {
        html += QStringLiteral("<p>%1</p><ul>")
                    .arg(QCoreApplication::translate("EnglishChineseAnswer", "Did you mean:"));
        for (const Suggestion &suggestion : result.suggestions)
            html += QStringLiteral("<li>%1 &nbsp; <span class=\"quiet\">%2</span></li>")
                        .arg(link(suggestion.word, escaped(suggestion.word)),
                             escaped(suggestion.translation));
        html += QStringLiteral("</ul>");
    }
    return html;
}

QStringList textLines(const Result &result)
{
    if (!result.error.isEmpty())
        return {QStringLiteral("The English\u2013Chinese dictionary could not be read: ")
                + result.error};
    QStringList lines;
    for (const Entry &entry : result.shownOwn())
        lines << entryText(entry);
    if (result.hasBase()) {
        if (result.shownOwn().isEmpty() && result.found())
            lines << entryText(result.own.first()).first();
        lines << result.form + QStringLiteral(" of ") + result.base.word;
        lines << entryText(result.base);
    }
    if (!result.suggestions.isEmpty()) {
        lines << QStringLiteral("Did you mean:");
        for (const Suggestion &suggestion : result.suggestions)
            lines << QStringLiteral("  ") + suggestion.word + QStringLiteral("  ")
                    + suggestion.translation;
    }
    return lines;
}

QJsonObject json(const Result &result)
{
    QJsonArray entries;
    for (const Entry &entry : result.shownOwn())
        entries.append(entryJson(entry));
    if (result.hasBase())
        entries.append(entryJson(result.base));
    QJsonObject group {{QStringLiteral("reading"), QStringLiteral("english-chinese")},
                       {QStringLiteral("entries"), entries}};
    if (result.hasBase())
        group.insert(QStringLiteral("base"),
                     QJsonObject {{QStringLiteral("word"), result.base.word},
                                  {QStringLiteral("form"), result.form}});
    if (!result.found()) {
        QJsonArray words;
        for (const Suggestion &suggestion : result.suggestions)
            words.append(suggestion.word);
        group.insert(QStringLiteral("suggestions"), words);
    }
    if (!result.error.isEmpty())
        group.insert(QStringLiteral("error"), result.error);
    return group;
}

} // namespace EnglishChinese
