// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QLocale>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class FileRows;
struct UCollator;

// Orders names the way a file manager does: by the rules of the user's
// language, ignoring letter case, and reading runs of digits as numbers, so
// "file2" comes before "file10".
//
// By default the rules are those of the session's collation locale: LC_ALL,
// else LC_COLLATE, else LANG, as sort(1) reads them; the language of the texts
// (LANGUAGE, LC_MESSAGES) has no say in the order.
//
// Under the C/POSIX locale ICU would fall back to a byte-order tailoring that
// is neither case-insensitive nor natural, so the neutral root order is used.
class Collator
{
public:
    explicit Collator(const QLocale &locale = QLocale::system().collation());
    ~Collator();
    // A collator of the same rules for another thread: one is not to be
    // shared between threads.
    Collator(const Collator &other);
    Collator &operator=(const Collator &) = delete;

    // Appends the NUL-terminated binary key of a UTF-8 name to out. Keys
    // compare with memcmp/strcmp in the collation order. Bytes that are not
    // valid UTF-8 count as U+FFFD.
    void appendKey(QByteArrayView utf8, std::vector<uint8_t> &out);

private:
    UCollator *m_collator = nullptr;
    std::vector<char16_t> m_utf16; // scratch, reused for every name
};

// One binary sort key per row, computed once and kept until the rows change.
class SortKeys
{
public:
    // Most key bytes held, as keys are found by 32-bit offsets. Keys are
    // longer than their names, so the rows' own limit does not keep to it.
    static constexpr qsizetype MaxBytes = UINT32_MAX;

    // Keys of every row's own file name (see FileRows::fileName()), or of its
    // extension when byExtension. When stopped says so (asked every few
    // thousand rows, on the calling thread only), or when the keys would pass
    // maxBytes (a lower limit is for tests), they are left incomplete:
    // complete() is false, and tooLarge() tells the second case. With workers above one, blocks of
    // rows are shared out among that many threads, each with a copy of collator; the keys are the
    // same bytes either way.
    SortKeys(const FileRows &rows, bool byExtension, Collator &collator,
        const std::function<bool()> &stopped = {}, qsizetype maxBytes = MaxBytes, int workers = 1);

    // Keys made elsewhere, in row order (see KeysAhead): offsets[row] is
    // where the key of row begins in bytes.
    SortKeys(std::vector<uint8_t> bytes, std::vector<uint32_t> offsets)
        : m_bytes(std::move(bytes))
        , m_offsets(std::move(offsets))
    { }

    bool complete() const { return m_complete; }
    bool tooLarge() const { return m_tooLarge; }

    const char *key(uint32_t row) const
    {
        return reinterpret_cast<const char *>(m_bytes.data() + m_offsets[row]);
    }
    // Eight key bytes from depth on as one big-endian number, zero-padded
    // past the key's end: most comparisons end on it without touching the key
    // itself. The key must not end before depth.
    uint64_t prefix(uint32_t row, size_t depth = 0) const
    {
        const uint8_t *bytes = m_bytes.data() + m_offsets[row] + depth;
        uint64_t value = 0;
        int i = 0;
        for (; i < 8 && bytes[i]; ++i)
            value = (value << 8) | bytes[i];
        return i == 0 ? 0 : value << (8 * (8 - i));
    }

    qsizetype memoryUse() const
    {
        return qsizetype(m_bytes.capacity() + m_offsets.capacity() * sizeof(uint32_t));
    }

private:
    void makeInParallel(const FileRows &rows, bool byExtension, Collator &collator,
        const std::function<bool()> &stopped, size_t limit, int workers);

    std::vector<uint8_t> m_bytes;
    std::vector<uint32_t> m_offsets;
    bool m_complete = true;
    bool m_tooLarge = false;
};
