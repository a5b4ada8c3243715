// SPDX-License-Identifier: MIT
#include "arranged.h"
#include "core/atomicsave.h"
#include "core/filelistmodel.h"
#include "core/folderlisting.h"
#include "core/textexport.h"
#include "testdir.h"

#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class tst_TextExport : public QObject
{
    Q_OBJECT

private slots:
    void bytesOfTheList();
    void followsDisplayedOrder();
    void namesRoundTripFromDisk();
};

void tst_TextExport::bytesOfTheList()
{
    FileListModel files;
    QCOMPARE(exportText(files.arrangement()), QByteArray());
    FileRows rows;
    for (const char *name : { "a.txt", "b", "c.doc" })
        rows.append(name);
    showRows(files, std::move(rows));
    QCOMPARE(exportText(files.arrangement()).toHex(' '),
        QByteArray("61 2e 74 78 74 0d 0a 62 0d 0a 63 2e 64 6f 63 0d 0a"));
    QCOMPARE(exportText(files.arrangement(), LineEnd::Lf), QByteArray("a.txt\nb\nc.doc\n"));
    QCOMPARE(exportText(files.arrangement(), LineEnd::Nul), QByteArray("a.txt\0b\0c.doc\0", 14));
}

void tst_TextExport::followsDisplayedOrder()
{
    FileListModel files;
    FileRows rows;
    for (const char *name : { "b.txt", "a.doc", "c.txt", "d" })
        rows.append(name);
    showRows(files, std::move(rows));
    files.removeRow(2);
    showSorted(files, sortedBy(ExtensionColumn, Qt::DescendingOrder));
    QCOMPARE(exportText(files.arrangement()), QByteArray("b.txt\r\na.doc\r\nd\r\n"));

    // Copy All Names of a list long enough to be made in parts: in order
    // across the parts' borders, each line once.
    FileRows many;
    for (int i = 0; i < 100'000; ++i)
        many.append(QByteArray::number(i));
    showRows(files, std::move(many), sortedBy(ExtensionColumn));
    const QStringList lines = listText(files.arrangement(), ListText::Names).split(u'\n');
    QCOMPARE(lines.size(), 100'001);
    for (int i = 0; i < 100'000; ++i)
        QCOMPARE(lines[i], QString::number(i));
}

void tst_TextExport::namesRoundTripFromDisk()
{
    TestDir source;
    const QByteArray utf8("naïve 名前.txt");
    QCOMPARE(source.createFiles({ Latin1Cafe, utf8 }), QString());
    FileRows rows;
    QVERIFY(listFolder(source.path(), rows, nullptr));
    if (qstrcmp(folderListingMethod(), "qt") == 0)
        QSKIP("QDirIterator cannot keep a name that is not valid UTF-8");
    FileListModel files;
    showRows(files, std::move(rows), sortedBy(NameColumn));

    TestDir out;
    const QString target = out.filePath("list.txt");
    QString error;
    QVERIFY2(saveText(target, exportText(files.arrangement()), &error) == SaveResult::Saved,
        qPrintable(error));
    QCOMPARE(contents(target), Latin1Cafe + "\r\n" + utf8 + "\r\n");
}

QTEST_GUILESS_MAIN(tst_TextExport)
#include "tst_textexport.moc"
