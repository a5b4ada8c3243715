// SPDX-License-Identifier: MIT
#include "widgets/namedelegate.h"
#include "windowfixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QStyleOptionButton>
#include <QTest>

#include <cmath>

namespace {

// WCAG contrast ratio, from 1 to 21.
double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &colour) { // all three channels are equal in these greys
        const double c = colour.redF();
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Sets the application's font or palette for one test and puts it back after.
struct AppFont
{
    explicit AppFont(const QFont &font) { QApplication::setFont(font); }
    ~AppFont() { QApplication::setFont(saved); }
    const QFont saved = QApplication::font();
};
struct AppPalette
{
    explicit AppPalette(const QPalette &palette) { QApplication::setPalette(palette); }
    ~AppPalette() { QApplication::setPalette(saved); }
    const QPalette saved = QApplication::palette();
};

// Pixels that are neither clear nor opaque: on the rim of an icon drawn on
// its size's pixel grid only where an edge slopes, all round one that is
// artwork scaled from another grid.
int halfCoveredPixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(argb.pixel(x, y));
            count += alpha != 0 && alpha != 255;
        }
    }
    return count;
}

} // namespace

// The window as designed: its controls' rectangles, captions and fonts, the
// heading bands, the focus order, and what assistive technology is told.
class tst_WindowLook : public QObject
{
    Q_OBJECT

public:
    // Qt's own dialogs, which the tests can drive, on every platform.
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void layoutMatchesDesign_data();
    void layoutMatchesDesign();
    void windowLooksAsDesigned();
    void focusOrder();
    void focusShows_data();
    void focusShows();
    void bandsAreReadable();
    void captionsFitAtLargeFonts();
    void listsAreNamedForAssistiveTechnology();
};

// clang-format off
void tst_WindowLook::layoutMatchesDesign_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Label1") << "Label1" << " List of Folder:" << QRect(105, 165, 3900, 330);
    QTest::newRow("CmdAddFolder") << "CmdAddFolder" << "Add" << QRect(3990, 165, 855, 330);
    QTest::newRow("CmdDelFolder") << "CmdDelFolder" << "Remove" << QRect(4830, 165, 855, 330);
    QTest::newRow("ListFolder") << "ListFolder" << "" << QRect(105, 525, 5580, 1230);
    QTest::newRow("Label2") << "Label2" << " List of files in selected folders:"
                            << QRect(105, 1875, 3900, 330);
    QTest::newRow("CmdDelList") << "CmdDelList" << "Remove" << QRect(3990, 1875, 1695, 330);
    QTest::newRow("LvFiles") << "LvFiles" << "" << QRect(105, 2205, 5580, 3480);
    QTest::newRow("CmdSaveTXT") << "CmdSaveTXT" << "Save List to TXT File"
                                << QRect(105, 5775, 2640, 330);
    QTest::newRow("Command2") << "Command2" << "Info" << QRect(2835, 5775, 1275, 330);
    QTest::newRow("Command1") << "Command1" << "Close" << QRect(4200, 5775, 1380, 330);
}
// clang-format on

void tst_WindowLook::layoutMatchesDesign()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    Window ui;
    auto *widget = ui.window.findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
        QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
}

