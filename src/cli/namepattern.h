// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <cwctype>
#include <utility>
#include <vector>

// A shell pattern matched against a file name as find -name matches it, in
// the characters of the locale's LC_CTYPE: "*" takes any characters, "?"
// one, "[...]" one of a set ("[!...]" or "[^...]" one not in it, "a-z" a
// range by code point, "[:alpha:]" and the other classes of the locale), "\"
// the next character as it is. A leading dot is not special. A byte that is
// no character in the locale's character set (a name in Latin-1 under
// UTF-8) is a character of its own that matches only itself, "?" or a range
// of such bytes; in a locale of one byte per character (C, POSIX) every byte
// is one.
//
// Ignoring case, the name and the pattern are both matched by their
// caseFolded() bytes, the rule of the file list's "Remove All .EXT Files",
// and "[:upper:]" and "[:lower:]" each take any letter that has case.
//
// Not fnmatch(3): glibc 2.36's takes "[ä]*" to match "Äpfel" (a set of
// letters outside ASCII meets the name's first byte only), its ranges follow
// the locale's collation, and its "^" depends on POSIXLY_CORRECT.
class NamePattern
{
public:
    // Why the pattern cannot be matched, empty when it can: a set not closed,
    // a class name unknown, an equivalence class or collating symbol ("[=a=]",
    // "[.a.]"), which are not supported; in the user's language.
    static QString fault(QByteArrayView pattern);

    // A pattern with a fault matches as far as it could be read.
    NamePattern(QByteArrayView pattern, bool ignoreCase);
    // O(name * pattern) at worst. A name of ASCII alone is matched by its
    // bytes; one whose end does not fit a pattern of one leading "*" costs
    // O(pattern), as most names against the usual "*.jpg".
    bool matches(QByteArrayView name) const;

    // A character of a name or pattern as matched: the locale's wide
    // character, or Byte plus a byte that is none.
    static constexpr uint32_t Byte = 0x80000000;
    enum class Charset : uint8_t { Utf8, OneByte, Multibyte };

    // One "*", or what one character of the name may be.
    struct Item
    {
        bool star = false;
        bool negated = false; // "?" is a set of nothing, negated
        std::vector<std::pair<uint32_t, uint32_t>> ranges; // a character alone as a range of one
        std::vector<std::wctype_t> classes;
        std::array<uint64_t, 2> ascii {}; // which ASCII bytes of a name it takes, folded first
        bool takes(uint32_t c) const;
        bool takesOutsideAscii(uint32_t c) const;
    };

private:
    template<typename CharacterAt>
    bool matchesCharacters(qsizetype size, const CharacterAt &characterAt) const;

    bool m_ignoreCase;
    Charset m_charset;
    std::vector<Item> m_items;
    // The items after the last "*", which match the name's last characters:
    // most names are turned away by these alone. -1 without a "*".
    qsizetype m_tailStart = -1;
    // One "*", first: the tail alone decides ("*", "*.jpg"), the usual case.
    bool m_tailDecides = false;
};
