// SPDX-License-Identifier: MIT
#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QString>

// The icon and the type that Qt's file dialog shows for each file. Qt's
// dialog asks for both on the window's thread, and Qt finds them by matching
// the file's name against every pattern of the MIME database: half the time
// of listing a large folder. Here files of one suffix share one answer,
// looked up once by that suffix; a name without a suffix is not guessed from
// its contents. Folders and other entries get Qt's own answers.
class FileTypes : public QFileIconProvider
{
public:
    // The one instance, for every dialog of the process. Never
    // deleted: a dialog's folder model, which keeps a pointer to it, is
    // deleted on a thread of its own, perhaps only when the program ends.
    static FileTypes *instance();

    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;

private:
    struct Kind
    {
        QIcon icon;
        QString type;
    };

    const Kind &kind(const QFileInfo &info) const;

    QMimeDatabase m_mimes;
    mutable QHash<QString, Kind> m_kinds;
};
