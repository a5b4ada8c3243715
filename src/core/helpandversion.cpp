// SPDX-License-Identifier: MIT
#include "core/helpandversion.h"

#include "core/systemreason.h"

#include <QCoreApplication>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

QByteArray versionText(QByteArrayView program)
{
    return program.toByteArray() + " (Quillmere) " QUILLMERE_VERSION R"(
Copyright (C) 2026 The Quillmere developers.
License MIT: <https://spdx.org/licenses/MIT.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";
}

void showTextAndExit(QByteArrayView program, QByteArrayView text)
{
    if (std::fwrite(text.data(), 1, size_t(text.size()), stdout) != size_t(text.size())
        || std::fflush(stdout) != 0) {
        const QString reason = systemReason(errno);
        const QByteArray line = program.toByteArray() + ": "
            + QCoreApplication::translate("showTextAndExit", "write error: %1").arg(reason).toUtf8()
            + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::exit(2);
    }
    std::exit(0);
}
