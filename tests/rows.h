// SPDX-License-Identifier: MIT
#pragma once

#include "core/filerows.h"

#include <QByteArray>
#include <QList>

// Rows of the given names, in that order, as a listing would give them.
inline FileRows rowsOf(const QList<QByteArray> &names)
{
    FileRows rows;
    for (const QByteArray &name : names)
        rows.append(name);
    return rows;
}
