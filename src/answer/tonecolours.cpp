#include "answer/tonecolours.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace ToneColours {

QColor Palette::colour(int tone) const
{
    return tone >= 1 && tone <= neutralTone ? colours[size_t(tone - 1)] : QColor();
}

Palette palette(Scheme scheme)
{
    switch (scheme) {
    case Scheme::Default:
        return {scheme,
                {QColor(0xE3, 0x00, 0x00), QColor(0x02, 0xB3, 0x1C), QColor(0x15, 0x10, 0xF0),
                 QColor(0x89, 0x00, 0xBF), QColor(0x77, 0x77, 0x77)}};
    case Scheme::ColourBlindSafe:
        // Okabe and Ito's colours, told apart under every common colour-vision deficiency:
        // vermillion, bluish green, blue, reddish purple; black for the neutral tone.
        return {scheme,
                {QColor(0xD5, 0x5E, 0x00), QColor(0x00, 0x9E, 0x73), QColor(0x00, 0x72, 0xB2),
                 QColor(0xCC, 0x79, 0xA7), QColor(0x00, 0x00, 0x00)}};
    case Scheme::None:
        break;
    }
    return {Scheme::None, {}};
}

QString schemeCaption(Scheme scheme)
{
    switch (scheme) {
    case Scheme::Default: return QCoreApplication::translate("ToneColours", "Default");
    case Scheme::ColourBlindSafe:
        return QCoreApplication::translate("ToneColours", "Colour-blind safe");
    case Scheme::None: break;
    }
    return QCoreApplication::translate("ToneColours", "None");
}

QString schemeKey(Scheme scheme)
{
    switch (scheme) {
    case Scheme::Default: return QStringLiteral("default");
    case Scheme::ColourBlindSafe: return QStringLiteral("colour-blind-safe");
    case Scheme::None: break;
    }
    return QStringLiteral("none");
}

std::optional<Scheme> schemeFromKey(QStringView key)
{
    for (const Scheme scheme : {Scheme::Default, Scheme::ColourBlindSafe, Scheme::None})
        if (key == schemeKey(scheme))
            return scheme;
    return std::nullopt;
}

namespace {

QChar baseLetter(QChar c)
{
    for (QString parts = c.decomposition(); !parts.isEmpty(); parts = c.decomposition())
        c = parts.at(0);
    return c.toLower();
}

// The tone a letter's mark gives (ǎ, or the combining caron itself), 0 for none.
int markTone(QChar c)
{
    const QString parts = c.decomposition().isEmpty() ? QString(c) : c.decomposition();
    for (const QChar part : parts) {
        switch (part.unicode()) {
        case 0x0304: return 1;
        case 0x0301: return 2;
        case 0x030C: return 3;
        case 0x0300: return 4;
        default: break;
        }
    }
    return 0;
}

bool isPinyinLetter(QChar c)
{
    return (c.isLetter() && c.script() == QChar::Script_Latin) || c.isMark();
}

bool isVowel(QChar c)
{
    const QChar base = baseLetter(c);
    return c.isMark() || QStringView(u"aeiouvü").contains(base);
}

// Where the syllable of the tone mark at mark begins, after the one whose mark is at previous:
// before its vowels and its initial (one consonant, or zh, ch, sh).
qsizetype syllableStart(QStringView word, qsizetype previous, qsizetype mark)
{
    qsizetype at = mark;
    while (at > previous + 1 && isVowel(word[at - 1]))
        --at;
    if (at > previous + 1 && !isVowel(word[at - 1])) {
        --at;
        if (baseLetter(word[at]) == u'h' && at > previous + 1
            && QStringView(u"zcs").contains(baseLetter(word[at - 1])))
            --at;
    }
    return at;
}

void addWord(QStringView pinyin, qsizetype start, qsizetype end, QList<Syllable> &into)
{
    const QChar last = pinyin[end - 1];
    if (last >= u'1' && last <= u'5') {
        into.append({start, end - start, last.unicode() - u'0'});
        return;
    }
    QList<qsizetype> marks;
    for (qsizetype i = start; i < end; ++i)
        if (markTone(pinyin[i]))
            marks.append(i);
    if (marks.size() <= 1) {
        into.append({start, end - start, marks.isEmpty() ? neutralTone : markTone(pinyin[marks[0]])});
        return;
    }
    qsizetype from = start;
    for (qsizetype k = 1; k <= marks.size(); ++k) {
        const qsizetype to = k < marks.size() ? syllableStart(pinyin, marks[k - 1], marks[k]) : end;
        into.append({from, to - from, markTone(pinyin[marks[k - 1]])});
        from = to;
    }
}

} // namespace

