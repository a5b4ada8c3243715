// SPDX-License-Identifier: MIT
#include "arranged.h"
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
    void namesNeverPassForOthers();
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
    QTest::newRow("tab, unit separator and DEL") << QByteArray("a\tb\x1f\x7f") << QStringLiteral("a<U+0009>b<U+001F><U+007F>");
    QTest::newRow("unit separator alone") << QByteArray("\x1f") << QStringLiteral("<U+001F>");
    // Characters that would break the line and hide the rest of the name.
    QTest::newRow("line separator") << QByteArray("b_ls\u2028SECOND.txt") << QStringLiteral("b_ls<U+2028>SECOND.txt");
    QTest::newRow("interlinear annotation") << QByteArray("a\uFFF9b\uFFFAc\uFFFB") << QStringLiteral("a<U+FFF9>b<U+FFFA>c<U+FFFB>");
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
        << QByteArray("\U0001F3F4\U000E0067\U000E0062\x1f") << QStringLiteral("\U0001F3F4<U+E0067><U+E0062><U+001F>");
    QTest::newRow("flag with tags of no flag")
        << QByteArray("\U0001F3F4\U000E0065\U000E0076\U000E0069\U000E006C\U000E007F")
        << QStringLiteral("\U0001F3F4<U+E0065><U+E0076><U+E0069><U+E006C><U+E007F>");
    QTest::newRow("joiner between spaces") << QByteArray("a \u200D b") << QStringLiteral("a <U+200D> b");
    QTest::newRow("joiner at the end") << QByteArray("a\u200C") << QStringLiteral("a<U+200C>");
    QTest::newRow("joiners between Latin letters") << QByteArray("a\u200Db\u200Cc") << QStringLiteral("a<U+200D>b<U+200C>c");
    // Arabic letters join without the joiner; alef never joins the next letter.
    QTest::newRow("joiners that change no Arabic letter")
        << QByteArray("\u0628\u200D\u0628 \u0627\u200C\u0628") << QStringLiteral("\u0628<U+200D>\u0628 \u0627<U+200C>\u0628");
    QTest::newRow("variation selector after nothing")
        << QByteArray("\uFE0Fa") << QStringLiteral("<U+FE0F>a");
    QTest::newRow("emoji selector after a letter") << QByteArray("ab\uFE0F.txt") << QStringLiteral("ab<U+FE0F>.txt");
    QTest::newRow("selectors of no sequence")
        << QByteArray("vs.\uFE0F.txt \u2764\uFE0F\uFE0F") << QStringLiteral("vs.<U+FE0F>.txt \u2764\uFE0F<U+FE0F>");
    QTest::newRow("ideographic variation") << QByteArray("\u845B\U000E0100") << QStringLiteral("\u845B<U+E0100>");
    QTest::newRow("combining marks with no base") << QByteArray("\u0301a\u202E\u0301") << QStringLiteral("<U+0301>a<U+202E><U+0301>");
    QTest::newRow("trailing space") << QByteArray("ab.txt ") << QStringLiteral("ab.txt<U+0020>");
    QTest::newRow("spaces at both ends, not between")
        << QByteArray("\u3000a b\u00A0 ") << QStringLiteral("<U+3000>a b<U+00A0><U+0020>");
    QTest::newRow("only spaces") << QByteArray("  ") << QStringLiteral("<U+0020><U+0020>");
    QTest::newRow("escape spelt out") << QByteArray("a<U+0020><b") << QStringLiteral("a<U+003C>U+0020><b");
    // What makes visible text render stays whole.
    QTest::newRow("Hebrew") << QByteArray("שלום 2.txt") << QStringLiteral("שלום 2.txt");
    QTest::newRow("Persian with ZWNJ") << QByteArray("می\u200Cخواهم.txt") << QStringLiteral("می\u200Cخواهم.txt");
    QTest::newRow("Devanagari with ZWJ") << QByteArray("क्\u200Dष") << QStringLiteral("क्\u200Dष");
    QTest::newRow("Devanagari with ZWNJ") << QByteArray("क्\u200Cष") << QStringLiteral("क्\u200Cष");
    QTest::newRow("Arabic with ZWNJ after a vowel sign")
        << QByteArray("\u0628\u064E\u200C\u0628") << QStringLiteral("\u0628\u064E\u200C\u0628");
    QTest::newRow("text and emoji style") << QByteArray("\u2764\uFE0E\u2764\uFE0F") << QStringLiteral("\u2764\uFE0E\u2764\uFE0F");
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

// Names that could pass for one another, and names that must show whole: with
// everything that draws as nothing taken out of what is shown (but for what the
// whole names keep on purpose), no two look the same.
void tst_DisplayText::namesNeverPassForOthers()
{
    // clang-format off
    const QByteArrayList lookalikes = { "ab.txt", "a\u200Db.txt", "a\u200Cb.txt", "ab\uFE0F.txt",
        "ab\U000E0100.txt", "ab.txt ", "\u2003ab.txt", "ab.txt<U+0020>", "vs..txt", "vs.\uFE0F.txt",
        "abc", "a\uFFF9b\uFFFAc\uFFFB", "\U0001F3F4", "\U0001F3F4\U000E0065\U000E0076\U000E0069\U000E006C\U000E007F" };
    const QByteArrayList whole = { "क्\u200Dष", "क्\u200Cष", "می\u200Cخواهم", "\u0628\u064E\u200C\u0628",
        "\U0001F468\u200D\U0001F469\u200D\U0001F467", "\U0001F469\U0001F3FD\u200D\U0001F4BB",
        "1\uFE0F\u20E3", "\u2764\uFE0F", "\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F" };
    // clang-format on
    QHash<QString, QByteArray> seen;
    for (const QByteArray &name : lookalikes + whole) {
        QString looks;
        for (char32_t c : displayText(name).toUcs4()) {
            const bool drawsNothing = QChar::category(c) == QChar::Other_Format
                || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
            if (whole.contains(name) || !drawsNothing)
                looks += QString::fromUcs4(&c, 1);
        }
        if (whole.contains(name))
            QVERIFY2(!looks.contains(u"<U+"), name);
        else
            looks = looks.trimmed();
        QVERIFY2(!seen.contains(looks), name + " looks like " + seen.value(looks));
        seen.insert(looks, name);
    }
}

void tst_DisplayText::modelShowsItButKeepsTheBytes()
{
    const QByteArray name("ab\u202Etxt.exe\n");
    FileRows rows;
    rows.append(name);
    FileListModel model;
    showRows(model, std::move(rows));
    QCOMPARE(model.data(model.index(0, FileListModel::NameColumn)).toString(),
        QStringLiteral("ab<U+202E>txt.exe<U+000A>"));
    QCOMPARE(model.name(0), QByteArrayView(name));
}

QTEST_GUILESS_MAIN(tst_DisplayText)
#include "tst_displaytext.moc"
