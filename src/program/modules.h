#pragma once

#include <QStringList>

#include <functional>

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

// Made on the thread that calls it, which must be the application's. When the module's
// libraries are still being read by preload(), waits for that first.
Loaded load(const QString &name, const QString &folder = QString());

// Reads the module's libraries into memory on a thread of its own, so that load() later only
// makes its root object: a module's libraries can take longer to read than the program takes to
// start. loaded runs on context's thread once they are read (or could not be), or soon when they
// were asked for before.
void preload(const QString &name, const QString &folder, QObject *context,
             const std::function<void()> &loaded);

} // namespace Modules
