// SPDX-License-Identifier: MIT
#include "core/displaytext.h"
#include "core/filelistmodel.h"
#include "core/filerows.h"

#include <QTest>

class tst_DisplayText : public QObject
{
    Q_OBJECT

private slots:
    void shownText_data();
    void shownText();
    void modelShowsItButKeepsTheBytes();
};

// clang-format off
void tst_DisplayText::shownText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("UTF-8") << QByteArray("Ünï 名前.txt") << QStringLiteral("Ünï 名前.txt");
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9.txt") << QStringLiteral("caf\uFFFD.txt");
    // Every control its own escape: the Control Pictures draw as the same box in stock fonts.
    QTest::newRow("line feed and escape differ")
        << QByteArray("a\nb\x1b") << QStringLiteral("a<U+000A>b<U+001B>");
    QTest::newRow("tab and DEL") << QByteArray("a\tb\x7f") << QStringLiteral("a<U+0009>b<U+007F>");
    // Characters that would break the line and hide the rest of the name.
    QTest::newRow("line separator") << QByteArray("b_ls\u2028SECOND.txt") << QStringLiteral("b_ls<U+2028>SECOND.txt");
    QTest::newRow("paragraph separator") << QByteArray("a\u2029b") << QStringLiteral("a<U+2029>b");
    QTest::newRow("NEL and other C1") << QByteArray("a\u0085b\u009f") << QStringLiteral("a<U+0085>b<U+009F>");
    // Directional controls would show "abexe.txt"; shown, the text reads in byte order.
    QTest::newRow("override") << QByteArray("ab\u202Etxt.exe") << QStringLiteral("ab<U+202E>txt.exe");
    QTest::newRow("every directional control")
        << QByteArray("\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069\u200E\u200F\u061C")
        << QStringLiteral("<U+202A><U+202B><U+202C><U+202D><U+2066><U+2067><U+2068><U+2069>"
                          "<U+200E><U+200F><U+061C>");
    // Characters that draw as nothing would make two names look alike.
    QTest::newRow("zero-width space") << QByteArray("zw\u200Bsp.txt") << QStringLiteral("zw<U+200B>sp.txt");
    QTest::newRow("word joiner and invisible operators")
        << QByteArray("\u2060\u2061\u2062\u2063\u2064") << QStringLiteral("<U+2060><U+2061><U+2062><U+2063><U+2064>");
    QTest::newRow("byte order mark, soft hyphen, Hangul filler")
        << QByteArray("\uFEFFa\u00ADb\u3164") << QStringLiteral("<U+FEFF>a<U+00AD>b<U+3164>");
    QTest::newRow("tags outside a flag")
        << QByteArray("tag\U000E0074\U000E0061x.txt") << QStringLiteral("tag<U+E0074><U+E0061>x.txt");
    QTest::newRow("flag tags without their end")
        << QByteArray("\U0001F3F4\U000E0067") << QStringLiteral("\U0001F3F4<U+E0067>");
    QTest::newRow("joiner between spaces") << QByteArray("a \u200D b") << QStringLiteral("a <U+200D> b");
    QTest::newRow("joiner at the end") << QByteArray("a\u200C") << QStringLiteral("a<U+200C>");
    QTest::newRow("variation selector after nothing")
        << QByteArray("\uFE0Fa") << QStringLiteral("<U+FE0F>a");
    // What makes visible text render stays whole.
    QTest::newRow("Hebrew") << QByteArray("שלום 2.txt") << QStringLiteral("שלום 2.txt");
    QTest::newRow("Persian with ZWNJ") << QByteArray("می\u200Cخواهم.txt") << QStringLiteral("می\u200Cخواهم.txt");
    QTest::newRow("Devanagari with ZWJ") << QByteArray("क्\u200Dष") << QStringLiteral("क्\u200Dष");
    QTest::newRow("emoji family")
        << QByteArray("\U0001F468\u200D\U0001F469\u200D\U0001F467.png")
        << QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467.png");
    QTest::newRow("emoji with skin tone and selector joined")
        << QByteArray("\U0001F469\U0001F3FD\u200D\U0001F4BB \u2764\uFE0F\u200D\U0001F525")
        << QStringLiteral("\U0001F469\U0001F3FD\u200D\U0001F4BB \u2764\uFE0F\u200D\U0001F525");
    QTest::newRow("flag of England")
        << QByteArray("\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F.txt")
        << QStringLiteral("\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F.txt");
    QTest::newRow("keycap") << QByteArray("1\uFE0F\u20E3") << QStringLiteral("1\uFE0F\u20E3");
}
// clang-format on

void tst_DisplayText::shownText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(displayText(bytes), shown);
}

void tst_DisplayText::modelShowsItButKeepsTheBytes()
{
    const QByteArray name("ab\u202Etxt.exe\n");
    FileRows rows;
    rows.append(name);
    FileListModel model;
    model.setRows(std::move(rows));
    QCOMPARE(model.data(model.index(0, FileListModel::NameColumn)).toString(),
        QStringLiteral("ab<U+202E>txt.exe<U+000A>"));
    QCOMPARE(model.name(0), QByteArrayView(name));
}

QTEST_GUILESS_MAIN(tst_DisplayText)
#include "tst_displaytext.moc"
