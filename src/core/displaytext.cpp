// SPDX-License-Identifier: MIT
#include "core/displaytext.h"

#include <QList>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <iterator>

#include <unicode/uchar.h>

namespace {

using CodePoints = QList<uint>; // what QString::toUcs4() gives

constexpr char32_t ZeroWidthNonJoiner = 0x200C;
constexpr char32_t ZeroWidthJoiner = 0x200D;
constexpr char32_t EmojiPresentation = 0xFE0F;
constexpr char32_t WavingBlackFlag = 0x1F3F4;
constexpr char32_t CancelTag = 0xE007F;
constexpr char32_t Tag = 0xE0000; // plus the ASCII letter it stands for

// (character << 5 | selector number) of every standardized and emoji
// variation sequence.
constexpr uint32_t VariationSequences[] = {
#include "core/variationsequences.inc"
};

bool isDefaultIgnorable(char32_t c)
{
    return u_hasBinaryProperty(UChar32(c), UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
}

// Drawn as it is, it would show nothing, break the line or reorder the text
// around it; U+FFF9..FFFB hide the annotation between them. Joiners, selectors
// and a flag's tags are still kept in context, see below.
bool mayMislead(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029
        || (c >= 0xFFF9 && c <= 0xFFFB) || (c >= 0xAD && isDefaultIgnorable(c));
}

// A mark draws on the character before it; with none, it is clipped or
// dotted, and would join the escape's ">" after an escaped character.
bool isMark(char32_t c)
{
    return (U_GET_GC_MASK(UChar32(c)) & U_GC_M_MASK) != 0;
}

// The spaces, and the braille blank that draws as one: at the ends of a name
// they only move it a little, so "ab " and "ab" would look the same.
bool isBlank(char32_t c)
{
    return c == 0x2800 || u_charType(UChar32(c)) == U_SPACE_SEPARATOR;
}

int selectorNumber(char32_t c)
{
    if (c >= 0xFE00 && c <= 0xFE0F)
        return int(c - 0xFE00);
    if (c >= 0x180B && c <= 0x180D)
        return int(c - 0x180B) + 16;
    return c == 0x180F ? 19 : -1;
}

bool isVariationSequence(char32_t base, char32_t selector)
{
    const int number = selectorNumber(selector);
    return number >= 0
        && std::binary_search(std::begin(VariationSequences), std::end(VariationSequences),
            uint32_t(base) << 5 | uint32_t(number));
}

bool isEmojiModifier(char32_t c)
{
    return c >= 0x1F3FB && c <= 0x1F3FF;
}

bool isPictographic(char32_t c)
{
    return u_hasBinaryProperty(UChar32(c), UCHAR_EXTENDED_PICTOGRAPHIC);
}

bool isVirama(char32_t c)
{
    return u_getCombiningClass(UChar32(c)) == 9
        || u_getIntPropertyValue(UChar32(c), UCHAR_INDIC_SYLLABIC_CATEGORY) == U_INSC_VIRAMA;
}

int joiningType(char32_t c)
{
    return u_getIntPropertyValue(UChar32(c), UCHAR_JOINING_TYPE);
}

// Whether the flag at `at` carries the tags of England, Scotland or Wales and
// the cancel tag: the only tag sequences that draw as something.
bool isSubdivisionFlag(const CodePoints &text, qsizetype at)
{
    static constexpr char subdivisions[][6] = { "gbeng", "gbsct", "gbwls" };
    if (text[at] != WavingBlackFlag || text.size() - at < 7 || text[at + 6] != CancelTag)
        return false;
    return std::any_of(std::begin(subdivisions), std::end(subdivisions), [&](const char *tags) {
        for (int i = 0; i < 5; ++i) {
            if (text[at + 1 + i] != Tag + char32_t(tags[i]))
                return false;
        }
        return true;
    });
}

// Where a joiner or selector is kept, what comes before it must be shown as
// it is: a joiner after an escape would join nothing.
class Context
{
public:
    Context(const CodePoints &text, const QVarLengthArray<bool, 256> &raw)
        : m_text(text)
        , m_raw(raw)
    { }

    bool shownBefore(qsizetype at) const { return at > 0 && m_raw[at - 1]; }

    // A joiner keeps an emoji ZWJ sequence together: a pictograph, with its
    // skin tone or emoji selector, on either side.
    bool joinsEmoji(qsizetype at) const
    {
        qsizetype before = at - 1;
        while (before > 0 && m_raw[before]
            && (m_text[before] == EmojiPresentation || isEmojiModifier(m_text[before])))
            --before;
        return before >= 0 && m_raw[before] && isPictographic(m_text[before])
            && at + 1 < m_text.size() && isPictographic(m_text[at + 1]);
    }

    bool followsVirama(qsizetype at) const { return shownBefore(at) && isVirama(m_text[at - 1]); }

    // A non-joiner keeps apart two letters that would join, with only marks
    // between: (L|D) T* ZWNJ T* (R|D).
    bool separatesJoiningLetters(qsizetype at) const
    {
        qsizetype before = at - 1;
        while (before >= 0 && m_raw[before] && joiningType(m_text[before]) == U_JT_TRANSPARENT)
            --before;
        if (before < 0 || !m_raw[before])
            return false;
        const int left = joiningType(m_text[before]);
        qsizetype after = at + 1;
        while (after < m_text.size() && joiningType(m_text[after]) == U_JT_TRANSPARENT
            && !mayMislead(m_text[after]))
            ++after;
        if (after == m_text.size())
            return false;
        const int right = joiningType(m_text[after]);
        return (left == U_JT_LEFT_JOINING || left == U_JT_DUAL_JOINING)
            && (right == U_JT_RIGHT_JOINING || right == U_JT_DUAL_JOINING);
    }

    bool kept(qsizetype at) const
    {
        const char32_t c = m_text[at];
        if (c == ZeroWidthJoiner)
            return joinsEmoji(at) || followsVirama(at);
        if (c == ZeroWidthNonJoiner)
            return followsVirama(at) || separatesJoiningLetters(at);
        return shownBefore(at) && isVariationSequence(m_text[at - 1], c);
    }

private:
    const CodePoints &m_text;
    const QVarLengthArray<bool, 256> &m_raw;
};

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

bool isPlain(QStringView text)
{
    char32_t c = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool first = i == 0;
        c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (mayMislead(c) || (first && (isMark(c) || isBlank(c)))
            || (c == u'<' && text.sliced(i).startsWith(u"<U+")))
            return false;
    }
    return !isBlank(c);
}

} // namespace