QList<Syllable> syllables(QStringView pinyin)
{
    QList<Syllable> result;
    qsizetype between = 0; // where the text since the last syllable began
    for (qsizetype i = 0; i < pinyin.size();) {
        if (!isPinyinLetter(pinyin[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < pinyin.size()
               && (isPinyinLetter(pinyin[end]) || (pinyin[end] == u':' && end > i)))
            ++end;
        if (end < pinyin.size() && pinyin[end] >= u'1' && pinyin[end] <= u'5')
            ++end;
        if (between < i)
            result.append({between, i - between, 0});
        addWord(pinyin, i, end, result);
        i = between = end;
    }
    if (between < pinyin.size())
        result.append({between, pinyin.size() - between, 0});
    return result;
}

int toneOf(QStringView syllable)
{
    for (const Syllable &part : syllables(syllable))
        if (part.tone)
            return part.tone;
    return 0;
}

namespace {

QString span(QStringView text, int tone, const Palette &palette)
{
    const QString escaped = text.toString().toHtmlEscaped();
    if (!tone || palette.isNone() || !palette.colour(tone).isValid())
        return escaped;
    return QStringLiteral("<span class=\"tone%1\" style=\"color:%2\">%3</span>")
        .arg(tone)
        .arg(palette.colour(tone).name(), escaped);
}

} // namespace

QString pinyinHtml(QStringView pinyin, const Palette &palette)
{
    QString html;
    for (const Syllable &part : syllables(pinyin))
        html += span(pinyin.mid(part.start, part.length), part.tone, palette);
    return html;
}

QString charactersHtml(QStringView characters, QStringView pinyin, const Palette &palette,
                       const CharacterWrap &wrap)
{
    QList<int> tones;
    for (const Syllable &part : syllables(pinyin))
        if (part.tone)
            tones.append(part.tone);
    const QList<uint> codePoints = characters.toUcs4();
    const auto letters = std::count_if(codePoints.begin(), codePoints.end(),
                                       [](uint c) { return QChar::isLetter(c); });
    const bool coloured = !palette.isNone() && letters == tones.size();
    QString html;
    qsizetype next = 0;
    for (const uint c : codePoints) {
        const QString text = QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
        const bool letter = QChar::isLetter(c);
        const QString inner = coloured && letter ? span(text, tones.at(next++), palette)
                                                 : text.toHtmlEscaped();
        html += wrap && !QChar::isSpace(c) ? wrap(text, inner) : inner;
    }
    return html;
}

QString pinyinAnsi(QStringView pinyin, const Palette &palette)
{
    static const char *const terminalColours[] = {"31", "32", "34", "35", "90"};
    const bool terminals = palette == ToneColours::palette(Scheme::Default);
    QString text;
    for (const Syllable &part : syllables(pinyin)) {
        const QStringView piece = pinyin.mid(part.start, part.length);
        const QColor colour = palette.colour(part.tone);
        if (!part.tone || palette.isNone() || !colour.isValid()) {
            text += piece;
            continue;
        }
        const QString code = terminals ? QLatin1String(terminalColours[part.tone - 1])
                                       : QStringLiteral("38;2;%1;%2;%3")
                                             .arg(colour.red())
                                             .arg(colour.green())
                                             .arg(colour.blue());
        text += QStringLiteral("\x1b[%1m").arg(code);
        text += piece;
        text += QStringLiteral("\x1b[39m");
    }
    return text;
}

std::optional<ColourWhen> colourWhenFromText(QStringView value)
{
    if (value == u"auto")
        return ColourWhen::Auto;
    if (value == u"always")
        return ColourWhen::Always;
    if (value == u"never")
        return ColourWhen::Never;
    return std::nullopt;
}

bool useColour(ColourWhen when, bool outputIsTerminal, const QByteArray &noColor)
{
    switch (when) {
    case ColourWhen::Always: return true;
    case ColourWhen::Never: return false;
    case ColourWhen::Auto: break;
    }
    return outputIsTerminal && noColor.isEmpty();
}

bool useColourOnStandardOutput(ColourWhen when)
{
    return useColour(when, isatty(fileno(stdout)) != 0, qgetenv("NO_COLOR"));
}

namespace {

double luminance(const QColor &colour)
{
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor &colour, const QColor &background, double ratio)
{
    if (!colour.isValid() || contrastRatio(colour, background) >= ratio)
        return colour;
    const bool darken = luminance(background) > 0.18; // the grey both black and white suit
    float hue = 0, saturation = 0, lightness = 0;
    colour.getHslF(&hue, &saturation, &lightness);
    QColor result = colour;
    for (int step = 0; step < 100 && contrastRatio(result, background) < ratio; ++step) {
        lightness = std::clamp(lightness + (darken ? -0.01f : 0.01f), 0.0f, 1.0f);
        result = QColor::fromHslF(hue, saturation, lightness).toRgb();
    }
    return result;
}

Palette readableOn(const Palette &palette, const QColor &background, double ratio)
{
    Palette result = palette;
    for (QColor &colour : result.colours)
        colour = readableOn(colour, background, ratio);
    return result;
}

} // namespace ToneColours
