// SPDX-License-Identifier: MIT
#include "core/filerows.h"

#include "core/paths.h"

#include <cstring>

bool FileRows::append(QByteArrayView name)
{
    const size_t offset = m_bytes.size();
    if (name.size() > MaxNameLength || size() >= m_maxRows
        || offset + size_t(name.size()) > size_t(m_maxBytes))
        return false;
    m_bytes.insert(m_bytes.end(), name.begin(), name.end());
    m_rows.push_back(
        Row { uint32_t(offset), uint16_t(name.size()), uint16_t(fileExtensionBytes(name).size()) });
    return true;
}

void FileRows::truncate(qsizetype count)
{
    if (count >= size())
        return;
    m_bytes.resize(m_rows[size_t(count)].offset);
    m_rows.resize(size_t(count));
}

qsizetype FileRows::memoryUse() const
{
    return qsizetype(m_bytes.capacity() + m_rows.capacity() * sizeof(Row));
}
