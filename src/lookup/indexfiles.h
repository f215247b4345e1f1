#pragma once

#include <QStringList>

namespace Dictionary {

// Where the program's index file named fileName is looked for, in order: beside the program in
// the build tree, then where an installation keeps the indexes.
QStringList indexFilePlaces(const QString &fileName);

// The first of indexFilePlaces() that exists; empty when none does.
QString foundIndexFile(const QString &fileName);

} // namespace Dictionary
