// SPDX-License-Identifier: MIT
#include "widgets/commondialog.h"

#include "core/workerpool.h"
#include "widgets/dialogwait.h"
#include "widgets/modeldisposal.h"
#include "widgets/portaldialog.h"
#include "widgets/qtfiledialog.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QScopeGuard>
#include <QWidget>
#include <QtConcurrent>

#include <optional>

namespace {

// Whether folder has at least `entries` entries; stops counting there, so
// a folder of a million files costs no more than one of `entries`.
bool hasAtLeast(const QString &folder, int entries)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    int count = 0;
    while (count < entries && it.hasNext()) {
        it.next();
        ++count;
    }
    return count >= entries;
}

// Set once the dialog's own process failed: the rest of the run shows it here.
bool processFailed = false;

// How many dialogs are being shown, of any CommonDialog.
int showing = 0;

QString &programSetting()
{
    static QString program;
    return program;
}

} // namespace

CommonDialog::CommonDialog(QWidget *parent)
    : QObject(parent)
    , m_portal(new PortalDialog(parent))
{
    connect(m_portal, &PortalDialog::pickedLate, this, &CommonDialog::takeLate);
}

void CommonDialog::setPortalReplyTimeout(int milliseconds)
{
    m_portal->setReplyTimeout(milliseconds);
}

void CommonDialog::abandonDialogs()
{
    DialogWait::abandonAll();
}

void CommonDialog::takeLate(DialogKind kind, const QString &path)
{
    // Another dialog open is the user's answer to the request already, or a question of its own.
    if (showing > 0 || QApplication::activeModalWidget())
        return;
    emit pickedLate(kind, path);
}

int CommonDialog::modelsBeingFreed()
{
    return ModelDisposal::pending();
}

QStringList CommonDialog::nameFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        // Qt reads the patterns from the trailing parentheses; add them only when missing.
        const QString shown = u'(' + pattern + u')';
        filters << (description.endsWith(shown) ? description : description + u' ' + shown);
    }
    return filters;
}

void CommonDialog::ShowOpen()
{
    show(DialogKind::OpenFile);
}

void CommonDialog::ShowSave()
{
    show(DialogKind::SaveFile);
}

void CommonDialog::ShowFolder()
{
    show(DialogKind::Folder);
}

QString CommonDialog::startFolder(DialogKind kind, QString *selected) const
{
    selected->clear();
    // The first dialog of a run opens in the home folder, as desktop
    // programs' do: the working folder may hold a million files.
    if (m_folder.isEmpty())
        return QDir::homePath();
    const QFileInfo folder(m_folder);
    // A count not finished yet, as on a hung drive, says nothing.
    const bool large
        = m_folderIsLarge.isValid() && m_folderIsLarge.isFinished() && m_folderIsLarge.result();
    if (folder.isRoot() || (kind != DialogKind::Folder && !large))
        return m_folder;
    // Selected, the folder's name would stand as the name of the file to
    // save, and the save button would read "Open".
    if (kind != DialogKind::SaveFile)
        *selected = folder.fileName();
    return folder.absolutePath();
}

QString CommonDialog::dialogProgram()
{
    return processFailed ? QString() : programSetting();
}

void CommonDialog::setDialogProgram(const QString &program)
{
    programSetting() = program;
    processFailed = false;
}

void CommonDialog::show(DialogKind kind)
{
    m_fileName.clear();
    ++showing;
    const auto shown = qScopeGuard([] { --showing; });
    auto *owner = static_cast<QWidget *>(parent());
    const QStringList filters = nameFilters(m_filter);
    QString selected;
    const QString folder = startFolder(kind, &selected);
    if (PortalDialog::shouldTry()) {
        const PortalDialog::Answer answer = kind == DialogKind::SaveFile
            ? m_portal->saveFile(folder, filters)
            : kind == DialogKind::Folder ? m_portal->chooseFolder(folder)
                                         : m_portal->openFile(folder);
        if (answer.outcome != PortalDialog::Unavailable) {
            take(kind, answer.path);
            return;
        }
    }
    if (!dialogProgram().isEmpty()) {
        if (const std::optional<QString> chosen = DialogProcess::choose(
                dialogProgram(), owner->window(), kind, folder, selected, filters)) {
            take(kind, *chosen);
            return;
        }
        processFailed = true;
    }
    take(kind, QtFileDialog::choose(owner, kind, folder, selected, filters));
}

void CommonDialog::take(DialogKind kind, const QString &chosen)
{
    m_fileName = chosen;
    if (chosen.isEmpty())
        return;
    // The chosen file's own folder, or the folder chosen: the dialog's
    // directory stays where it was shown when the user typed a path elsewhere.
    m_folder = kind == DialogKind::Folder ? QFileInfo(m_fileName).absoluteFilePath()
                                          : QFileInfo(m_fileName).absolutePath();
    m_folderIsLarge = QtConcurrent::run(workerPool(), hasAtLeast, m_folder, m_largeFolder);
}

void CommonDialog::runProcess(int argc, char *argv[])
{
    DialogProcess::run(argc, argv);
}
