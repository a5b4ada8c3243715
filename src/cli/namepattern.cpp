// SPDX-License-Identifier: MIT
#include "cli/namepattern.h"

#include "core/casefolding.h"
#include "core/utf8characters.h"

#include <QCoreApplication>
#include <QVarLengthArray>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#ifndef Q_OS_WIN
#include <fnmatch.h>
#include <langinfo.h>
#endif

namespace {

using Charset = NamePattern::Charset;
using Characters = QVarLengthArray<uint32_t, 256>;

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

Charset localeCharset()
{
#ifdef Q_OS_WIN
    return Charset::Utf8; // names and arguments are read as UTF-8 there
#else
    if (MB_CUR_MAX == 1)
        return Charset::OneByte;
    return std::strcmp(::nl_langinfo(CODESET), "UTF-8") == 0 ? Charset::Utf8 : Charset::Multibyte;
#endif
}

// The characters of bytes in the locale's character set, each byte that is
// none as a character of its own.
void decode(QByteArrayView bytes, Charset charset, Characters &out)
{
    out.clear();
    std::mbstate_t state {};
    for (qsizetype at = 0; at < bytes.size();) {
        const uchar c = uchar(bytes[at]);
        qsizetype length = 0;
        uint32_t character = 0;
        if (c < 0x80) {
            length = 1;
            character = c;
        } else if (charset == Charset::Utf8) {
            const Utf8Character utf8 = utf8CharacterAt(bytes, at);
            length = utf8.length;
            character = utf8.code;
        } else if (charset == Charset::OneByte) {
            const std::wint_t wide = std::btowc(c);
            length = wide == WEOF ? 0 : 1;
            character = uint32_t(wide);
        } else {
            wchar_t wide = 0;
            const size_t read
                = std::mbrtowc(&wide, bytes.data() + at, size_t(bytes.size() - at), &state);
            if (read == 0 || read > size_t(bytes.size() - at))
                state = {};
            else
                length = qsizetype(read), character = uint32_t(wide);
        }
        if (length == 0) {
            out.append(NamePattern::Byte | c);
            ++at;
        } else {
            out.append(character);
            at += length;
        }
    }
}

// c in the locale's character set; empty for a byte that is none.
QByteArray encoded(uint32_t c)
{
    if (c & NamePattern::Byte)
        return {};
    char bytes[MB_LEN_MAX];
    std::mbstate_t state {};
    const size_t length = std::wcrtomb(bytes, wchar_t(c), &state);
    return length == size_t(-1) ? QByteArray() : QByteArray(bytes, qsizetype(length));
}

struct Parsed
{
    std::vector<NamePattern::Item> items;
    QString fault;
};

bool isAsciiLetter(uint32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Where the "[=" or "[." at p[at] is closed by "=]" or ".]": the index after
// that, or -1 when it is not, and the "[" is a character of the set.
qsizetype closedAt(const Characters &p, qsizetype at)
{
    if (at + 1 >= p.size() || p[at] != '[' || (p[at + 1] != '=' && p[at + 1] != '.'))
        return -1;
    for (qsizetype i = at + 2; i + 1 < p.size(); ++i) {
        if (p[i] == p[at + 1] && p[i + 1] == ']')
            return i + 2;
    }
    return -1;
}

QString oneCharacterOnly(uint32_t kind)
{
    return kind == '=' ? QCoreApplication::translate(
               "NamePattern", "equivalence class other than a single character")
                       : QCoreApplication::translate(
                           "NamePattern", "collating symbol other than a single character");
}

// The character of a set at p[i], escaped or not, or of a collating symbol
// ("[.a.]" is "a"); i goes on past it. False, with fault, for a collating
// symbol of more or less than one character: multi-character collating
// elements are not supported.
bool readCharacter(const Characters &p, qsizetype &i, uint32_t &c, QString &fault)
{
    if (const qsizetype end = closedAt(p, i); end >= 0 && p[i + 1] == '.') {
        if (end - i != 5) {
            fault = oneCharacterOnly('.');
            return false;
        }
        c = p[i + 2];
        i = end;
        return true;
    }
    if (p[i] == '\\' && i + 1 < p.size())
        ++i;
    c = p[i++];
    return true;
}

// A class "[:name:]" at p[i] into item; i goes on past it. False when there
// is none at i, and with fault when its name is unknown.
bool readClass(
    const Characters &p, qsizetype &i, bool ignoreCase, NamePattern::Item &item, QString &fault)
{
    auto characterAt = [&p](qsizetype at) { return at < p.size() ? p[at] : uint32_t(0); };
    if (p[i] != '[' || characterAt(i + 1) != ':')
        return false;
    qsizetype end = i + 2;
    QByteArray name;
    for (; isAsciiLetter(characterAt(end)); ++end)
        name += char(p[end]);
    if (name.isEmpty() || characterAt(end) != ':' || characterAt(end + 1) != ']')
        return false;
    const std::wctype_t known = name.toLower() == name ? std::wctype(name.constData()) : 0;
    if (!known) {
        fault = QCoreApplication::translate("NamePattern", "unknown character class '[:%1:]'")
                    .arg(QLatin1StringView(name));
        return false;
    }
    // Folded letters are mostly lower case, some (Cherokee's) upper.
    if (ignoreCase && (name == "upper" || name == "lower"))
        item.classes.push_back(std::wctype(name == "upper" ? "lower" : "upper"));
    item.classes.push_back(known);
    i = end + 2;
    return true;
}

// Reads the set whose "[" is p[at] into item: its ranges, classes and
// equivalence classes. Returns where the pattern goes on after its "]"; -1
// when it is not closed, or has a fault, which fault then tells.
qsizetype readSet(
    const Characters &p, qsizetype at, bool ignoreCase, NamePattern::Item &item, QString &fault)
{
    const qsizetype size = p.size();
    qsizetype i = at + 1;
    item.negated = i < size && (p[i] == '!' || p[i] == '^');
    if (item.negated)
        ++i;
    for (bool first = true;; first = false) {
        if (i >= size)
            return -1;
        if (p[i] == ']' && !first)
            return i + 1;
        if (readClass(p, i, ignoreCase, item, fault))
            continue;
        if (!fault.isEmpty())
            return -1;
        if (const qsizetype end = closedAt(p, i); end >= 0 && p[i + 1] == '=') {
            if (end - i != 5) {
                fault = oneCharacterOnly('=');
                return -1;
            }
            item.equivalents.emplace_back(p[i + 2]);
            i = end;
            continue;
        }
        // A character and a range from it when "-" follows but "]" does not.
        uint32_t low = 0;
        if (!readCharacter(p, i, low, fault))
            return -1;
        uint32_t high = low;
        if (i + 1 < size && p[i] == '-' && p[i + 1] != ']') {
            ++i;
            if (closedAt(p, i) >= 0 && p[i + 1] == '=') {
                fault = QCoreApplication::translate(
                    "NamePattern", "equivalence class as the end of a range");
                return -1;
            }
            if (!readCharacter(p, i, high, fault))
                return -1;
        }
        item.ranges.emplace_back(low, high);
    }
}

Parsed parse(const Characters &p, bool ignoreCase)
{
    Parsed parsed;
    for (qsizetype i = 0; i < p.size();) {
        NamePattern::Item item;
        if (p[i] == '*') {
            item.star = true;
            ++i;
        } else if (p[i] == '?') {
            item.negated = true;
            ++i;
        } else if (p[i] == '[') {
            i = readSet(p, i, ignoreCase, item, parsed.fault);
            if (i < 0) {
                if (parsed.fault.isEmpty())
                    parsed.fault = QCoreApplication::translate("NamePattern", "unclosed '['");
                return parsed;
            }
        } else {
            // A "\" at the end stands for itself.
            if (p[i] == '\\' && i + 1 < p.size())
                ++i;
            item.ranges = { { p[i], p[i] } };
            ++i;
        }
        if (!item.star || parsed.items.empty() || !parsed.items.back().star)
            parsed.items.push_back(std::move(item));
    }
    return parsed;
}

} // namespace

bool NamePattern::Item::takesOutsideAscii(uint32_t c) const
{
    bool in = std::any_of(ranges.begin(), ranges.end(),
        [c](const auto &range) { return c >= range.first && c <= range.second; });
    if (!in && c < Byte && c <= uint32_t(WCHAR_MAX))
        in = std::any_of(classes.begin(), classes.end(),
            [c](std::wctype_t known) { return std::iswctype(std::wint_t(c), known); });
    if (!in)
        in = std::any_of(equivalents.begin(), equivalents.end(),
            [c](const Equivalent &e) { return e.takes(c); });
    return in != negated;
}

NamePattern::Equivalent::Equivalent(uint32_t character)
    : character(character)
    , glob("[[=" + encoded(character) + "=]]")
{ }

bool NamePattern::Equivalent::takes(uint32_t c) const
{
    if (c == character)
        return true;
#ifdef Q_OS_WIN
    return false;
#else
    // The C library's collation holds the weights that decide, and its
    // fnmatch() reads them right for a name of one character.
    const QByteArray name = encoded(c);
    return !name.isEmpty() && glob.size() > 6
        && ::fnmatch(glob.constData(), name.constData(), FNM_NOESCAPE) == 0;
#endif
}

bool NamePattern::Item::takes(uint32_t c) const
{
    if (c < 0x80)
        return (ascii[c >> 6] >> (c & 63)) & 1;
    return takesOutsideAscii(c);
}

QString NamePattern::fault(QByteArrayView pattern)
{
    Characters characters;
    decode(pattern, localeCharset(), characters);
    return parse(characters, false).fault;
}

NamePattern::NamePattern(QByteArrayView pattern, bool ignoreCase)
    : m_ignoreCase(ignoreCase)
    , m_charset(localeCharset())
{
    Characters characters;
    decode(ignoreCase ? caseFolded(pattern) : pattern, m_charset, characters);
    m_items = parse(characters, ignoreCase).items;
    int stars = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        Item &item = m_items[i];
        if (item.star) {
            ++stars;
            m_tailStart = qsizetype(i) + 1;
            continue;
        }
        // Names are ASCII mostly: what each item takes of it is kept by the
        // byte, letters folded first when ignoring case.
        for (uint32_t c = 0; c < 0x80; ++c) {
            if (item.takesOutsideAscii(ignoreCase && c >= 'A' && c <= 'Z' ? c + 32 : c))
                item.ascii[c >> 6] |= uint64_t(1) << (c & 63);
        }
    }
    m_tailDecides = stars == 1 && m_tailStart == 1;
}

