// SPDX-License-Identifier: MIT
#include "window/droprules.h"

#include "core/displaytext.h"
#include "core/systemreason.h"
#include "window/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <climits>

#include <sys/stat.h>

namespace DropRules {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DropRules", text);
}

Dropped refused(QByteArray dropped, QString reason)
{
    return { QString(), std::move(dropped), std::move(reason) };
}

// A file url names this computer by no host, by "localhost", or by its own name.
bool isThisComputer(const QString &host)
{
    return host.isEmpty() || host.compare(u"localhost", Qt::CaseInsensitive) == 0
        || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

// The folder part of a path's bytes; a file in the root gives the root.
QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// "//" and "/./" name what "/" names, and a trailing slash the same folder:
// the folder list would hold one folder twice under two spellings. ".." is
// kept, since a symbolic link before it changes what it names.
QByteArray cleaned(const QByteArray &path)
{
    QByteArray clean;
    clean.reserve(path.size());
    for (const QByteArray &part : path.split('/')) {
        if (!part.isEmpty() && part != ".")
            clean.append('/').append(part);
    }
    return clean.isEmpty() ? QByteArray("/") : clean;
}

// The scheme an argument begins with, as "smb" in "smb://server/share": a
// letter, then letters, digits, "+", "-" or ".", then ":". Empty when none.
QByteArrayView schemeOf(QByteArrayView argument)
{
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const qsizetype colon = argument.indexOf(':');
    if (colon <= 0 || !isLetter(argument[0]))
        return {};
    const QByteArrayView scheme = argument.first(colon);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [&](char c) {
        return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    });
    return valid ? scheme : QByteArrayView();
}

bool isFileScheme(QByteArrayView scheme)
{
    return scheme.compare("file", Qt::CaseInsensitive) == 0;
}

// Whether an argument is an address rather than a path: a scheme and "//",
// or "file:" and a full path. A path that merely holds a ":" ("a:b",
// "notes:/x") stays a path.
bool isAddress(QByteArrayView argument)
{
    const QByteArrayView scheme = schemeOf(argument);
    if (scheme.isEmpty())
        return false;
    const QByteArrayView rest = argument.sliced(scheme.size() + 1);
    return rest.startsWith("//") || (isFileScheme(scheme) && rest.startsWith('/'));
}

// An address as a url holds it: the bytes a url never holds as they are
// (spaces, controls, bytes past ASCII, ...) percent-encoded, its own escapes
// kept. In a file address "?", "#", "[" and "]" are part of the path given.
QUrl addressUrl(QByteArrayView argument)
{
    const QByteArrayView encoded
        = isFileScheme(schemeOf(argument)) ? " \"<>\\^`{|}?#[]" : " \"<>\\^`{|}";
    QByteArray url;
    for (const char c : argument) {
        if (uchar(c) <= 0x20 || uchar(c) >= 0x7f || encoded.contains(c))
            url += '%' + QByteArray(1, c).toHex().toUpper();
        else
            url += c;
    }
    return QUrl::fromEncoded(url);
}

} // namespace

bool acceptsDrop(const QList<QUrl> &urls, Qt::DropActions actions)
{
    return !urls.isEmpty() && (actions & Qt::CopyAction);
}

bool acceptsDrop(const QMimeData *data, Qt::DropActions actions)
{
    return data && data->hasUrls() && acceptsDrop(data->urls(), actions);
}

bool takeDrop(QDropEvent *event)
{
    if (!acceptsDrop(event->mimeData(), event->possibleActions())) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

Dropped examine(const QUrl &url)
{
    // The path's own bytes: toLocalFile() would have turned bytes that are
    // not UTF-8 into U+FFFD, naming another path or none.
    const QByteArray path
        = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!url.isLocalFile()) {
        return refused(url.toString(QUrl::RemoveUserInfo).toUtf8(),
            tr("It is not a file or folder of this computer; only those can be listed."));
    }
    if (!isThisComputer(url.host())) {
        return refused(url.toString(QUrl::RemoveUserInfo).toUtf8(),
            tr("It is on another computer; only folders of this computer can be listed."));
    }
    if (!path.startsWith('/'))
        return refused(url.toString().toUtf8(), tr("It is not a full path."));
    // A NUL byte would cut the path short and name another file.
    if (path.contains('\0'))
        return refused(path, tr("No file name can hold a NUL character."));
    // Checked here, so that the system is never asked about a cut-down path.
    if (path.size() >= PATH_MAX)
        return refused(path, systemReason(ENAMETOOLONG));

    struct stat info = {};
    if (::stat(path.constData(), &info) != 0)
        return refused(path, systemReason(errno));
    // Asked by the path as dropped, so that "a.txt/" stays an error; named cleaned.
    QByteArray folder;
    if (S_ISDIR(info.st_mode))
        folder = cleaned(path);
    else if (S_ISREG(info.st_mode))
        folder = folderOf(cleaned(path));
    else
        return refused(path, tr("It is neither a folder nor a file."));

    // The folder list holds text; a name that is not UTF-8 would come back as
    // another path, so it is refused rather than changed.
    const QString text = QFile::decodeName(folder);
    if (QFile::encodeName(text) != folder) {
        return refused(path,
            tr("The folder's name is not valid UTF-8, so the folder list cannot hold it. "
               "quillmere-list takes folder names as bytes and lists such a folder."));
    }
    return { text, path, QString() };
}

QList<Dropped> examine(const QList<QUrl> &urls)
{
    QList<Dropped> drop;
    drop.reserve(urls.size());
    for (const QUrl &url : urls)
        drop << examine(url);
    return drop;
}

QList<Dropped> examinePaths(const QList<QByteArray> &paths)
{
    const QByteArray working = QFile::encodeName(QDir::currentPath());
    QList<Dropped> given;
    given.reserve(paths.size());
    for (const QByteArray &path : paths) {
        if (path.isEmpty()) {
            given << refused("\"\"", systemReason(ENOENT));
            continue;
        }
        if (isAddress(path)) {
            Dropped address = examine(addressUrl(path));
            // A url Qt cannot read shows as nothing: it is named as given.
            if (address.dropped.isEmpty())
                address.dropped = path;
            given << address;
            continue;
        }
        const QByteArray absolute = path.startsWith('/') ? path : working + '/' + path;
        given << examine(QUrl::fromEncoded("file://" + absolute.toPercentEncoding("/")));
    }
    return given;
}

// Spelt without "Messages::", which would give lupdate the texts' context.
using Messages::Warning;

Warning refusalWarning(const QList<Dropped> &drop, Source source)
{
    QStringList refusals;
    for (const Dropped &dropped : drop) {
        if (dropped.isRefused())
            refusals << displayPath(dropped.dropped) + u'\n' + dropped.reason;
    }
    const QString intro = source == CommandLine
        ? tr("Nothing was added for these paths given to Quillmere:\n\n%1")
        : tr("Nothing was added for these dropped items:\n\n%1");
    return Messages::listWarning(intro, refusals);
}

} // namespace DropRules
