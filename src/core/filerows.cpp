// SPDX-License-Identifier: MIT
#include "core/filerows.h"

#include "core/paths.h"

#include <algorithm>
#include <cstring>

bool FileRows::append(QByteArrayView folder, QByteArrayView name)
{
    const size_t offset = m_bytes.size();
    const qsizetype length = folder.size() + name.size();
    if (length > MaxNameLength || size() >= m_maxRows
        || offset + size_t(length) > size_t(m_maxBytes))
        return false;
    m_bytes.insert(m_bytes.end(), folder.begin(), folder.end());
    m_bytes.insert(m_bytes.end(), name.begin(), name.end());
    m_rows.push_back(
        Row { uint32_t(offset), uint16_t(length), uint16_t(GetFileExtension(name).size()) });
    m_paths = m_paths || !folder.isEmpty() || name.contains('/');
    return true;
}

void FileRows::truncate(qsizetype count)
{
    if (count >= size())
        return;
    m_bytes.resize(m_rows[size_t(count)].offset);
    m_rows.resize(size_t(count));
    while (!m_folders.empty() && m_folders.back().first > count)
        m_folders.pop_back();
}

FileRows FileRows::remainingSpace() const
{
    return FileRows(m_maxRows - size(), m_maxBytes - qsizetype(m_bytes.size()));
}

void FileRows::appendCopy(const FileRows &other, qsizetype from, qsizetype to)
{
    if (from >= to)
        return;
    const Row &first = other.m_rows[size_t(from)], &last = other.m_rows[size_t(to - 1)];
    const auto shift = int64_t(m_bytes.size()) - int64_t(first.offset);
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin() + first.offset,
        other.m_bytes.begin() + last.offset + last.length);
    m_paths = m_paths || other.m_paths;
    // Grown by half again at least: a listing copied batch by batch
    // (ListingPreview) would otherwise copy all its rows at every batch.
    const size_t wanted = m_rows.size() + size_t(to - from);
    if (wanted > m_rows.capacity())
        m_rows.reserve(std::max(wanted, m_rows.capacity() + m_rows.capacity() / 2));
    const qsizetype base = size();
    for (qsizetype row = from; row < to; ++row) {
        Row copy = other.m_rows[size_t(row)];
        copy.offset = uint32_t(copy.offset + shift);
        m_rows.push_back(copy);
    }
    // The rows' folders come with them, so that a copy knows what each row is.
    if (other.m_folders.empty())
        return;
    markFolder(base, other.folder(from));
    for (const auto &[first, folder] : other.m_folders) {
        if (first > from && first < to)
            markFolder(base + first - from, folder);
    }
}

void FileRows::markFolder(qsizetype row, const QString &folder)
{
    if (!m_folders.empty() && m_folders.back().second == folder)
        return;
    if (m_folders.empty() && folder.isNull())
        return;
    if (!m_folders.empty() && m_folders.back().first == row)
        m_folders.pop_back();
    m_folders.emplace_back(row, folder);
}

void FileRows::append(FileRows &&other)
{
    if (isEmpty()) {
        // The whole listing in one folder, the usual case: nothing to copy.
        const qsizetype maxRows = m_maxRows, maxBytes = m_maxBytes;
        auto folders = std::move(m_folders);
        const bool paths = m_paths;
        *this = std::move(other);
        m_paths = m_paths || paths;
        m_maxRows = maxRows;
        m_maxBytes = maxBytes;
        m_folders = std::move(folders);
        return;
    }
    const auto shift = uint32_t(m_bytes.size());
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
    m_paths = m_paths || other.m_paths;
    m_rows.reserve(m_rows.size() + other.m_rows.size());
    for (Row row : other.m_rows) {
        row.offset += shift;
        m_rows.push_back(row);
    }
    other = FileRows();
}

void FileRows::reserve(qsizetype rows, qsizetype bytes)
{
    m_rows.reserve(size_t(rows));
    m_bytes.reserve(size_t(bytes));
}

void FileRows::squeeze()
{
    m_bytes.shrink_to_fit();
    m_rows.shrink_to_fit();
}

qsizetype FileRows::memoryUse() const
{
    return qsizetype(m_bytes.capacity() + m_rows.capacity() * sizeof(Row));
}

bool FileRows::operator==(const FileRows &other) const
{
    return m_rows.size() == other.m_rows.size() && m_paths == other.m_paths
        && m_folders == other.m_folders && m_rows == other.m_rows && m_bytes == other.m_bytes;
}

void FileRows::beginFolder(const QString &folder)
{
    // A folder that gave no rows is replaced by the next one, which starts at the same row.
    if (!m_folders.empty() && m_folders.back().first == size())
        m_folders.pop_back();
    m_folders.emplace_back(size(), folder);
}

QString FileRows::folder(qsizetype row, qsizetype *first, qsizetype *end) const
{
    const auto after = std::upper_bound(m_folders.begin(), m_folders.end(), row,
        [](qsizetype row, const std::pair<qsizetype, QString> &folder) {
            return row < folder.first;
        });
    if (first)
        *first = after == m_folders.begin() ? 0 : std::prev(after)->first;
    if (end)
        *end = after == m_folders.end() ? size() : after->first;
    return after == m_folders.begin() ? QString() : std::prev(after)->second;
}
