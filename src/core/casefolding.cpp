// SPDX-License-Identifier: MIT
#include "core/casefolding.h"

#include "core/utf8characters.h"

#include <QString>

QByteArray caseFolded(QByteArrayView bytes)
{
    QByteArray folded;
    folded.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const uchar c = uchar(bytes[at]);
        // ASCII, most names, by hand.
        if (c < 0x80) {
            folded += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            ++at;
            continue;
        }
        // A run of valid characters, folded by Qt at once.
        qsizetype end = at;
        for (qsizetype length; end < bytes.size() && (length = utf8CharacterAt(bytes, end).length);)
            end += length;
        if (end == at) {
            folded += char(c); // not UTF-8: itself
            ++at;
            continue;
        }
        folded += QString::fromUtf8(bytes.sliced(at, end - at)).toCaseFolded().toUtf8();
        at = end;
    }
    return folded;
}