template<typename CharacterAt>
bool NamePattern::matchesCharacters(qsizetype size, const CharacterAt &characterAt) const
{
    size_t p = 0;
    qsizetype n = 0;
    // After a "*", a mismatch lets the star take one more character and
    // retries: only the last star needs to be remembered.
    size_t starP = 0;
    qsizetype starN = -1;
    while (n < size) {
        if (p < m_items.size()) {
            if (m_items[p].star) {
                starP = ++p;
                starN = n;
                continue;
            }
            if (m_items[p].takes(characterAt(n))) {
                ++p;
                ++n;
                continue;
            }
        }
        if (starN < 0)
            return false;
        p = starP;
        n = ++starN;
    }
    while (p < m_items.size() && m_items[p].star)
        ++p;
    return p == m_items.size();
}

bool NamePattern::matches(QByteArrayView name) const
{
    // Where an ASCII byte at the end, after ASCII bytes alone, is one of the
    // name's last characters (not so in Shift JIS, where it may end one),
    // those bytes decide most names, read from the end.
    if (m_tailStart >= 0 && m_charset != Charset::Multibyte) {
        const qsizetype tail = qsizetype(m_items.size()) - m_tailStart;
        if (name.size() < tail)
            return false; // fewer characters than the tail needs
        qsizetype left = tail;
        for (; left > 0; --left) {
            const uchar c = uchar(name[name.size() - tail + left - 1]);
            if (c >= 0x80)
                break;
            if (!m_items[size_t(m_tailStart + left - 1)].takes(c))
                return false;
        }
        if (left == 0 && m_tailDecides)
            return true;
    }
    if (isAscii(name))
        return matchesCharacters(name.size(), [name](qsizetype i) { return uchar(name[i]); });
    Characters characters;
    decode(m_ignoreCase ? caseFolded(name) : name, m_charset, characters);
    return matchesCharacters(
        characters.size(), [&characters](qsizetype i) { return characters[i]; });
}
