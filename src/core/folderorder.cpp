// SPDX-License-Identifier: MIT
#include "core/folderorder.h"

#include "core/collation.h"
#include "core/filerows.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// A folder path cut into its parts, each with its collation key.
struct FolderPath
{
    QList<QByteArrayView> parts;
    std::vector<std::vector<uint8_t>> keys;
};

int compare(const FolderPath &a, const FolderPath &b)
{
    for (qsizetype i = 0; i < a.parts.size() && i < b.parts.size(); ++i) {
        if (const int c = std::strcmp(reinterpret_cast<const char *>(a.keys[size_t(i)].data()),
                reinterpret_cast<const char *>(b.keys[size_t(i)].data())))
            return c;
        if (const int c = a.parts[i].compare(b.parts[i]))
            return c;
    }
    return a.parts.size() < b.parts.size() ? -1 : a.parts.size() > b.parts.size() ? 1 : 0;
}

// Each folder's place in the order of folder paths; equal paths share it.
std::vector<uint32_t> ranks(const QList<QByteArrayView> &folders)
{
    Collator collator;
    std::vector<FolderPath> paths(size_t(folders.size()));
    for (qsizetype f = 0; f < folders.size(); ++f) {
        if (folders[f].isEmpty())
            continue;
        FolderPath &path = paths[size_t(f)];
        for (QByteArrayView rest = folders[f];;) {
            const qsizetype slash = rest.indexOf('/');
            const QByteArrayView part = slash < 0 ? rest : rest.first(slash);
            path.parts << part;
            collator.appendKey(part, path.keys.emplace_back());
            if (slash < 0)
                break;
            rest = rest.sliced(slash + 1);
        }
    }
    std::vector<uint32_t> byPath(paths.size());
    std::iota(byPath.begin(), byPath.end(), 0u);
    std::stable_sort(byPath.begin(), byPath.end(),
        [&](uint32_t a, uint32_t b) { return compare(paths[a], paths[b]) < 0; });
    std::vector<uint32_t> rank(paths.size());
    for (size_t i = 0; i < byPath.size(); ++i)
        rank[byPath[i]] = i > 0 && compare(paths[byPath[i - 1]], paths[byPath[i]]) == 0
            ? rank[byPath[i - 1]]
            : uint32_t(i);
    return rank;
}

} // namespace

std::shared_ptr<const SortKeys> folderOrderKeys(const FileRows &rows)
{
    // The folders, each once; a folder's rows mostly follow one another.
    QHash<QByteArrayView, uint32_t> index;
    QList<QByteArrayView> folders;
    std::vector<uint32_t> folderOf(size_t(rows.size()));
    QByteArrayView last;
    uint32_t lastIndex = 0;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QByteArrayView name = rows.name(row);
        const QByteArrayView folder = name.first(std::max<qsizetype>(name.lastIndexOf('/'), 0));
        if (row == 0 || folder != last) {
            const auto found = index.constFind(folder);
            lastIndex = found != index.cend() ? *found : uint32_t(folders.size());
            if (found == index.cend()) {
                index.insert(folder, lastIndex);
                folders << folder;
            }
            last = folder;
        }
        folderOf[size_t(row)] = lastIndex;
    }
    const std::vector<uint32_t> rank = ranks(folders);
    constexpr size_t KeySize = 6;
    if (folderOf.size() > size_t(SortKeys::MaxBytes) / KeySize)
        return nullptr;

    // Each rank in five bytes of seven bits, none of them zero, then the
    // key's end: keys compare as their ranks do.
    std::vector<uint8_t> bytes(folderOf.size() * KeySize);
    std::vector<uint32_t> offsets(folderOf.size());
    for (size_t row = 0; row < folderOf.size(); ++row) {
        const uint32_t r = rank[folderOf[row]];
        uint8_t *key = bytes.data() + row * KeySize;
        for (int i = 0; i < 5; ++i)
            key[i] = uint8_t(((uint64_t(r) >> (7 * (4 - i))) & 0x7F) + 1);
        key[5] = 0;
        offsets[row] = uint32_t(row * KeySize);
    }
    return std::make_shared<const SortKeys>(std::move(bytes), std::move(offsets));
}
