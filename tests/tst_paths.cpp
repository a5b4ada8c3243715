// SPDX-License-Identifier: MIT
#include "core/paths.h"

#include <QTest>

class tst_Paths : public QObject
{
    Q_OBJECT

private slots:
    void folderOfFile_data();
    void folderOfFile();
    void folderPath_data();
    void folderPath();
    void fileExtension_data();
    void fileExtension();
};

// clang-format off
void tst_Paths::folderOfFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("nested") << "/home/ann/Photos/a.jpg" << "/home/ann/Photos";
    QTest::newRow("root") << "/a.txt" << "/";
    QTest::newRow("no separator") << "a.txt" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("dots in folder") << "/srv/v1.2/notes" << "/srv/v1.2";
    QTest::newRow("case kept") << "/Data/X/y" << "/Data/X";
    QTest::newRow("doubled separator") << "/srv//a.txt" << "/srv";
#ifdef Q_OS_WIN
    QTest::newRow("backslashes") << R"(C:\Data\Photos\a.jpg)" << R"(C:\Data\Photos)";
    QTest::newRow("drive root") << R"(C:\a.txt)" << "C:";
    QTest::newRow("mixed") << R"(C:\Data/a.txt)" << R"(C:\Data)";
#else
    // A backslash is an ordinary character in a Linux file name.
    QTest::newRow("backslash is a name") << R"(/tmp/a\b.txt)" << "/tmp";
#endif
}
// clang-format on

void tst_Paths::folderOfFile()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(GetFolderOfFile(path), folder);
}

// clang-format off
void tst_Paths::folderPath_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("kept");
    QTest::newRow("plain") << "d" << "d";
    QTest::newRow("trailing") << "d/" << "d";
    QTest::newRow("trailing many") << "/srv/d///" << "/srv/d";
    QTest::newRow("inner kept") << "/srv//d" << "/srv//d";
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("root doubled") << "//" << "/";
    QTest::newRow("empty") << "" << "";
#ifdef Q_OS_WIN
    QTest::newRow("backslash") << R"(C:\Data\)" << R"(C:\Data)";
    QTest::newRow("drive root") << R"(C:\)" << "C:";
#endif
}
// clang-format on

void tst_Paths::folderPath()
{
    QFETCH(QString, given);
    QFETCH(QString, kept);
    QCOMPARE(cleanFolderPath(given), kept);
    QCOMPARE(cleanFolderPathBytes(given.toUtf8()), kept.toUtf8());
}

// clang-format off
void tst_Paths::fileExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::newRow("plain") << "a.txt" << "txt";
    QTest::newRow("no dot") << "README" << "";
    QTest::newRow("trailing dot") << "archive." << "";
    QTest::newRow("last dot counts") << "report.final.doc" << "doc";
    QTest::newRow("leading dot") << ".profile" << "profile";
    QTest::newRow("case kept") << "IMG_0001.JPG" << "JPG";
    QTest::newRow("non-ASCII") << "café.tar.gz" << "gz";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("in a dotted sub-folder") << "2026.05/IMG_1" << "";
    QTest::newRow("path, own name's") << "2026.05/raw.v2/IMG_1.CR2" << "CR2";
    QTest::newRow("hidden name in a sub-folder") << "a.b/.profile" << "profile";
}
// clang-format on

void tst_Paths::fileExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QCOMPARE(GetFileExtension(name), extension);
    // The byte form used for the rows must agree with the text form.
    QCOMPARE(QString::fromUtf8(GetFileExtension(name.toUtf8())), extension);
}

QTEST_GUILESS_MAIN(tst_Paths)
#include "tst_paths.moc"
