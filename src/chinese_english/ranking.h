#pragma once

#include <QtGlobal>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// How well an entry answers an English input: one score from how common its headword is and how
// its senses hold the input. The index's tool ranks single words with it when it writes the
// index, and the lookup ranks phrases with it, so both give the same order.
namespace Dictionary::Ranking {

// What each part of the score weighs; the headword's log count weighs 1. Chosen by measuring
// many common English words (tools/ranking_accuracy), not a handful of examples.
struct Weights
{
    double position = 4.0; // per log(1 + index of the matching sense)
    double part = 1.0; // per log(1 + index of the matching part within its sense, split at ";")
    double senses = 1.0; // per log of the entry's senses beyond a few
    double fewSenses = 2.0; // as many senses as an entry may have without that
    double startsWith = 6.0; // a sense that starts with the input rather than equals it
    double other = 6.0; // a sense that holds the input elsewhere
    double extraWords = 3.0; // per log(1 + words of the matching sense beyond the input)
    double label = 4.0; // the matching sense is "(literary) …", "surname …", "variant of …" …
    double name = 5.0; // a proper name (capitalised pinyin)
    double reading = 1.0; // per log of the entry's share of its headword's senses
};

// The match classes, best first; NoMatch when no sense holds the input's words.
enum Class { Equal = 1, StartsWith = 2, Other = 3, NoMatch = 4 };

// The input as the senses are compared with it.
struct Input
{
    std::vector<std::string> typed; // lower-case words, as typed
    std::vector<std::string> compared; // joined words without a leading article
    std::string rarest; // of the typed words, the one to find first in a sense
};

struct Match
{
    Class kind = NoMatch;
    bool everyday = false; // an unlabelled sense of a common word equals or starts with it
    double score = 0;
};

// The input words of text (lower case already); false when it has none to look for.
bool readInput(std::string_view text, Input &input);

// How the senses (one a line, as the index keeps them) of an entry answer input. count is its
// headword's, share the entry's share of the senses of every entry with that headword (0 to 1):
// a headword with several readings shares its count among them.
Match match(const Input &input, std::string_view senses, quint32 count, double share, bool name,
            const Weights &weights = Weights());

// The numbers of the entries kept, best first: each is kept with its score negated, so that
// the better sorts first and, of two equal scores, the lower number.
std::vector<quint32> bestFirst(std::vector<std::pair<double, quint32>> &kept);

// How many senses the data's senses (one a line) make, split at ";".
int senseCount(std::string_view senses);

// A sense that points at other entries or says what kind of word it is, rather than saying
// what it means: "surname …", "variant of …", "used in …", "see …", "CL:…".
bool isReference(std::string_view sense);
// A reference, or a sense marked "(literary)", "(archaic)", "(old)", "(classical)", "(dialect)"
// or "(bound form)": not a word to use on its own today.
bool isLabelled(std::string_view sense);
// Whether every sense (one a line) is a reference or labelled: 吗 mǎ "used in 吗啡", 台 tái
// "(classical) you (in letters); variant of 臺".
bool labelsOnly(std::string_view senses);

// Whether the data's pinyin is a proper name's: it starts with a capital.
inline bool isName(std::string_view pinyin)
{
    return !pinyin.empty() && pinyin[0] >= 'A' && pinyin[0] <= 'Z';
}

} // namespace Dictionary::Ranking
