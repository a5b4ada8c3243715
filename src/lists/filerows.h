#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <vector>

// The rows of a listing: file names exactly as the file system gave them,
// packed into one byte arena. A row costs 8 bytes plus its name, so a million
// rows fit in a few tens of MiB; names are decoded only when shown.
class FileRows
{
public:
    // Longest name a row holds; far above any file system's limit.
    static constexpr qsizetype MaxNameLength = UINT16_MAX;

    qsizetype size() const { return qsizetype(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }

    QByteArrayView name(qsizetype row) const
    {
        const Row &r = m_rows[size_t(row)];
        return QByteArrayView(m_bytes.data() + r.offset, r.length);
    }
    // The name's extension, a suffix of name(); see fileExtensionBytes().
    QByteArrayView extension(qsizetype row) const
    {
        const Row &r = m_rows[size_t(row)];
        return QByteArrayView(
            m_bytes.data() + r.offset + r.length - r.extensionLength, r.extensionLength);
    }

    // Appends one row. Fails only when the arena would pass 4 GiB of names
    // or the name is longer than MaxNameLength.
    bool append(QByteArrayView name);

    // Drops every row from position count on, e.g. a folder that failed half-way.
    void truncate(qsizetype count);

    // Bytes held, for the benchmark's memory figures.
    qsizetype memoryUse() const;

private:
    struct Row
    {
        uint32_t offset;
        uint16_t length;
        uint16_t extensionLength;
    };
    std::vector<char> m_bytes;
    std::vector<Row> m_rows;
};
