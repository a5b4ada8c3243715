// SPDX-License-Identifier: MIT
#include "core/pickedplace.h"

#include <QStringList>

PickedPlace::PickedPlace(
    const FileArrangement &files, const std::vector<uint32_t> &selected, int current, int top)
{
    m_names.reserve(std::min<size_t>(selected.size(), size_t(MostRows)) + 2);
    if (selected.size() <= size_t(MostRows)) {
        for (const uint32_t position : selected)
            pick(*files.rows, files.order[position], Selected);
    }
    for (const auto &[position, role] : { std::pair { current, Current }, { top, Top } }) {
        if (position >= 0 && size_t(position) < files.order.size())
            pick(*files.rows, files.order[size_t(position)], role);
    }
}

void PickedPlace::pick(const FileRows &rows, uint32_t row, uint8_t role)
{
    QHash<QByteArrayView, uint8_t> &names = m_byFolder[rows.folder(row)];
    const QByteArrayView name = rows.name(row);
    if (auto known = names.find(name); known != names.end()) {
        *known |= role;
        return;
    }
    // The hash's views point into m_names, whose elements do not move their bytes.
    m_names.push_back(name.toByteArray());
    m_lengths[size_t(name.size())] = true;
    names.insert(QByteArrayView(m_names.back()), role);
}

PickedPlace::Found PickedPlace::find(const FileArrangement &files, qsizetype from) const
{
    Found found;
    const FileRows &rows = *files.rows;
    if (isEmpty() || from >= rows.size())
        return found;
    // The roles of the rows from `from` on, by row number.
    std::vector<uint8_t> roles(size_t(rows.size() - from));
    bool any = false;
    for (qsizetype row = from, end = 0; row < rows.size(); row = end) {
        const auto folder = m_byFolder.constFind(rows.folder(row, nullptr, &end));
        if (folder == m_byFolder.cend())
            continue; // none picked from this folder
        for (qsizetype r = row; r < end; ++r) {
            const QByteArrayView name = rows.name(r);
            if (!m_lengths[size_t(name.size())])
                continue;
            const uint8_t role = folder->value(name);
            roles[size_t(r - from)] = role;
            any = any || role;
        }
    }
    if (!any)
        return found;
    for (size_t position = 0; position < files.order.size(); ++position) {
        const qsizetype row = files.order[position];
        if (row < from)
            continue;
        const uint8_t role = roles[size_t(row - from)];
        if (role & Selected)
            found.selected.push_back(uint32_t(position));
        if (role & Current)
            found.current = int(position);
        if (role & Top)
            found.top = int(position);
    }
    return found;
}

std::vector<uint32_t> PickedPlace::rowsOf(const FileArrangement &files, const QStringList &folders)
{
    const FileRows &rows = *files.rows;
    std::vector<bool> wanted(size_t(rows.size()));
    for (qsizetype row = 0, end = 0; row < rows.size(); row = end) {
        const bool listed = folders.contains(rows.folder(row, nullptr, &end));
        for (qsizetype r = row; listed && r < end; ++r)
            wanted[size_t(r)] = true;
    }
    std::vector<uint32_t> positions;
    for (size_t position = 0; position < files.order.size(); ++position) {
        if (wanted[files.order[position]])
            positions.push_back(uint32_t(position));
    }
    return positions;
}

PickedPlace::Found PickedPlace::broughtBack(std::vector<uint32_t> positions)
{
    Found found;
    if (positions.empty())
        return found;
    found.current = int(positions.front());
    if (positions.size() > size_t(MostRows))
        positions.resize(1);
    found.selected = std::move(positions);
    return found;
}
