#include "accessibility.h"

#include <QAccessibleWidget>
#include <QFrame>

namespace Accessibility {

namespace {

const char *const groupProperty = "tavrelAccessibleGroup";

QAccessibleInterface *groupInterface(const QString &, QObject *object)
{
    auto *frame = qobject_cast<QFrame *>(object);
    if (frame && frame->property(groupProperty).toBool())
        return new QAccessibleWidget(frame, QAccessible::Grouping);
    return nullptr;
}

} // namespace

void makeGroup(QFrame &frame, const QString &name)
{
    static const bool installed = [] {
        QAccessible::installFactory(groupInterface);
        return true;
    }();
    Q_UNUSED(installed)
    frame.setProperty(groupProperty, true);
    frame.setAccessibleName(name);
}

} // namespace Accessibility
