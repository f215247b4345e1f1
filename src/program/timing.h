#pragma once

#include <QLoggingCategory>

// Moments the benchmark times from outside: off unless the logging rules turn on
// "tavrel.timing" (QT_LOGGING_RULES="tavrel.timing.debug=true"). Each is one line on stderr,
// "tavrel-timing EVENT NANOSECONDS", on the monotonic clock that other processes read too.
Q_DECLARE_LOGGING_CATEGORY(lcTiming)

namespace Timing {

void mark(const char *event, const QString &detail = QString());

} // namespace Timing
