// SPDX-License-Identifier: MIT
#include "cli/namepattern.h"

namespace {

// ASCII only: the pattern works on bytes, and a byte of a multi-byte
// character has no case.
inline uchar folded(uchar c, bool ignoreCase)
{
    return ignoreCase && c >= 'A' && c <= 'Z' ? uchar(c + ('a' - 'A')) : c;
}

// The set starting at the "[" at pattern[at]: whether c is in it, and where
// the pattern goes on after its "]"; -1 when it is not closed.
qsizetype matchSet(QByteArrayView pattern, qsizetype at, uchar c, bool ignoreCase, bool *matched)
{
    qsizetype i = at + 1;
    const qsizetype size = pattern.size();
    const bool negated = i < size && (pattern[i] == '!' || pattern[i] == '^');
    if (negated)
        ++i;
    bool found = false;
    c = folded(c, ignoreCase);
    for (bool first = true;; first = false) {
        if (i >= size)
            return -1;
        if (pattern[i] == ']' && !first)
            break;
        auto take = [&] {
            if (pattern[i] == '\\' && i + 1 < size)
                ++i;
            return folded(uchar(pattern[i++]), ignoreCase);
        };
        const uchar low = take();
        uchar high = low;
        if (i + 1 < size && pattern[i] == '-' && pattern[i + 1] != ']') {
            ++i;
            high = take();
        }
        found = found || (c >= low && c <= high);
    }
    *matched = found != negated;
    return i + 1;
}

} // namespace

bool NamePattern::isValid(QByteArrayView pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\')
            ++i;
        else if (pattern[i] == '[') {
            bool matched;
            const qsizetype next = matchSet(pattern, i, 0, false, &matched);
            if (next < 0)
                return false;
            i = next - 1;
        }
    }
    return true;
}

NamePattern::NamePattern(const QByteArray &pattern, bool ignoreCase)
    : m_pattern(pattern)
    , m_ignoreCase(ignoreCase)
{
    int stars = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '*') {
            ++stars;
            m_tailStart = i + 1;
            m_tailBytes = 0;
            continue;
        }
        ++m_tailBytes;
        bool matched;
        if (pattern[i] == '\\' && i + 1 < pattern.size())
            ++i;
        else if (pattern[i] == '[')
            i = matchSet(pattern, i, 0, false, &matched) - 1;
    }
    m_tailDecides = stars == 1 && m_tailStart == 1;
}

bool NamePattern::matches(QByteArrayView name) const
{
    if (m_tailStart >= 0
        && (name.size() < m_tailBytes
            || !matches(QByteArrayView(m_pattern).sliced(m_tailStart), name.last(m_tailBytes),
                m_ignoreCase)))
        return false;
    return m_tailDecides || matches(m_pattern, name, m_ignoreCase);
}

bool NamePattern::matches(QByteArrayView pattern, QByteArrayView name, bool ignoreCase)
{
    qsizetype p = 0, n = 0;
    // After a "*", a mismatch lets the star take one more byte and retries:
    // only the last star needs to be remembered.
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size()) {
            const char c = pattern[p];
            if (c == '*') {
                starP = ++p;
                starN = n;
                continue;
            }
            if (c == '?') {
                ++p;
                ++n;
                continue;
            }
            if (c == '[') {
                bool matched = false;
                const qsizetype next = matchSet(pattern, p, uchar(name[n]), ignoreCase, &matched);
                if (matched) {
                    p = next;
                    ++n;
                    continue;
                }
            } else {
                const bool escaped = c == '\\' && p + 1 < pattern.size();
                const uchar literal = uchar(escaped ? pattern[p + 1] : c);
                if (folded(literal, ignoreCase) == folded(uchar(name[n]), ignoreCase)) {
                    p += escaped ? 2 : 1;
                    ++n;
                    continue;
                }
            }
        }
        if (starP < 0)
            return false;
        p = starP;
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
