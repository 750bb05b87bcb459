#pragma once

#include <QByteArray>

// Bytes that repeat only every 251, so that a digest or a copy of a run shows a byte lost,
// doubled or moved; the same bytes as Python's bytes((i * 7 + 3) % 251 for i in range(size)),
// which is how the known digests of the tests were computed.
inline QByteArray bytePattern(qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char((i * 7 + 3) % 251);
    return out;
}
