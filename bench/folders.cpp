// SPDX-License-Identifier: MIT
#include "folders.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

namespace {

// A name such as downloads, photo dumps and build trees hold: camera and
// screenshot names, documents in any letter case, build outputs and hashes,
// names without a dot or with several, some non-ASCII, a few hidden, and now
// and then one that is not UTF-8 at all.
std::string makeName(Random &random)
{
    static const char *const words[] = {
        "report",
        "invoice",
        "photo",
        "holiday",
        "budget",
        "notes",
        "draft",
        "final",
        "scan",
        "backup",
        "summary",
        "meeting",
        "project",
        "data",
        "export",
        "chapter",
        "song",
        "video",
        "clip",
        "letter",
        "receipt",
        "slides",
        "thesis",
        "figure",
        "sample",
        "test",
        "module",
        "config",
        "index",
        "main",
        "util",
        "widget",
        "parser",
        "render",
        "cache",
        "trace",
        "family",
        "wedding",
        "travel",
        "tax",
    };
    static const char *const extensions[] = {
        "jpg",
        "JPG",
        "jpeg",
        "png",
        "PNG",
        "gif",
        "heic",
        "pdf",
        "PDF",
        "docx",
        "xlsx",
        "pptx",
        "txt",
        "TXT",
        "md",
        "csv",
        "json",
        "xml",
        "html",
        "zip",
        "7z",
        "mp3",
        "flac",
        "mp4",
        "MOV",
        "mkv",
        "log",
        "bak",
        "iso",
        "exe",
        "ini",
        "cfg",
        "odt",
        "svg",
    };
    static const char *const buildExtensions[] = { "o", "d", "so", "a", "cpp", "h", "py", "js" };
    static const char *const separators[] = { " ", "_", "-", "" };
    static const char *const foreign[]
        = { "Résumé", "Übersicht", "фото", "写真", "café", "Ñandú", "naïve", "Ελλάδα" };

    auto word = [&random] {
        std::string w = random.pick(words);
        const int style = random.below(10);
        if (style < 3)
            w[0] = char(w[0] - 'a' + 'A');
        else if (style == 3)
            for (char &c : w)
                c = char(c - 'a' + 'A');
        return w;
    };
    auto number = [&random](int digits) {
        int limit = 1;
        for (int i = 0; i < digits; ++i)
            limit *= 10;
        return random.below(limit);
    };

    const int kind = random.below(1000);
    if (kind < 100)
        return format("IMG_%04d.%s", number(4), random.below(4) ? "JPG" : "HEIC");
    if (kind < 150)
        return format("DSC%05d.JPG", number(5));
    if (kind < 200)
        return format("PXL_20%02d%02d%02d_%09d.jpg", 15 + random.below(10), 1 + random.below(12),
            1 + random.below(28), number(9));
    if (kind < 260)
        return format("Screenshot 20%02d-%02d-%02d at %02d.%02d.%02d.png", 15 + random.below(10),
            1 + random.below(12), 1 + random.below(28), random.below(24), random.below(60),
            random.below(60));
    if (kind < 500) {
        std::string name = word() + random.pick(separators) + word();
        if (random.below(2))
            name += random.pick(separators) + std::to_string(number(1 + random.below(5)));
        if (random.below(8) == 0)
            name += format(" (%d)", 1 + random.below(9));
        return name + "." + random.pick(extensions);
    }
    if (kind < 620) {
        switch (random.below(4)) {
        case 0:
            return format("%s_%s%d.cpp.o", word().c_str(), word().c_str(), number(4));
        case 1:
            return format("lib%s%d.so.%d.%d", random.pick(words), number(3), random.below(10),
                random.below(30));
        case 2:
            return format("%08x%08x.%s", unsigned(random.next()), unsigned(random.next()),
                random.pick(buildExtensions));
        default:
            return format("%s%d.%s", random.pick(words), number(6), random.pick(buildExtensions));
        }
    }
    if (kind < 720) {
        switch (random.below(4)) {
        case 0:
            return format("file%d.txt", number(6));
        case 1:
            return format("track %02d - %s %s.mp3", 1 + random.below(30), word().c_str(),
                std::to_string(number(5)).c_str());
        case 2:
            return format("Chapter %d.md", number(6));
        default:
            return format("part%d.rar", number(6));
        }
    }
    if (kind < 860) { // no dot at all
        switch (random.below(4)) {
        case 0:
            return format("%s%d", word().c_str(), number(6));
        case 1:
            return format("%08x%08x%08x", unsigned(random.next()), unsigned(random.next()),
                unsigned(random.next()));
        case 2:
            return format("%s-%d-%s", random.pick(words), number(5), word().c_str());
        default:
            return format("README_%d", number(6));
        }
    }
    if (kind < 940) // several dots
        return format("%s-20%02d-%02d.%d.tar.gz", word().c_str(), 10 + random.below(15),
            1 + random.below(12), number(4));
    if (kind < 985) // not ASCII
        return format("%s %d.%s", random.pick(foreign), number(6), random.pick(extensions));
    if (kind < 995) // hidden
        return format(".%s_%d.swp", random.pick(words), number(6));
    if (random.below(20) == 0) // Latin-1, as old archives unpack
        return format("caf\xE9 %d.txt", number(6));
    return format("%s (%d).%s", word().c_str(), number(6), random.pick(extensions));
}

} // namespace

int makeFolder(const char *folder, long count, unsigned long seed, const char *extension)
{
    if (::mkdir(folder, 0755) != 0 && errno != EEXIST) {
        std::perror(folder);
        return 1;
    }
    const int dirFd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        std::perror(folder);
        return 1;
    }
    Random random { uint64_t(count) + seed };
    for (long made = 0; made < count;) {
        std::string name = makeName(random);
        if (extension && made % 2 == 0)
            name += std::string(".") + extension;
        const int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue; // drawn twice; draw again
            std::perror(name.c_str());
            return 1;
        }
        ::close(fd);
        ++made;
    }
    ::close(dirFd);
    return 0;
}

} // namespace bench
