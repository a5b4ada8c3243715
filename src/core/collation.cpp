// SPDX-License-Identifier: MIT
#include "core/collation.h"

#include "core/filerows.h"
#include "core/heaptuning.h"
#include "core/parallel.h"

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>

#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace {

// The ICU locale used for `locale`; empty means the neutral root order.
QByteArray icuLocaleName(const QLocale &locale)
{
    if (locale.language() == QLocale::C)
        return QByteArray();
    return locale.name().toLatin1();
}

} // namespace

Collator::Collator(const QLocale &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open(icuLocaleName(locale).constData(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_collator = ucol_open("", &status);
    }
    Q_ASSERT(U_SUCCESS(status) && m_collator);
    // Secondary strength: letter case no longer counts, accents still do.
    ucol_setAttribute(m_collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
}

Collator::Collator(const Collator &other)
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_clone(other.m_collator, &status);
    Q_ASSERT(U_SUCCESS(status) && m_collator);
}

Collator::~Collator()
{
    ucol_close(m_collator);
}

void Collator::appendKey(QByteArrayView utf8, std::vector<uint8_t> &out)
{
    // A UTF-8 name never needs more UTF-16 units than it has bytes.
    if (m_utf16.size() < size_t(utf8.size()) + 1)
        m_utf16.resize(size_t(utf8.size()) + 1);
    // Most names are ASCII, which widens byte by byte: ICU's converter only
    // for the rest.
    int32_t length = 0;
    while (length < utf8.size() && uint8_t(utf8[length]) < 0x80) {
        m_utf16[size_t(length)] = char16_t(utf8[length]);
        ++length;
    }
    if (length < utf8.size()) {
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(reinterpret_cast<UChar *>(m_utf16.data()), int32_t(m_utf16.size()),
            &length, utf8.data(), int32_t(utf8.size()), 0xFFFD, nullptr, &status);
    }
    const auto *text = reinterpret_cast<const UChar *>(m_utf16.data());

    // Most keys fit the scratch room; only a longer one is asked for twice.
    uint8_t room[512];
    const int32_t needed = ucol_getSortKey(m_collator, text, length, room, int32_t(sizeof room));
    if (size_t(needed) <= sizeof room) {
        out.insert(out.end(), room, room + needed);
        return;
    }
    const size_t start = out.size();
    out.resize(start + size_t(needed));
    ucol_getSortKey(m_collator, text, length, out.data() + start, needed);
}

SortKeys::SortKeys(const FileRows &rows, bool byExtension, Collator &collator,
    const std::function<bool()> &stopped, qsizetype maxBytes, int workers)
{
    const size_t limit = size_t(qMin(maxBytes, MaxBytes));
    if (workers > 1) {
        makeInParallel(rows, byExtension, collator, stopped, limit, workers);
        return;
    }
    m_offsets.reserve(size_t(rows.size()));
    m_bytes.reserve(qMin(size_t(rows.size()) * (byExtension ? 8 : 32), limit));
    for (qsizetype row = 0; row < rows.size(); ++row) {
        // A million keys take most of a second: a cancelled sort must not.
        if (stopped && row % 8192 == 0 && stopped()) {
            m_complete = false;
            return;
        }
        m_offsets.push_back(uint32_t(m_bytes.size()));
        collator.appendKey(byExtension ? rows.extension(row) : rows.fileName(row), m_bytes);
        if (m_bytes.size() > limit) {
            m_complete = false;
            m_tooLarge = true;
            m_bytes = std::vector<uint8_t>();
            m_offsets = std::vector<uint32_t>();
            return;
        }
    }
    m_bytes.shrink_to_fit();
}

namespace {

// Keys made in blocks of rows on several threads, appended to the keys in row
// order as soon as the blocks before them are, so that few are held at once:
// memory stays as on one thread. Keys past the limit stop every thread.
class BlockJoin
{
public:
    BlockJoin(std::vector<uint8_t> &bytes, std::vector<uint32_t> &offsets, size_t rows,
        size_t blockRows, size_t limit)
        : m_bytes(bytes)
        , m_offsets(offsets)
        , m_rows(rows)
        , m_blockRows(blockRows)
        , m_blocks((rows + blockRows - 1) / blockRows)
        , m_limit(limit)
        , m_made(m_blocks)
    { }

    size_t blocks() const { return m_blocks; }
    std::atomic<bool> stop = false, tooLarge = false;

    // Hands over the keys of block, whose offsets are its own: appended if
    // it is the next, else kept until it is. True when kept: keys is then
    // empty, and the caller goes on in new memory.
    bool hand(size_t block, std::vector<uint8_t> &keys)
    {
        const std::lock_guard lock(m_joining);
        const bool kept = !append(block, keys);
        if (kept)
            m_made[block] = std::move(keys);
        // Keys hold at least their end byte: a kept block is never empty.
        while (m_appended < m_blocks && !m_made[m_appended].empty()) {
            const size_t next = m_appended;
            append(next, m_made[next]);
            m_made[next] = std::vector<uint8_t>();
        }
        return kept;
    }

private:
    bool append(size_t block, const std::vector<uint8_t> &keys)
    {
        if (block != m_appended)
            return false;
        if (m_bytes.size() + keys.size() > m_limit) {
            tooLarge = true;
            stop = true;
        } else {
            const uint32_t base = uint32_t(m_bytes.size());
            const size_t end = std::min(m_rows, (block + 1) * m_blockRows);
            for (size_t row = block * m_blockRows; row < end; ++row)
                m_offsets[row] += base;
            m_bytes.insert(m_bytes.end(), keys.begin(), keys.end());
        }
        ++m_appended;
        return true;
    }

    std::vector<uint8_t> &m_bytes;
    std::vector<uint32_t> &m_offsets;
    const size_t m_rows, m_blockRows, m_blocks, m_limit;
    std::mutex m_joining;
    size_t m_appended = 0; // blocks in m_bytes; m_bytes and m_made guarded by m_joining
    std::vector<std::vector<uint8_t>> m_made; // blocks made out of turn
};

} // namespace

void SortKeys::makeInParallel(const FileRows &rows, bool byExtension, Collator &collator,
    const std::function<bool()> &stopped, size_t limit, int workers)
{
    // Blocks are taken in turn, so that a thread slowed by long names or by
    // another process does not hold up the rest.
    const size_t n = size_t(rows.size());
    const size_t blockRows = std::clamp(n / (size_t(workers) * 8), size_t(256), size_t(8192));
    m_offsets.resize(n); // each block's own offsets until appended
    m_bytes.reserve(qMin(n * (byExtension ? 8 : 32), limit));
    BlockJoin join(m_bytes, m_offsets, n, blockRows, limit);
    std::atomic<size_t> nextBlock = 0;
    runWorkers(workers, [&](int worker) {
        std::optional<Collator> copy;
        // Reused from block to block while they come in order.
        std::vector<uint8_t> bytes;
        bytes.reserve(blockRows * (byExtension ? 8 : 32));
        for (;;) {
            if (join.stop.load(std::memory_order_relaxed))
                return;
            // Worker 0 is the calling thread, the one stopped may be asked on.
            if (worker == 0 && stopped && stopped()) {
                join.stop = true;
                return;
            }
            const size_t block = nextBlock.fetch_add(1, std::memory_order_relaxed);
            if (block >= join.blocks())
                return;
            Collator &own = worker == 0 ? collator : (copy ? *copy : copy.emplace(collator));
            bytes.clear();
            const size_t end = std::min(n, (block + 1) * blockRows);
            for (size_t row = block * blockRows; row < end; ++row) {
                m_offsets[row] = uint32_t(bytes.size());
                own.appendKey(
                    byExtension ? rows.extension(qsizetype(row)) : rows.fileName(qsizetype(row)),
                    bytes);
            }
            if (join.hand(block, bytes))
                bytes.reserve(blockRows * (byExtension ? 8 : 32));
        }
    });
    const bool stop = join.stop, tooLarge = join.tooLarge;
    if (stop) {
        m_complete = false;
        m_tooLarge = tooLarge;
        m_bytes = std::vector<uint8_t>();
        m_offsets = std::vector<uint32_t>();
        return;
    }
    // The other threads' freed blocks stay resident in their own heaps:
    // hand them back before the shrink's copy makes the peak.
    trimHeap();
    m_bytes.shrink_to_fit();
}
