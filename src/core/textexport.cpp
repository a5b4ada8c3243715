// SPDX-License-Identifier: MIT
#include "core/textexport.h"

#include "core/arrangement.h"
#include "core/displaytext.h"
#include "core/parallel.h"

#include <QDir>
#include <QThread>

#include <cstring>
#include <vector>

QByteArrayView lineEndBytes(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::CrLf:
        return "\r\n";
    case LineEnd::Lf:
        return "\n";
    case LineEnd::Nul:
        break;
    }
    return QByteArrayView("\0", 1);
}

#ifdef Q_OS_WIN
QByteArray savedName(QByteArrayView name)
{
    return QString::fromUtf8(name).toLocal8Bit();
}
#endif

QByteArray exportText(const FileArrangement &files, LineEnd lineEnd)
{
    const size_t rows = files.order.size();
    const QByteArrayView end = lineEndBytes(lineEnd);
#ifdef Q_OS_WIN
    QByteArray text;
    for (size_t row = 0; row < rows; ++row) {
        text += savedName(files.rows->name(files.order[row]));
        text += end;
    }
    return text;
#else
    // One pass, each row and its name asked for ahead: into room for every
    // name, then cut to the size written.
    QByteArray text(files.rows->nameBytes() + qsizetype(rows) * end.size(), Qt::Uninitialized);
    char *out = text.data();
    const FileRows &names = *files.rows;
    for (size_t row = 0; row < rows; ++row) {
        if (row + 16 < rows)
            names.prefetch(files.order[row + 16], false);
        if (row + 8 < rows)
            names.prefetch(files.order[row + 8], true);
        const QByteArrayView name = names.name(files.order[row]);
        std::memcpy(out, name.data(), size_t(name.size()));
        out += name.size();
        for (const char c : end)
            *out++ = c;
    }
    text.truncate(out - text.constData());
    return text;
#endif
}

namespace {

// The lines of the rows at display positions [begin, end).
QString listTextOf(const FileArrangement &files, ListText what, size_t begin, size_t end)
{
    QString text;
    // Most names are ASCII: one character per byte, plus the folder of a path.
    text.reserve(qsizetype(end - begin) * (what == ListText::Paths ? 48 : 16));
    QString folder;
    qsizetype first = 0, last = 0; // the rows of the folder at hand
    for (size_t i = begin; i < end; ++i) {
        const uint32_t row = files.order[i];
        const QByteArrayView name = files.rows->name(row);
        if (what == ListText::Names) {
            text += displayText(name);
        } else {
            // Rows mostly come in runs of one folder: look it up once per run.
            if (qsizetype(row) < first || qsizetype(row) >= last) {
                folder = files.rows->folder(row, &first, &last);
                if (!folder.endsWith(u'/')) // the root ends in one already
                    folder += u'/';
                folder = QDir::toNativeSeparators(folder);
            }
            text += folder;
            text += QString::fromUtf8(name);
        }
        text += u'\n';
    }
    return text;
}

} // namespace

QString listText(const FileArrangement &files, ListText what)
{
    // Each core makes the lines of one part of a long list.
    const size_t rows = files.order.size();
    const int parts = rows < 65536 ? 1 : std::max(1, QThread::idealThreadCount());
    if (parts == 1)
        return listTextOf(files, what, 0, rows);
    // runWorkers, not QtConcurrent's mapped results: its hand-over is one
    // ThreadSanitizer sees through, so the suite can look for races here.
    std::vector<QString> texts(static_cast<size_t>(parts));
    runWorkers(parts, [&](int part) {
        texts[size_t(part)] = listTextOf(files, what, rows * size_t(part) / size_t(parts),
            rows * size_t(part + 1) / size_t(parts));
    });
    qsizetype size = 0;
    for (const QString &part : texts)
        size += part.size();
    QString text;
    text.reserve(size);
    for (const QString &part : texts)
        text += part;
    return text;
}
