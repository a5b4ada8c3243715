// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// The display order of a list's rows (display position -> row number), held
// once and shared by every copy: the list shown, the undo steps that can bring
// it back, a save or a search on a worker. A copy costs a reference; the
// first change of a shared order copies it, and a change of an order no
// other copy holds is made in place.
class RowOrder
{
public:
    RowOrder() = default;
    RowOrder(std::vector<uint32_t> positions)
        : m_rows(std::make_shared<std::vector<uint32_t>>(std::move(positions)))
    { }

    size_t size() const { return m_rows ? m_rows->size() : 0; }
    bool empty() const { return size() == 0; }
    uint32_t operator[](size_t position) const { return (*m_rows)[position]; }
    const uint32_t *begin() const { return m_rows ? m_rows->data() : nullptr; }
    const uint32_t *end() const { return begin() + size(); }
    const std::vector<uint32_t> &values() const { return m_rows ? *m_rows : none(); }

    // The order to change: this copy's alone from now on. O(n) when shared.
    std::vector<uint32_t> &edit()
    {
        // Held here only, no other thread can take a copy meanwhile.
        if (!m_rows || m_rows.use_count() > 1)
            m_rows = std::make_shared<std::vector<uint32_t>>(values());
        return *m_rows;
    }

    // Whether both are the same storage, not only the same positions.
    bool shares(const RowOrder &other) const { return m_rows == other.m_rows; }
    // The storage, to count what several copies hold once.
    const void *storage() const { return m_rows.get(); }
    size_t memoryUse() const { return m_rows ? m_rows->capacity() * sizeof(uint32_t) : 0; }

    friend bool operator==(const RowOrder &a, const RowOrder &b)
    {
        return a.values() == b.values();
    }
    friend bool operator==(const RowOrder &a, const std::vector<uint32_t> &b)
    {
        return a.values() == b;
    }

private:
    static const std::vector<uint32_t> &none()
    {
        static const std::vector<uint32_t> empty;
        return empty;
    }

    // Never changed while another copy holds it.
    std::shared_ptr<std::vector<uint32_t>> m_rows;
};
