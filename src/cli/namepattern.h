// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// A shell pattern matched against a file name's bytes, as find -name matches:
// "*" any bytes, "?" one byte, "[...]" one byte of a set ("[!...]" or
// "[^...]" one not in it, "a-z" a range), "\" takes the next byte as it is.
// A leading dot is not special. Bytes, not characters, so a name that is not
// valid UTF-8 matches as well, whatever the locale.
class NamePattern
{
public:
    // Whether every "[" is closed; an unclosed one would silently match itself.
    static bool isValid(QByteArrayView pattern);

    NamePattern(const QByteArray &pattern, bool ignoreCase);
    // O(name * pattern) at worst, about O(name) for the usual "*.jpg".
    bool matches(QByteArrayView name) const;

private:
    QByteArray m_pattern;
    bool m_ignoreCase;
    // "*.jpg" and "*", most patterns given, are a comparison of the name's end.
    bool m_suffixOnly = false;
};
