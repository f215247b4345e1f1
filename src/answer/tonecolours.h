#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// Pinyin coloured by tone: which syllable has which tone, the schemes of colours, and the
// coloured text for the answer (HTML) and for a terminal (ANSI escapes). No widget involved.
namespace ToneColours {

// Tones 1 to 4, and 5 for the neutral tone; 0 for text that is no syllable (spaces,
// punctuation).
inline constexpr int neutralTone = 5;

enum class Scheme { Default, ColourBlindSafe, None };

struct Palette
{
    Scheme scheme = Scheme::Default;
    std::array<QColor, 5> colours; // tones 1-4, then neutral; invalid under None

    bool isNone() const { return scheme == Scheme::None; }
    QColor colour(int tone) const;
    bool operator==(const Palette &other) const
    {
        return scheme == other.scheme && colours == other.colours;
    }
};

// Default: the common learner's colours. ColourBlindSafe: the Okabe-Ito palette (vermillion,
// bluish green, blue, reddish purple, black). None: no colour.
Palette palette(Scheme scheme);
// How an answer colours its tones: the palette, already readable on the view's background, and
// whether the headwords' characters take their syllables' colours too.
struct Options
{
    Palette palette {Scheme::None, {}};
    bool characters = false;
};

// The scheme's caption, as the Appearance page offers it ("Default", "Colour-blind safe",
// "None"), and the key a settings file keeps it under.
QString schemeCaption(Scheme scheme);
QString schemeKey(Scheme scheme);
std::optional<Scheme> schemeFromKey(QStringView key);

struct Syllable
{
    qsizetype start = 0;
    qsizetype length = 0;
    int tone = 0; // 0 for the text between syllables
};

// The tone of one syllable, numbered ("hao3", "lu:4", "r5", "ma" neutral) or marked ("hǎo",
// "lǜ", "ma" neutral); 0 when it holds no letter.
int toneOf(QStringView syllable);
// The text cut into syllables and what lies between them, in order, covering it all. Numbered
// syllables end at their digit ("ni3hao3" is two); marked ones written together are cut before
// the initial of each tone mark after the first ("Zhōngguó" is "Zhōng" and "guó"). A neutral
// syllable written onto a toned one stays part of it.
QList<Syllable> syllables(QStringView pinyin);

// The pinyin, HTML-escaped, each syllable in a span of class "toneN" and its colour; with no
// colour, only escaped.
QString pinyinHtml(QStringView pinyin, const Palette &palette);
// The headword's characters coloured syllable by syllable along its pinyin; escaped but
// uncoloured when the two do not pair up (letters to syllables, punctuation left out). With
// wrap, each character's but white space's HTML is what wrap makes of the character and its
// coloured HTML, so that the markup does not depend on which characters are letters.
using CharacterWrap = std::function<QString(const QString &character, const QString &html)>;
QString charactersHtml(QStringView characters, QStringView pinyin, const Palette &palette,
                       const CharacterWrap &wrap = {});

// The pinyin with ANSI colour escapes around each syllable. The default scheme uses the
// terminal's own red, green, blue, magenta and grey, which its theme keeps readable; other
// palettes their exact colours (24-bit).
QString pinyinAnsi(QStringView pinyin, const Palette &palette);

// --color=auto|always|never
enum class ColourWhen { Auto, Always, Never };
std::optional<ColourWhen> colourWhenFromText(QStringView value);
// Whether to colour: always and never as they say; auto when the output is a terminal and
// NO_COLOR is unset or empty.
bool useColour(ColourWhen when, bool outputIsTerminal, const QByteArray &noColor);
// The same for the process's standard output and environment.
bool useColourOnStandardOutput(ColourWhen when);

// WCAG's contrast ratio of two colours, 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);
// The colour made darker (on a light background) or lighter (on a dark one), its hue kept,
// until it has at least the ratio against the background.
QColor readableOn(const QColor &colour, const QColor &background, double ratio = 4.5);
Palette readableOn(const Palette &palette, const QColor &background, double ratio = 4.5);

} // namespace ToneColours
