#include "timing.h"

#include <chrono>

Q_LOGGING_CATEGORY(lcTiming, "tavrel.timing", QtWarningMsg)

namespace Timing {

void mark(const char *event, const QString &detail)
{
    if (!lcTiming().isDebugEnabled())
        return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    qCDebug(lcTiming).noquote() << "tavrel-timing" << event
                                << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()
                                << detail;
}

} // namespace Timing
