// SPDX-License-Identifier: MIT
#include "core/displaytext.h"

#include <QList>
#include <QStringDecoder>

#include <unicode/uchar.h>

namespace {

using CodePoints = QList<uint>; // what QString::toUcs4() gives

constexpr char32_t ZeroWidthNonJoiner = 0x200C;
constexpr char32_t ZeroWidthJoiner = 0x200D;
constexpr char32_t WavingBlackFlag = 0x1F3F4;
constexpr char32_t CancelTag = 0xE007F;

bool isDefaultIgnorable(char32_t c)
{
    return u_hasBinaryProperty(UChar32(c), UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
}

// Drawn as it is, it would show nothing, break the line or reorder the text
// around it. Some of these are still kept in context, see below.
bool mayMislead(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029
        || (c >= 0xAD && isDefaultIgnorable(c));
}

bool isVariationSelector(char32_t c)
{
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF)
        || (c >= 0x180B && c <= 0x180D) || c == 0x180F;
}

bool isTag(char32_t c)
{
    return c >= 0xE0020 && c <= 0xE007E;
}

bool isEmojiModifier(char32_t c)
{
    return c >= 0x1F3FB && c <= 0x1F3FF;
}

bool isLetterOrMark(char32_t c)
{
    return (U_GET_GC_MASK(UChar32(c)) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

bool isPictographic(char32_t c)
{
    return u_hasBinaryProperty(UChar32(c), UCHAR_EXTENDED_PICTOGRAPHIC);
}

// A character a variation selector can change the look of: anything visible.
bool isBase(char32_t c)
{
    return !mayMislead(c)
        && (U_GET_GC_MASK(UChar32(c))
               & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK | U_GC_P_MASK | U_GC_S_MASK))
        != 0;
}

// A joiner shapes the letters or builds the emoji on both sides of it: Persian
// and Indic words need it as much as a family of emoji does.
bool joinsVisibleText(const CodePoints &text, qsizetype at)
{
    qsizetype before = at - 1;
    while (before >= 0 && (isVariationSelector(text[before]) || isEmojiModifier(text[before])))
        --before;
    if (before < 0 || at + 1 >= text.size())
        return false;
    const char32_t previous = text[before], next = text[at + 1];
    return (isLetterOrMark(previous) || isPictographic(previous))
        && (isLetterOrMark(next) || isPictographic(next));
}

// The length of a flag's tag sequence starting at `at` (tags, then the cancel
// tag), or 0 where there is none.
qsizetype flagTags(const CodePoints &text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && isTag(text[end]))
        ++end;
    if (end == at || end >= text.size() || text[end] != CancelTag)
        return 0;
    return end + 1 - at;
}

void append(QString &shown, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        shown += QChar(QChar::highSurrogate(c));
        shown += QChar(QChar::lowSurrogate(c));
    } else {
        shown += QChar(char16_t(c));
    }
}

void appendEscape(QString &shown, char32_t c)
{
    shown += QStringLiteral("<U+%1>").arg(uint(c), 4, 16, QChar(u'0')).toUpper();
}

// UTF-8 as it is: QString::fromUtf8() drops a leading byte order mark, which
// would make "\uFEFFa" look exactly like "a".
QString decoded(QByteArrayView bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8,
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

QString displayText(QByteArrayView bytes)
{
    const QString text = decoded(bytes);
    // Nearly every name has nothing to escape: no copy then, as this runs for
    // every painted cell.
    bool plain = true;
    for (qsizetype i = 0; plain && i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        plain = !mayMislead(c);
    }
    if (plain)
        return text;

    const CodePoints points = text.toUcs4();
    QString shown;
    shown.reserve(text.size() + 16);
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        if (c == WavingBlackFlag) {
            // The flag with its tags, as one piece; stray tags are escaped.
            const qsizetype tags = flagTags(points, i + 1);
            for (qsizetype j = i; j <= i + tags; ++j)
                append(shown, points[j]);
            i += tags;
            continue;
        }
        const bool kept = !mayMislead(c)
            || ((c == ZeroWidthJoiner || c == ZeroWidthNonJoiner) && joinsVisibleText(points, i))
            || (isVariationSelector(c) && i > 0 && isBase(points[i - 1]));
        if (kept)
            append(shown, c);
        else
            appendEscape(shown, c);
    }
    return shown;
}
