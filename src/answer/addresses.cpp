#include "answer/answerpage.h"

#include "lookup/answer.h"
#include "lookup/lookup.h"

#include <QUrl>
#include <QUrlQuery>

namespace {

const QString scheme = QStringLiteral("tavrel");

QString queryValue(const QUrl &address, const QString &key)
{
    return QUrl::fromPercentEncoding(
        QUrlQuery(address).queryItemValue(key, QUrl::FullyEncoded).toLatin1());
}

} // namespace

namespace AnswerPage {

bool isAnswerAddress(const QString &address)
{
    return address.startsWith(scheme + u':', Qt::CaseInsensitive);
}

QUrl addressOf(const QString &word)
{
    QUrl address;
    address.setScheme(scheme);
    address.setPath(word, QUrl::DecodedMode);
    // Written out, as a link is, a path that starts with "//" would read as a host and the word
    // would be lost: its first slash is written encoded, which reads back as the same word.
    if (word.startsWith(QLatin1String("//")))
        address.setPath(QStringLiteral("%2F") + address.path(QUrl::FullyEncoded).mid(1),
                        QUrl::TolerantMode);
    return address;
}

QUrl addressOfRequest(const QString &address)
{
    return addressOf(address.mid(address.indexOf(u':') + 1));
}

QString wordOf(const QUrl &address) { return address.path(QUrl::FullyDecoded); }

QUrl fallbackAddressOf(const QString &word, const QString &site, const QString &reason)
{
    QUrl address = addressOf(word);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("unreachable"),
                       QString::fromLatin1(QUrl::toPercentEncoding(site)));
    query.addQueryItem(QStringLiteral("reason"),
                       QString::fromLatin1(QUrl::toPercentEncoding(reason)));
    address.setQuery(query);
    return address;
}

QString siteOf(const QUrl &address) { return queryValue(address, QStringLiteral("unreachable")); }

QString reasonOf(const QUrl &address) { return queryValue(address, QStringLiteral("reason")); }

bool isSpeakerAddress(const QUrl &address)
{
    return address.scheme() == QLatin1String("tavrel-say");
}

QUrl speakerAddress(const Speaker &speaker)
{
    QUrl address;
    address.setScheme(QStringLiteral("tavrel-say"));
    QUrlQuery query;
    query.addQueryItem(speaker.english ? QStringLiteral("english") : QStringLiteral("pinyin"),
                       QString::fromLatin1(QUrl::toPercentEncoding(speaker.text)));
    query.addQueryItem(QStringLiteral("word"),
                       QString::fromLatin1(QUrl::toPercentEncoding(speaker.word)));
    address.setQuery(query);
    return address;
}

Speaker speakerOf(const QUrl &address)
{
    if (!isSpeakerAddress(address))
        return {};
    const bool english = QUrlQuery(address).hasQueryItem(QStringLiteral("english"));
    return {queryValue(address, english ? QStringLiteral("english") : QStringLiteral("pinyin")),
            english, queryValue(address, QStringLiteral("word"))};
}

Speaker firstSpeaker(const Dictionary::Answer &answer)
{
    if (answer.groups.isEmpty())
        return {};
    const Dictionary::Group &first = answer.groups.first();
    if (first.reading == Dictionary::Reading::EnglishChinese)
        return answer.englishChinese.found() ? Speaker {answer.input, true, answer.input}
                                             : Speaker();
    if (first.reading == Dictionary::Reading::English)
        return first.entries.isEmpty() ? Speaker() : Speaker {answer.input, true, answer.input};
    if (!first.entries.isEmpty())
        return entrySpeaker(first.entries.first());
    for (const Dictionary::Word &word : first.words) {
        if (!word.entries.isEmpty())
            return entrySpeaker(word.entries.first());
    }
    return {};
}

Dictionary::Answer answerFor(const QString &word)
{
    return word.trimmed().isEmpty() ? Dictionary::Answer() : Dictionary::lookUp(word);
}

Speaker entrySpeaker(const Dictionary::Entry &entry)
{
    return {entry.numberedPinyin, false, entry.simplified};
}

} // namespace AnswerPage
