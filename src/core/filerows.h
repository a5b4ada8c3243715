// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

// The rows of a listing: file names exactly as the file system gave them,
// packed into one byte arena. A row costs 8 bytes plus its name, so a million
// rows fit in a few tens of MiB; names are decoded only when shown. A row
// listed from a sub-folder holds its path from the folder listed
// ("2026-05/IMG_1.jpg"); a file's own name never holds a '/'.
class FileRows
{
public:
    // Longest name a row holds; far above any file system's limit.
    static constexpr qsizetype MaxNameLength = UINT16_MAX;
    // Most rows and name bytes held: rows are numbered with int by the views,
    // and names are found by 32-bit offsets.
    static constexpr qsizetype MaxRows = INT_MAX;
    static constexpr qsizetype MaxBytes = UINT32_MAX;

    // Lower limits let a test reach them without gigabytes of names.
    explicit FileRows(qsizetype maxRows = MaxRows, qsizetype maxBytes = MaxBytes)
        : m_maxRows(qMin(maxRows, MaxRows))
        , m_maxBytes(qMin(maxBytes, MaxBytes))
    { }

    qsizetype size() const { return qsizetype(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }

    QByteArrayView name(qsizetype row) const
    {
        const Row &r = m_rows[size_t(row)];
        return QByteArrayView(m_bytes.data() + r.offset, r.length);
    }
    // Asks the memory for the row's place, and with bytes its name, ahead
    // of reading it: rows read in display order are scattered in memory.
    void prefetch(qsizetype row, bool bytes) const
    {
#if defined(__GNUC__)
        const Row &r = m_rows[size_t(row)];
        __builtin_prefetch(bytes ? m_bytes.data() + r.offset : static_cast<const void *>(&r));
#else
        Q_UNUSED(row);
        Q_UNUSED(bytes);
#endif
    }
    // The file's own name: the row's name after its last '/', if any.
    QByteArrayView fileName(qsizetype row) const
    {
        const QByteArrayView whole = name(row);
        // Rows listed from one folder hold no '/': a key each, never looked for.
        if (!m_paths)
            return whole;
        return whole.sliced(whole.lastIndexOf('/') + 1);
    }
    // Whether some row holds a path from a sub-folder; after a truncate it may
    // still say so.
    bool hasPaths() const
    {
        return m_paths;
    }
    // The bytes of all names.
    qsizetype nameBytes() const
    {
        return qsizetype(m_bytes.size());
    }

    // The name's extension, a suffix of name(); see GetFileExtension().
    QByteArrayView extension(qsizetype row) const
    {
        const Row &r = m_rows[size_t(row)];
        return QByteArrayView(
            m_bytes.data() + r.offset + r.length - r.extensionLength, r.extensionLength);
    }

    // The reason a listing gives when it would pass a limit.
    static QString limitReason()
    {
        return QCoreApplication::translate("FileRows", "Too many files to list.");
    }

    // Appends one row. Fails only when the rows would pass their limits of
    // count or bytes, or the name is longer than MaxNameLength.
    bool append(QByteArrayView name)
    {
        return append({}, name);
    }
    // Appends the row folder + name, folder being a path from the folder
    // listed and its '/' (or nothing): the extension is name's own.
    bool append(QByteArrayView folder, QByteArrayView name);

    // Drops every row from position count on, e.g. a folder that failed half-way.
    void truncate(qsizetype count);

    // Appends a copy of rows [from, to) of other, which were appended
    // one after another, with their folders; the limits are not checked.
    void appendCopy(const FileRows &other, qsizetype from, qsizetype to);

    // Empty rows that may hold what these can still take, for a folder read
    // apart and then appended with append(FileRows &&).
    FileRows remainingSpace() const;
    // Appends every row of other, which remainingSpace() made: O(other's bytes).
    void append(FileRows &&other);

    // Makes room for rows and bytes of names in all, so that appending up
    // to them copies nothing already held.
    void reserve(qsizetype rows, qsizetype bytes);
    // Gives back the room kept for more rows: a listing done grows no more,
    // and its buffers, grown by doubling, may be half empty. O(bytes).
    void squeeze();

    // Bytes held, for the benchmark's memory figures.
    qsizetype memoryUse() const;

    // The same names, folder for folder, in the same order. O(bytes).
    bool operator==(const FileRows &other) const;

    // Marks the rows appended from now on as listed from folder, so that a
    // row's path can be told. Rows appended before any mark have no folder.
    void beginFolder(const QString &folder);
    // The folder the row was listed from, or a null string. O(log folders).
    // The rows from *first up to *end, when asked, came from the same folder.
    QString folder(qsizetype row, qsizetype *first = nullptr, qsizetype *end = nullptr) const;

private:
    // The rows from row on came from folder.
    void markFolder(qsizetype row, const QString &folder);

    struct Row
    {
        uint32_t offset;
        uint16_t length;
        uint16_t extensionLength;
        bool operator==(const Row &) const = default;
    };
    std::vector<char> m_bytes;
    std::vector<Row> m_rows;
    // Each folder's first row, in listing order: a few entries per listing
    // rather than a folder per row.
    std::vector<std::pair<qsizetype, QString>> m_folders;
    qsizetype m_maxRows;
    qsizetype m_maxBytes;
    bool m_paths = false;
};
