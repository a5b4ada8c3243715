// SPDX-License-Identifier: MIT
#include "core/typeahead.h"
#include "rows.h"

#include <QTest>

// Type-ahead's rule on rows in display order: which row the keys typed
// select, as Qt's item views select it, by the names as shown.
class tst_TypeAhead : public QObject
{
    Q_OBJECT

private slots:
    void keysSelect_data();
    void keysSelect();
};

// clang-format off
void tst_TypeAhead::keysSelect_data()
{
    // names in display order; the current row's name ("" for none); the keys,
    // each string typed within the keyboard interval, a pause between strings;
    // the current row's name after each string.
    QTest::addColumn<QList<QByteArray>>("names");
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<QByteArray>>("selected");
    const QList<QByteArray> fruit = { "apple.txt", "Banana.txt", "avocado.txt", "APRICOT.TXT", "cherry" };
    QTest::newRow("start of the name, case aside") << fruit << QByteArray()
        << QStringList { "b", "ApR", "B" } << QList<QByteArray> { "Banana.txt", "APRICOT.TXT", "Banana.txt" };
    QTest::newRow("starts after the current row") << fruit << QByteArray("apple.txt")
        << QStringList { "a" } << QList<QByteArray> { "avocado.txt" };
    QTest::newRow("keys together look from the row the first found") << fruit << QByteArray("cherry")
        << QStringList { "ap" } << QList<QByteArray> { "apple.txt" };
    QTest::newRow("wraps round") << fruit << QByteArray("APRICOT.TXT")
        << QStringList { "ap", "b" } << QList<QByteArray> { "apple.txt", "Banana.txt" };
    QTest::newRow("a letter again after a pause steps through its rows") << fruit << QByteArray()
        << QStringList { "a", "a", "a", "a" }
        << QList<QByteArray> { "apple.txt", "avocado.txt", "APRICOT.TXT", "apple.txt" };
    QTest::newRow("found nowhere: the current row stays") << fruit << QByteArray("Banana.txt")
        << QStringList { "q", "qa", "aq", "cz" } << QList<QByteArray> { "Banana.txt", "Banana.txt", "avocado.txt", "cherry" };
    QTest::newRow("a letter repeated looks after the current row") << QList<QByteArray> { "aa.txt", "apple", "aardvark", "banana", "AAA" }
        << QByteArray("banana") << QStringList { "aa", "aaa", "aaaa" } << QList<QByteArray> { "aa.txt", "AAA", "AAA" };
    QTest::newRow("one letter again within a text is no repeat") << QList<QByteArray> { "abba", "ab", "abb" }
        << QByteArray("abba") << QStringList { "abb" } << QList<QByteArray> { "abb" };
    QTest::newRow("case folded beyond ASCII") << QList<QByteArray> { "école.pdf", "ÉCOLE.doc", "kilo" }
        << QByteArray("kilo") << QStringList { "ÉC", "éc", "\u212A" } // Kelvin sign
        << QList<QByteArray> { "école.pdf", "ÉCOLE.doc", "kilo" };
    QTest::newRow("not UTF-8: as shown, U+FFFD") << QList<QByteArray> { "caf.txt", "caf\xe9.txt", "\xff.bin" }
        << QByteArray() << QStringList { "café", "caf\uFFFD", "\uFFFD" }
        << QList<QByteArray> { "caf.txt", "caf\xe9.txt", "\xff.bin" };
    QTest::newRow("escapes as shown") << QList<QByteArray> { "news", "\nnews", " lead", "<U+0041>", "lead " }
        << QByteArray("news") << QStringList { "n", "<u+000a>", "<", "<u+003c>U", " ", "lead " }
        << QList<QByteArray> { "news", "\nnews", " lead", "<U+0041>", "<U+0041>", "lead " };
    QTest::newRow("hidden characters do not hide a name's start") << QList<QByteArray> { "a", "\u200Bab", "ab" }
        << QByteArray("a") << QStringList { "ab", "<U+200B>a" }
        << QList<QByteArray> { "ab", "\u200Bab" };
}
// clang-format on

void tst_TypeAhead::keysSelect()
{
    QFETCH(QList<QByteArray>, names);
    QFETCH(QByteArray, current);
    QFETCH(QStringList, typed);
    QFETCH(QList<QByteArray>, selected);
    FileArrangement files;
    arrangeRows(files, rowsOf(names), SortState {});
    const auto nameAt = [&](qsizetype position) {
        return position < 0 ? QByteArray() : names[qsizetype(files.order[size_t(position)])];
    };

    qsizetype at = current.isNull() ? -1 : names.indexOf(current);
    TypedText text;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        std::vector<TypedKey> keys;
        const QString &together = typed[i];
        for (qsizetype k = 0; k < together.size(); ++k)
            keys.push_back(text.type(QString(together[k]), k > 0));
        // Keys typed faster than answered are looked for at once, each
        // from where the one before went.
        if (const qsizetype found = typeAhead(files, at, keys); found >= 0)
            at = found;
        QVERIFY2(nameAt(at) == selected[i], qPrintable(typed[i] + " selected " + nameAt(at)));
    }
}

QTEST_APPLESS_MAIN(tst_TypeAhead)
#include "tst_typeahead.moc"
