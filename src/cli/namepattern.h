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
// range by code point, "[:alpha:]" and the other classes of the locale,
// "[=e=]" the characters the locale's collation holds equal to "e" but for
// accents and case, "[.a.]" the character "a", also as the end of a range),
// "\" the next character as it is. A leading dot is not special. A byte that
// is no character in the locale's character set (a name in Latin-1 under
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
// the locale's collation, a collating symbol ends no range there in a UTF-8
// locale ("[a-[.c.]]" takes nothing), and its "^" depends on POSIXLY_CORRECT.
// Only an equivalence class asks it, one character at a time, as only the C
// library reads the weights of the locale's LC_COLLATE: in C and POSIX a
// character is equal to itself alone.
class NamePattern
{
public:
    // Why the pattern cannot be matched, empty when it can: a set not closed,
    // a class name unknown, an equivalence class or collating symbol of other
    // than one character ("[=ch=]", "[.ch.]": collating elements of several
    // characters are not supported), an equivalence class as the end of a
    // range; in the user's language.
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

    // An equivalence class "[=c=]": c, and the characters the locale's
    // collation holds equal to it at its first level.
    struct Equivalent
    {
        explicit Equivalent(uint32_t character);
        // O(1) for c itself; else one fnmatch() of a character.
        bool takes(uint32_t c) const;
        uint32_t character;
        QByteArray glob; // "[[=c=]]", in the locale's character set
    };

    // One "*", or what one character of the name may be.
    struct Item
    {
        bool star = false;
        bool negated = false; // "?" is a set of nothing, negated
        std::vector<std::pair<uint32_t, uint32_t>> ranges; // a character alone as a range of one
        std::vector<std::wctype_t> classes;
        std::vector<Equivalent> equivalents;
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
