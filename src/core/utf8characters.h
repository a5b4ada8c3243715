// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

// A UTF-8 character in bytes that need not all be UTF-8, as file names are.
struct Utf8Character
{
    char32_t code = 0;
    qsizetype length = 0; // 0 when the bytes there are no character
};

// The character at bytes[at], by RFC 3629: no overlong forms, no surrogates,
// nothing past U+10FFFF, so that only one spelling of a character is taken.
Utf8Character utf8CharacterAt(QByteArrayView bytes, qsizetype at);
