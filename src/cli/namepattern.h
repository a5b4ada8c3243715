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
    // O(name * pattern) at worst; a name whose end does not fit costs
    // O(pattern), as for most names and the usual "*.jpg".
    bool matches(QByteArrayView name) const;

private:
    static bool matches(QByteArrayView pattern, QByteArrayView name, bool ignoreCase);

    QByteArray m_pattern;
    bool m_ignoreCase;
    // What follows the last "*" matches a fixed number of bytes at the name's
    // end: most names are turned away by these alone. -1 without a "*".
    qsizetype m_tailStart = -1;
    qsizetype m_tailBytes = 0;
    // One "*", first: the tail alone decides ("*", "*.jpg"), the usual case.
    bool m_tailDecides = false;
};
