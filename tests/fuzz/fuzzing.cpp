#include "fuzzing.h"

#include <cstdio>
#include <cstdlib>

namespace Fuzzing {

void fail(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::abort();
}

QString text(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const QByteArrayView rest = bytes.sliced(1);
    if (bytes.front() % 2 == 0)
        return QString::fromUtf8(rest);
    QString units(rest.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < units.size(); ++i)
        units[i] = QChar(char16_t(uchar(rest[2 * i]) | uchar(rest[2 * i + 1]) << 8));
    return units;
}

QByteArrayView Reader::piece()
{
    const qsizetype end = m_rest.indexOf('\0');
    const QByteArrayView piece = end < 0 ? m_rest : m_rest.first(end);
    m_rest = end < 0 ? QByteArrayView() : m_rest.sliced(end + 1);
    return piece;
}

int Reader::number(int below)
{
    if (m_rest.isEmpty())
        return 0;
    const int value = uchar(m_rest.front()) % below;
    m_rest = m_rest.sliced(1);
    return value;
}

} // namespace Fuzzing
