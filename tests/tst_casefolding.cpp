// SPDX-License-Identifier: MIT
#include "cli/namepattern.h"
#include "core/arrangement.h"
#include "rows.h"

#include <QTest>

// The one rule of letter case: the file list's "Remove All .EXT Files" and
// quillmere-list's --ignore-case --include '*.EXT' take the same names.
class tst_CaseFolding : public QObject
{
    Q_OBJECT

private slots:
    void bulkRemovalAndGlobAgree_data();
    void bulkRemovalAndGlobAgree();
};

void tst_CaseFolding::bulkRemovalAndGlobAgree_data()
{
    QTest::addColumn<QByteArray>("extension");
    QTest::addColumn<QList<QByteArray>>("names");
    QTest::addColumn<QList<QByteArray>>("taken");
    using Names = QList<QByteArray>;
    QTest::newRow("ASCII") << QByteArray("jpg")
                           << Names { "a.jpg", "b.JPG", "c.Jpg", "d.jpeg", "e.jpg.txt", "jpg" }
                           << Names { "a.jpg", "b.JPG", "c.Jpg" };
    // Every letter, not A to Z alone.
    QTest::newRow("umlauts") << QByteArray("\xc3\x84\xc3\x96") // ÄÖ
                             << Names { "x.\xc3\xa4\xc3\xb6", "y.\xc3\x84\xc3\x96", "z.ao" }
                             << Names { "x.\xc3\xa4\xc3\xb6", "y.\xc3\x84\xc3\x96" };
    // Simple folding: a letter for a letter. The Kelvin sign folds to "k",
    // a final sigma to sigma, capital sharp s to sharp s, never to "ss".
    QTest::newRow("Kelvin sign") << QByteArray("K")
                                 << Names { "n.\xe2\x84\xaa", "o.k", "p.K", "q.kk" }
                                 << Names { "n.\xe2\x84\xaa", "o.k", "p.K" };
    QTest::newRow("sigma") << QByteArray("\xce\xa3")
                           << Names { "t.\xcf\x83", "u.\xcf\x82", "v.\xce\xa3", "w.s" }
                           << Names { "t.\xcf\x83", "u.\xcf\x82", "v.\xce\xa3" };
    QTest::newRow("sharp s") << QByteArray("\xe1\xba\x9e")
                             << Names { "a.\xc3\x9f", "b.ss", "c.SS", "d.\xe1\xba\x9e" }
                             << Names { "a.\xc3\x9f", "d.\xe1\xba\x9e" };
    // A name that is not UTF-8 before its extension still has one of letters.
    QTest::newRow("Latin-1 name, ASCII extension")
        << QByteArray("jpg") << Names { "caf\xe9.JPG", "\xc4pfel.jpg", "caf\xe9.jpeg" }
        << Names { "caf\xe9.JPG", "\xc4pfel.jpg" };
    QTest::newRow("Latin-1 name, extension of umlauts")
        << QByteArray("\xc3\xa4\xc3\xb6") << Names { "\xe9t\xe9.\xc3\x84\xc3\x96", "\xe9t\xe9.ao" }
        << Names { "\xe9t\xe9.\xc3\x84\xc3\x96" };
    // Bytes that are not UTF-8 match only themselves, the letters beside them
    // still fold.
    QTest::newRow("bytes that are not text")
        << QByteArray("J\xff") << Names { "k.j\xff", "l.J\xff", "m.J\xfe", "n.j\xc3\xbf" }
        << Names { "k.j\xff", "l.J\xff" };
}

void tst_CaseFolding::bulkRemovalAndGlobAgree()
{
    QFETCH(const QByteArray, extension);
    QFETCH(const QList<QByteArray>, names);
    QFETCH(const QList<QByteArray>, taken);

    FileArrangement files;
    arrangeRows(files, rowsOf(names), SortState());
    const RemovedRows removed = takeByExtension(files, extension, false);
    QList<QByteArray> removedNames;
    for (const uint32_t row : removed.taken)
        removedNames << files.rows->name(row).toByteArray();
    QCOMPARE(removedNames, taken);

    // The extension taken as it is: none of these holds a character a glob reads.
    const NamePattern glob("*." + extension, true);
    QList<QByteArray> matched;
    for (const QByteArray &name : names) {
        if (glob.matches(name))
            matched << name;
    }
    QCOMPARE(matched, taken);
}

QTEST_GUILESS_MAIN(tst_CaseFolding)
#include "tst_casefolding.moc"
