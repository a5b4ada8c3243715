// SPDX-License-Identifier: MIT
#include "core/systemreason.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstring>

#ifndef Q_OS_WIN
#include <clocale>

#include <locale.h>
#endif

namespace {

#ifndef Q_OS_WIN
// strerror_r() is the GNU one or the XSI one, by the system's headers.
[[maybe_unused]] const char *reasonOf(int failed, const char *buffer)
{
    return failed == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char *reasonOf(const char *text, const char *)
{
    return text;
}

// The program's locale with UTF-8 characters: the catalogue's words are
// converted to the character set of LC_CTYPE, which may be ASCII alone
// (LANG=C LC_MESSAGES=de_DE.UTF-8 would give "nicht m?glich"). The
// program's own where C.UTF-8 is missing, null where even that fails.
locale_t messagesLocale()
{
    static const locale_t made = [] {
        const locale_t program = ::duplocale(LC_GLOBAL_LOCALE);
        if (!program)
            return locale_t(nullptr);
        const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", program);
        return utf8 ? utf8 : program;
    }();
    return made;
}
#endif

} // namespace

QString systemReason(int error)
{
#ifndef Q_OS_WIN
    if (const locale_t locale = messagesLocale()) {
        const locale_t before = ::uselocale(locale);
        char buffer[256] = {};
        const char *text = reasonOf(::strerror_r(error, buffer, sizeof buffer), buffer);
        ::uselocale(before);
        if (text && *text)
            return QString::fromUtf8(text);
    }
#endif
    return qt_error_string(error);
}