void tst_WindowLook::windowLooksAsDesigned()
{
    Window ui;
    QCOMPARE(ui.window.windowTitle(), QStringLiteral("Tessaly"));
    QCOMPARE(ui.window.size(), QSize(386, 415));
    QCOMPARE(ui.window.minimumSize(), ui.window.maximumSize());
    // Maximized or full screen by a decoration's button or a key: it stays.
    for (const Qt::WindowState state : { Qt::WindowMaximized, Qt::WindowFullScreen }) {
        ui.window.setWindowState(state);
        QTRY_COMPARE_WITH_TIMEOUT(int(ui.window.windowState()), int(Qt::WindowNoState), 10000);
        // Fixed again once the compositor has put it back (Wayland), or at once.
        QTRY_COMPARE_WITH_TIMEOUT(ui.window.maximumSize(), QSize(386, 415), 10000);
        QCOMPARE(ui.window.minimumSize(), QSize(386, 415));
        QCOMPARE(ui.window.size(), QSize(386, 415));
    }
    const QIcon icon = ui.window.windowIcon();
    QVERIFY(!icon.isNull());
    // The sizes installed for the desktop, each sharp: only the slopes of the
    // folder's tab and the sheet's corner may blur its rim.
    for (const int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        const QString at = QStringLiteral("the icon at %1 px").arg(size);
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(at));
        const int blurred = halfCoveredPixels(icon.pixmap(QSize(size, size), 1.0).toImage());
        QVERIFY2(blurred <= size / 2,
            qPrintable(QStringLiteral("%1 has %2 half-covered pixels").arg(at).arg(blurred)));
    }

    for (const char *name : { "Label1", "Label2" }) {
        const QFont font = ui.control<QLabel>(name)->font();
        QCOMPARE(font.family(), QStringLiteral("Verdana"));
        QCOMPARE(font.pointSizeF(), 8.25);
        QVERIFY(font.bold());
        QCOMPARE(
            ui.control<QLabel>(name)->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(ui.control<QLabel>(name)->autoFillBackground());
    }
    for (const char *name : { "CmdSaveTXT", "Command1" }) {
        const QFont font = ui.control(name)->font();
        QCOMPARE(font.family(), QStringLiteral("Verdana"));
        QCOMPARE(font.pointSizeF(), 8.25);
        QVERIFY(!font.bold());
    }
    QCOMPARE(ui.control("CmdAddFolder")->font(), ui.window.font());
    // Folder paths are laid out each in its own direction, as the file names are.
    QVERIFY(dynamic_cast<NameDelegate *>(ui.folders()->itemDelegate()));

    // Buttons are drawn over the heading bands they overlap.
    QCOMPARE(ui.window.childAt(266, 12), ui.control("CmdAddFolder"));
    QCOMPARE(ui.window.childAt(266, 126), ui.control("CmdDelList"));
    // The two "Remove" buttons are told apart by assistive technology.
    QVERIFY(
        ui.control("CmdDelFolder")->accessibleName() != ui.control("CmdDelList")->accessibleName());

    const QHeaderView *header = ui.files()->header();
    QCOMPARE(header->count(), 2);
    QCOMPARE(header->sectionSize(0), 267);
    QCOMPARE(header->sectionSize(1), 96);
    QCOMPARE(ui.files()->model()->headerData(0, Qt::Horizontal).toString(), "File Name");
    QCOMPARE(ui.files()->model()->headerData(1, Qt::Horizontal).toString(), "Extension");
    QCOMPARE(ui.files()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(ui.folderList(), QStringList());
    QCOMPARE(ui.rows(), QList<QByteArray>());
}

void tst_WindowLook::focusOrder()
{
    Window ui;
    QVERIFY(ui.waitActive());
    QCOMPARE(QApplication::focusWidget(), ui.folders());
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited,
        (QStringList { "CmdAddFolder", "CmdDelFolder", "CmdSaveTXT", "CmdDelList", "Command1",
            "LvFiles", "Command2", "ListFolder" }));
}

void tst_WindowLook::focusShows_data()
{
    // What the user did last, and the control that has the focus then.
    QTest::addColumn<QString>("done");
    QTest::addColumn<QString>("focused");
    QTest::newRow("at start") << ""
                              << "ListFolder";
    QTest::newRow("Add clicked, its dialog cancelled") << "CmdAddFolder"
                                                       << "CmdAddFolder";
    QTest::newRow("a click on Remove, nothing to remove") << "CmdDelFolder"
                                                          << "CmdDelFolder";
    QTest::newRow("a click on the empty file list") << "LvFiles"
                                                    << "LvFiles";
    QTest::newRow("Tab from the file list") << "Tab"
                                            << "Command2";
}

