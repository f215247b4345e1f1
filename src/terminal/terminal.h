#pragma once

#include <QStringList>

#include <cstdio>

// Answers from the built-in dictionary for a terminal or a script: no window, no display, no
// settings file and no running copy are involved.
namespace Terminal {

enum class Format { Text, Json };

// Looks each input up and prints its answer on out: as the answer view shows it (text) or as one
// line of JSON. The single input "-" reads one input a line from in until its end instead.
// Gives the exit status: 0 when every input found something, 1 when one found nothing, 2 when
// the dictionary's index can't be read (the reason then goes to err).
// Text's pinyin is coloured by tone when colour is "always", or "auto" with out a terminal and
// NO_COLOR unset.
int run(Format format, const QStringList &inputs, std::FILE *in, std::FILE *out, std::FILE *err,
        const QString &colour = QStringLiteral("auto"));

// The width to wrap text in: the terminal's when out is one, else $COLUMNS, else 80.
int width(std::FILE *out);

} // namespace Terminal
