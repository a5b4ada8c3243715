// SPDX-License-Identifier: MIT
#include "core/translations.h"
#include "widgets/listingnotice.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

// What the list says once a listing has ended, on its own: the count, which
// fades, or why nothing was listed, which stays until rows come.
class tst_ListingNotice : public QObject
{
    Q_OBJECT

private slots:
    // As the program does: English counts come from their plural forms.
    void initTestCase() { installTranslations(); }
    void saysWhatTheListingCameTo_data();
    void saysWhatTheListingCameTo();
};

void tst_ListingNotice::saysWhatTheListingCameTo_data()
{
    QTest::addColumn<int>("why"); // -1: files were listed
    QTest::addColumn<int>("count"); // files listed, or folders
    QTest::addColumn<QString>("text"); // empty: nothing shows
    QTest::addColumn<bool>("offered");
    const int listed = -1;
    QTest::newRow("files listed") << listed << 1234 << "1,234 files listed" << false;
    QTest::newRow("one file") << listed << 1 << "1 file listed" << false;
    QTest::newRow("a folder of no files")
        << int(EmptyListing::NoFiles) << 1 << "The folder listed holds no files." << false;
    QTest::newRow("folders of sub-folders only")
        << int(EmptyListing::OnlySubfolders) << 2 << "The folders listed hold only sub-folders."
        << true;
    QTest::newRow("no folder could be listed")
        << int(EmptyListing::NothingListed) << 2 << "" << false;
}

void tst_ListingNotice::saysWhatTheListingCameTo()
{
    QFETCH(int, why);
    QFETCH(int, count);
    QFETCH(QString, text);
    QFETCH(bool, offered);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QWidget window;
    window.resize(386, 300);
    auto *band = new QLabel(QStringLiteral("Files"), &window);
    auto *list = new QTableView(&window);
    list->setGeometry(7, 30, 372, 232);
    QStandardItemModel rows;
    list->setModel(&rows);
    QAction include(QStringLiteral("Include Sub-folders"));
    QSignalSpy triggered(&include, &QAction::triggered);
    ListingNotice notice(list, band, &include);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    if (why == -1)
        notice.listed(count);
    else
        notice.listedNothing(EmptyListing(why), count);
    QCOMPARE(notice.isVisible(), !text.isEmpty());
    if (text.isEmpty())
        return;
    QCOMPARE(notice.findChild<QLabel *>()->text(), text);
    // Within the rows, so that no control of the window moves.
    QVERIFY(list->viewport()->geometry().contains(notice.geometry()));
    auto *offer = notice.findChild<QPushButton *>();
    QCOMPARE(offer->isVisible(), offered);
    if (offered) {
        QTest::mouseClick(offer, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);
    }
    if (why == -1) {
        // The count stays with the band and the list, for screen readers too,
        // while the notice lets clicks through to the rows and then fades.
        QCOMPARE(band->toolTip(), text);
        QCOMPARE(list->accessibleDescription(), text);
        QVERIFY(notice.testAttribute(Qt::WA_TransparentForMouseEvents));
        QTRY_VERIFY2_WITH_TIMEOUT(!notice.isVisible(), "the count to fade",
            10 * (ListingNotice::Shown + ListingNotice::Fading));
    } else {
        // Why the list is empty, until rows come.
        rows.appendRow(new QStandardItem(QStringLiteral("a.txt")));
        QVERIFY(!notice.isVisible());
    }
}

QTEST_MAIN(tst_ListingNotice)
#include "tst_listingnotice.moc"
