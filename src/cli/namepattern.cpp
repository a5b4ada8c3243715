// SPDX-License-Identifier: MIT
#include "cli/namepattern.h"

#include <algorithm>

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
    , m_suffixOnly(pattern.startsWith('*')
          && std::none_of(pattern.begin() + 1, pattern.end(),
              [](char c) { return c == '*' || c == '?' || c == '[' || c == '\\'; }))
{ }

bool NamePattern::matches(QByteArrayView name) const
{
    const QByteArrayView pattern = m_pattern;
    if (m_suffixOnly) {
        const QByteArrayView suffix = pattern.sliced(1);
        if (name.size() < suffix.size())
            return false;
        const QByteArrayView end = name.last(suffix.size());
        return std::equal(end.begin(), end.end(), suffix.begin(), [this](char a, char b) {
            return folded(uchar(a), m_ignoreCase) == folded(uchar(b), m_ignoreCase);
        });
    }
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
                const qsizetype next = matchSet(pattern, p, uchar(name[n]), m_ignoreCase, &matched);
                if (matched) {
                    p = next;
                    ++n;
                    continue;
                }
            } else {
                const bool escaped = c == '\\' && p + 1 < pattern.size();
                const uchar literal = uchar(escaped ? pattern[p + 1] : c);
                if (folded(literal, m_ignoreCase) == folded(uchar(name[n]), m_ignoreCase)) {
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
