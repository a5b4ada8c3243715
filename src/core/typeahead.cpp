// SPDX-License-Identifier: MIT
#include "core/typeahead.h"

#include "core/displaytext.h"

#include <array>

qsizetype findShownName(
    const FileArrangement &files, qsizetype from, QStringView prefix, const StopRequested &stopped)
{
    const qsizetype rows = qsizetype(files.order.size());
    if (from < 0 || from >= rows)
        return -1;
    // A name that begins with an ASCII character is shown beginning with it,
    // or with the "<" of its escape: only names whose first character may
    // begin the prefix are decoded, a few per cent of them for a letter.
    const QStringView first = prefix.first(std::min<qsizetype>(prefix.size(), 1));
    const auto mayBegin
        = [first](char16_t c) { return QStringView(&c, 1).startsWith(first, Qt::CaseInsensitive); };
    const bool escapeMayBegin = mayBegin(u'<');
    std::array<bool, 128> looked {};
    for (char16_t c = 0; c < looked.size(); ++c)
        looked[c] = escapeMayBegin || mayBegin(c);

    const FileRows &names = *files.rows;
    const auto positionAt
        = [&](qsizetype i) { return i < rows - from ? from + i : from + i - rows; };
    for (qsizetype i = 0; i < rows; ++i) {
        if ((i & 0xfff) == 0xfff && stopped && stopped())
            return -1;
        // Rows in display order lie scattered in memory: asked for ahead.
        if (i + 16 < rows)
            names.prefetch(files.order[size_t(positionAt(i + 16))], false);
        if (i + 8 < rows)
            names.prefetch(files.order[size_t(positionAt(i + 8))], true);
        const qsizetype position = positionAt(i);
        const QByteArrayView name = names.name(files.order[size_t(position)]);
        const auto lead = uchar(name.isEmpty() ? 0 : name.front());
        if (lead < looked.size() && !looked[lead])
            continue;
        if (displayText(name).startsWith(prefix, Qt::CaseInsensitive))
            return position;
    }
    return -1;
}

TypedKey TypedText::type(const QString &key, bool withinInterval)
{
    TypedKey typed;
    if (key.isEmpty() || !withinInterval) {
        m_text = key;
        typed.startsOver = true;
    } else {
        m_text += key;
    }
    typed.prefix = m_text;
    typed.repeats = m_text.size() > 1 && m_text.count(m_text.back()) == m_text.size();
    return typed;
}

qsizetype typeAhead(const FileArrangement &files, qsizetype current,
    const std::vector<TypedKey> &keys, const StopRequested &stopped)
{
    const qsizetype rows = qsizetype(files.order.size());
    if (rows == 0)
        return -1;
    qsizetype at = current >= 0 && current < rows ? current : -1;
    qsizetype landed = -1;
    // No name starts with a text that extends one that no name starts with.
    QString missing;
    for (const TypedKey &key : keys) {
        if (!missing.isNull() && key.prefix.startsWith(missing))
            continue;
        qsizetype from = std::max<qsizetype>(at, 0);
        if ((key.startsOver && at >= 0) || key.repeats)
            from = (from + 1) % rows;
        const qsizetype found = findShownName(files, from, key.prefix, stopped);
        if (found >= 0)
            at = landed = found;
        else if (stopped && stopped())
            return -1;
        else
            missing = key.prefix;
    }
    return landed;
}
