#pragma once

#include <QStringList>

class QObject;

// The program's own modules (the browser engine, the sound output), which it loads only when
// they are needed: looked for beside the program and where an installation keeps them, or in
// one folder given instead, as tests do.
namespace Modules {

struct Loaded
{
    QObject *instance = nullptr; // the module's root object; null when none could be loaded
    QStringList folders; // where it was looked for
    QStringList failures; // why each folder failed
};

Loaded load(const QString &name, const QString &folder = QString());

} // namespace Modules