QString displayText(QByteArrayView bytes)
{
    const QString text = decoded(bytes);
    // Nearly every name has nothing to escape: no copy then, as this runs for
    // every painted cell.
    if (isPlain(text))
        return text;

    const CodePoints points = text.toUcs4();
    qsizetype leading = 0, trailing = points.size();
    while (leading < points.size() && isBlank(points[leading]))
        ++leading;
    while (trailing > leading && isBlank(points[trailing - 1]))
        --trailing;

    // Which characters are shown as they are, so far.
    QVarLengthArray<bool, 256> raw(points.size(), false);
    const Context context(points, raw);
    QString shown;
    shown.reserve(text.size() + 16);
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        if (isSubdivisionFlag(points, i)) {
            for (qsizetype j = i; j < i + 7; ++j) {
                append(shown, points[j]);
                raw[j] = true;
            }
            i += 6;
            continue;
        }
        if (i < leading || i >= trailing)
            raw[i] = false;
        else if (mayMislead(c))
            raw[i] = context.kept(i);
        else if (isMark(c))
            raw[i] = context.shownBefore(i);
        else if (c == u'<')
            // A "<U+" of the name itself is escaped too, so that every "<U+"
            // shown starts an escape and no name can spell out another's.
            raw[i] = !(i + 2 < points.size() && points[i + 1] == u'U' && points[i + 2] == u'+');
        else
            raw[i] = true;
        if (raw[i])
            append(shown, c);
        else
            appendEscape(shown, c);
    }
    return shown;
}

QString displayPath(QStringView path)
{
#ifdef Q_OS_WIN
    return displayText(path.toString().replace(u'/', u'\\').toUtf8());
#else
    return displayText(path.toUtf8());
#endif
}

QString displayPath(QByteArrayView nativePath)
{
#ifdef Q_OS_WIN
    return displayText(nativePath.toByteArray().replace('/', '\\'));
#else
    return displayText(nativePath);
#endif
}
