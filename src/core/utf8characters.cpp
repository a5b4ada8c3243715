// SPDX-License-Identifier: MIT
#include "core/utf8characters.h"

namespace {

// The bits a continuation byte at bytes[at] adds, when it is one within [low, high]; -1 when not.
int continuation(QByteArrayView bytes, qsizetype at, uchar low = 0x80, uchar high = 0xbf)
{
    if (at >= bytes.size() || uchar(bytes[at]) < low || uchar(bytes[at]) > high)
        return -1;
    return uchar(bytes[at]) & 0x3f;
}

} // namespace

Utf8Character utf8CharacterAt(QByteArrayView bytes, qsizetype at)
{
    const uchar lead = uchar(bytes[at]);
    if (lead < 0x80)
        return { lead, 1 };
    if (lead >= 0xc2 && lead <= 0xdf) {
        const int second = continuation(bytes, at + 1);
        if (second < 0)
            return {};
        return { char32_t((lead & 0x1f) << 6 | second), 2 };
    }
    if (lead >= 0xe0 && lead <= 0xef) {
        const int second
            = continuation(bytes, at + 1, lead == 0xe0 ? 0xa0 : 0x80, lead == 0xed ? 0x9f : 0xbf);
        const int third = second < 0 ? -1 : continuation(bytes, at + 2);
        if (third < 0)
            return {};
        return { char32_t((lead & 0x0f) << 12 | second << 6 | third), 3 };
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        const int second
            = continuation(bytes, at + 1, lead == 0xf0 ? 0x90 : 0x80, lead == 0xf4 ? 0x8f : 0xbf);
        const int third = second < 0 ? -1 : continuation(bytes, at + 2);
        const int fourth = third < 0 ? -1 : continuation(bytes, at + 3);
        if (fourth < 0)
            return {};
        return { char32_t((lead & 0x07) << 18 | second << 12 | third << 6 | fourth), 4 };
    }
    return {};
}
