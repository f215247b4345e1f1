#pragma once

#include <QList>

// The processes a program started, read from /proc, as a user's tools see them.
namespace ProcessTree {

// Every process below the given one.
QList<qint64> descendantsOf(qint64 root);

// False once the process has ended, zombies included: they only wait for their parent.
bool isRunning(qint64 pid);

// The proportional set size of the process and every process below it, in KiB: the memory the
// program costs, shared libraries split among their users.
qint64 pssKiB(qint64 root);

// Kills the process and every process below it, each by its id.
void kill(qint64 root);

} // namespace ProcessTree
