#pragma once

#include <QString>

// The settings file "tavrel.xml": five lines of UTF-8 text (no byte-order mark) ended by CR LF,
// whose first <Chinese>...</Chinese> holds the query template. Nothing here parses XML: the
// template is written and read back character for character.
namespace SettingsFile {

// A settings file larger than this is not read at all; it counts as a failed read.
constexpr qint64 MaxReadSize = 1024 * 1024;

// Creates the folder when the path names nothing; a file or folder of that name is left alone.
// A folder that cannot be created is not an error.
void createFolderIfMissing(const QString &path);

// True when the path names an ordinary file (through links). A folder, a FIFO or a device of that
// name counts as absent.
bool isPresent(const QString &path);

// Reads the whole file as UTF-8 into content, bytes that are not UTF-8 becoming replacement
// characters. False on any failure, an empty file, or anything that is not an ordinary file of
// at most MaxReadSize bytes; content is then left as it was. Never blocks on a FIFO.
bool readTextFile(const QString &path, QString &content);

// The text between the first "<tag>" and the first "</tag>" after it, the case of the letters A
// to Z ignored for both; empty when either is missing.
QString getTagValue(const QString &content, const QString &tag);

// The template to start with: the one in the settings file at path, or fallback when there is
// no such file. A file that cannot be read gives an empty template, not the fallback: the user
// had saved something, and silently replacing it would hide that.
QString startingTemplate(const QString &path, const QString &fallback);

// The settings document for a template, without the final line end.
QString buildSettingsXml(const QString &queryTemplate);

// Writes content and one CR LF as UTF-8, replacing the file only once everything is on disk, so
// a failed save leaves the old file as it was. A file the user made read-only is not replaced, and
// the folder is neither tested nor created. On failure returns false and, where asked, says why.
bool writeTextFile(const QString &path, const QString &content, QString *error = nullptr);

} // namespace SettingsFile