// The focus is drawn wherever it is, however it got there: the focused
// control looks otherwise than when the focus is elsewhere.
void tst_WindowLook::focusShows()
{
    QFETCH(QString, done);
    QFETCH(QString, focused);
    Window ui;
    QVERIFY(ui.waitActive());
    ui.dialogs.cancel();
    if (done == QLatin1String("Tab")) {
        QTest::mouseClick(ui.files()->viewport(), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } else if (!done.isEmpty()) {
        QWidget *clicked = ui.control<QWidget>(qPrintable(done));
        if (auto *view = qobject_cast<QAbstractItemView *>(clicked))
            clicked = view->viewport();
        QTest::mouseClick(clicked, Qt::LeftButton);
        // Keys go to the window again once a dialog it opened has gone.
        ui.activate();
    }
    QWidget *control = ui.control<QWidget>(qPrintable(focused));
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), control, 10000);
    const QImage shown = control->grab().toImage();
    QWidget *elsewhere = ui.control<QWidget>(focused == u"Command1" ? "Command2" : "Command1");
    elsewhere->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), elsewhere, 10000);
    QVERIFY2(control->grab().toImage() != shown,
        qPrintable(QStringLiteral("no focus drawn on %1 (%2)").arg(focused, done)));
}

void tst_WindowLook::bandsAreReadable()
{
    auto bands = [](const Window &ui) { // white captions checked in windowLooksAsDesigned
        return QList<QColor> { ui.control<QLabel>("Label1")->palette().color(QPalette::Window),
            ui.control<QLabel>("Label2")->palette().color(QPalette::Window) };
    };
    {
        // Qt's own palette makes grey text too light for white on it.
        Window ui;
        for (const QColor &band : bands(ui))
            QVERIFY2(contrast(band, Qt::white) >= 4.5, qPrintable(band.name()));
    }
    QPalette darkGrey = QApplication::palette();
    darkGrey.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x50, 0x50, 0x50));
    QPalette dark = darkGrey;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    {
        // Where the platform's grey is dark enough it is the band.
        AppPalette palette(darkGrey);
        Window ui;
        QCOMPARE(bands(ui), (QList<QColor> { QColor(0x50, 0x50, 0x50), QColor(0x50, 0x50, 0x50) }));

        // A dark scheme chosen while the window is open: its grey (3.9:1) is passed over.
        QApplication::setPalette(dark);
        for (const QColor &band : bands(ui))
            QVERIFY2(contrast(band, Qt::white) >= 4.5, qPrintable(band.name()));
    }
}

void tst_WindowLook::captionsFitAtLargeFonts()
{
    QMap<QString, QRect> designed;
    {
        Window ui;
        for (QWidget *widget : ui.window.findChildren<QWidget *>())
            designed.insert(widget->objectName(), widget->geometry());
    }
    for (const int points : { 11, 14 }) {
        AppFont large(QFont(QApplication::font().family(), points));
        Window ui;
        for (QPushButton *button : ui.window.findChildren<QPushButton *>()) {
            QCOMPARE(button->geometry(), designed.value(button->objectName()));
            QCOMPARE(button->font().pointSizeF(), 8.25);
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room
                = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const int needed = button->fontMetrics().horizontalAdvance(button->text());
            QVERIFY2(needed <= room.width(), qPrintable(button->objectName()));
        }
        for (QAbstractItemView *list : ui.lists())
            QCOMPARE(list->font().pointSizeF(), 8.25);
    }
}

void tst_WindowLook::listsAreNamedForAssistiveTechnology()
{
    Window ui;
    QCOMPARE(ui.control<QLabel>("Label1")->buddy(), ui.folders());
    QCOMPARE(ui.control<QLabel>("Label2")->buddy(), ui.files());
    QCOMPARE(QAccessible::queryAccessibleInterface(ui.folders())->text(QAccessible::Name),
        QStringLiteral("List of Folder:"));
    QCOMPARE(QAccessible::queryAccessibleInterface(ui.files())->text(QAccessible::Name),
        QStringLiteral("List of files in selected folders:"));
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&ui.window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Tessaly"));
}

QTEST_MAIN(tst_WindowLook)
#include "tst_windowlook.moc"
