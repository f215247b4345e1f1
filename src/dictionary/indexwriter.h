#pragma once

#include <QByteArray>
#include <QString>

namespace Dictionary {

// The index file for the data of cc-cedict's data/all.js ("export default " and a JSON object
// whose "all" holds [traditional, simplified, pinyin, senses, ...] arrays). dataDate and
// dataVersion go into the header. An empty result and *error when the data cannot be read.
QByteArray buildIndex(const QByteArray &allJs, const QString &dataDate, const QString &dataVersion,
                      QString *error = nullptr);

} // namespace Dictionary
