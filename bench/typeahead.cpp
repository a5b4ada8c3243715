// SPDX-License-Identifier: MIT
#include "typeahead.h"

#include "core/displaytext.h"
#include "core/filelistmodel.h"
#include "core/typeahead.h"
#include "measuring.h"
#include "processes.h"
#include "table.h"
#include "widgets/filelistview.h"
#include "window.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace bench {

namespace {

// The first three letters of the last name that begins with three ASCII
// letters, not all one letter (Qt looks for a letter repeated from the row
// after the current one): in a list sorted by name, found late.
std::optional<QString> lettersFoundLate(const FileListModel &files)
{
    for (int row = files.rowCount() - 1; row >= 0; --row) {
        const QString shown = displayText(files.name(row)).left(3);
        if (shown.size() == 3
            && std::all_of(shown.begin(), shown.end(),
                [](QChar c) { return c.unicode() < 128 && c.isLetter(); })
            && shown.count(shown[0]) < 3)
            return shown.toLower();
    }
    return std::nullopt;
}

// A letter or digit no shown name begins with.
std::optional<QString> letterFoundNowhere(const FileListModel &files)
{
    for (const char c : std::string_view("qxzjykvwuo0123456789")) {
        if (findShownName(files.arrangement(), 0, QString(QChar(c))) < 0)
            return QString(QChar(c));
    }
    return std::nullopt;
}

// The row Qt's search selects for text typed at once from the first row.
int typedFromTheTop(const FileListModel &files, const QString &text)
{
    TypedText typed;
    std::vector<TypedKey> keys;
    for (qsizetype i = 0; i < text.size(); ++i)
        keys.push_back(typed.type(QString(text[i]), i > 0));
    return int(std::max<qsizetype>(typeAhead(files.arrangement(), 0, keys), 0));
}

// Each key pressed and let go as the window gets it, an event loop turn apart.
void type(QWidget *view, const QString &text)
{
    for (const QChar c : text) {
        const auto key = Qt::Key(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(view, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(view, &release);
        QCoreApplication::processEvents();
    }
}

} // namespace

int measureTypeAhead(const std::vector<std::string> &folders, int runs)
{
    Table table;
    for (const std::string &folder : folders) {
        const long files = long(bareGetdents(folder.c_str())) - 2;
        std::fprintf(stderr, "%s: %ld files, type-ahead, %d runs\n", folder.c_str(), files, runs);
        Window window(QString::fromLocal8Bit(folder.c_str()));
        window.show();
        window.sortByName();
        window.rebuild();
        window.paint();
        FileListView *view = window.view();
        const FileListModel &model = window.files();
        const std::optional<QString> late = lettersFoundLate(model);
        const std::optional<QString> nowhere = letterFoundNowhere(model);
        if (!late || !nowhere) {
            std::fprintf(stderr, "quillmere_bench: no names to type in %s\n", folder.c_str());
            return 1;
        }

        // Every run starts at the first row, past the keyboard interval, so
        // that its keys start a new search.
        const auto fromTheTop = [&] {
            view->setCurrentIndex(model.index(0, 0));
            window.paint();
            const Clock::time_point start = Clock::now();
            const double interval = QApplication::keyboardInputInterval() / 1000.0 + 0.02;
            runUntil([&] { return secondsSince(start) > interval; }, 10);
        };
        const auto measure = [&](const QString &text, bool qts) {
            const int target = typedFromTheTop(model, text);
            return timeWithStall(runs, fromTheTop, [&] {
                if (qts) {
                    // Qt's own search, on the window's thread, a turn apart.
                    // Where a search takes longer than the keyboard interval
                    // the next key starts over, so its row is not checked.
                    for (const QChar c : text) {
                        view->QAbstractItemView::keyboardSearch(QString(c));
                        QCoreApplication::processEvents();
                    }
                    window.paint();
                    return;
                }
                type(view, text);
                // Waiting as the window waits, asleep between events: a busy
                // loop here would take a core from the search.
                const Clock::time_point typed = Clock::now();
                while (view->isSearching() && secondsSince(typed) < 60)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                if (view->isSearching() || view->currentIndex().row() != target) {
                    std::fprintf(stderr, "quillmere_bench: typing %s did not select row %d\n",
                        qPrintable(text), target);
                    std::exit(1);
                }
                window.paint();
            });
        };
        const TimeAndStall qtsLate = measure(*late, true);
        const TimeAndStall qtsNowhere = measure(*nowhere, true);
        const TimeAndStall ownLate = measure(*late, false);
        const TimeAndStall ownNowhere = measure(*nowhere, false);

        const std::string lateKeys = format("\"%s\" found late", qPrintable(*late));
        const std::string nowhereKey = format("\"%s\" found nowhere", qPrintable(*nowhere));
        for (const auto &[keys, qts] : { std::pair(lateKeys, qtsLate), { nowhereKey, qtsNowhere } })
            table.add({ "reference: Qt's own search, " + keys, files, milliseconds(qts.seconds),
                { { "its longest stall", milliseconds(qts.stall), "" } } });
        table.timed("type-ahead: " + lateKeys + ", selected", files, ownLate.seconds,
            { { "Qt's own search", qtsLate.seconds } });
        table.stall("type-ahead: " + lateKeys, files, ownLate.stall, Frame, ownLate.waited);
        table.timed("type-ahead: " + nowhereKey + ", searched", files, ownNowhere.seconds,
            { { "Qt's own search", qtsNowhere.seconds } });
        table.stall("type-ahead: " + nowhereKey, files, ownNowhere.stall, Frame, ownNowhere.waited);
    }
    std::printf("Type-ahead: median of %d runs; the list sorted by name and shown, each run from "
                "its first row; times until the row is selected and painted.\n\n",
        runs);
    table.growth(Million, 10 * Million, 12);
    table.print();
    return 0;
}

} // namespace bench
