#pragma once

#include <QList>
#include <QString>

namespace Words {

struct Favourite;

// The favourites as a text file that Anki's "Import File" reads with no setting changed: UTF-8,
// header lines that name the separator (tab), plain text (no HTML) and the columns, then one note
// a line: the word, its reading, and its senses joined with "; ".
namespace Flashcards {

// A field as the file holds it: tabs and line breaks become spaces; a field with a double quote,
// or one that would start a line with "#", is quoted as CSV quotes, its quotes doubled.
QString field(const QString &text);

QString text(const QList<Favourite> &favourites);

// Writes the file whole or not at all: an existing file stays as it was when writing fails.
bool write(const QString &path, const QList<Favourite> &favourites, QString *error);

} // namespace Flashcards

} // namespace Words
