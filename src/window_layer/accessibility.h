#pragma once

class QFrame;
class QString;

// What screen readers are told about controls whose look alone says what they are.
namespace Accessibility {

// Presents the frame as a group of the controls on it, called name. Left alone, a plain frame
// passes for a window's frame, which would tell a screen reader a new window begins there.
void makeGroup(QFrame &frame, const QString &name);

} // namespace Accessibility
