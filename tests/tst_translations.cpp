// SPDX-License-Identifier: MIT
#include "core/translations.h"
#include "windowfixture.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <memory>

// The program's catalogue for one language, asked first while it lives.
class Catalogue
{
public:
    explicit Catalogue(const QString &language)
    {
        if (m_translator.load(QStringLiteral(":/i18n/quillmere_") + language))
            QCoreApplication::installTranslator(&m_translator);
    }
    ~Catalogue() { QCoreApplication::removeTranslator(&m_translator); }
    bool loaded() const { return !m_translator.isEmpty(); }

private:
    QTranslator m_translator;
};

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installTranslations(); }
    void windowSpeaksTheSessionLanguage();
    void captionsFitTheDesign_data();
    void captionsFitTheDesign();
    void pluralsFollowTheLanguage();
    void everyTextTranslatedWithItsPlaceholders_data();
    void everyTextTranslatedWithItsPlaceholders();
};

// Run twice by CTest: under C.UTF-8, where the designed English texts stay,
// and under de_DE.UTF-8, where the window and Qt's own dialog speak German.
void tst_Translations::windowSpeaksTheSessionLanguage()
{
    const QLocale::Language language = QLocale().language();
    if (language != QLocale::German && language != QLocale::C && language != QLocale::English)
        QSKIP("runs under C.UTF-8 or de_DE.UTF-8 only");
    const bool german = language == QLocale::German;
    if (german
        && !QFile::exists(
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm")))
        QSKIP("Qt's German catalogue is not installed (qt6-translations-l10n)");

    Window ui;
    QCOMPARE(ui.control("Command1")->text(), german ? QStringLiteral("Schließen") : "Close");
    QCOMPARE(ui.control("CmdAddFolder")->text(), german ? QStringLiteral("Anfügen") : "Add");
    QCOMPARE(ui.control<QLabel>("Label1")->text(),
        german ? QStringLiteral(" Ordnerliste:") : " List of Folder:");
    QCOMPARE(ui.files()->model()->headerData(0, Qt::Horizontal).toString(),
        german ? QStringLiteral("Dateiname") : "File Name");

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFileDialog dialog(nullptr, QString(), folder.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn);
    QCOMPARE(lookIn->text(), german ? QStringLiteral("Suchen in:") : "Look in:");
}

void tst_Translations::captionsFitTheDesign_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("de") << "de";
    QTest::newRow("fr") << "fr";
}

// At the design font, as the large-font test measures, no caption is cut in
// any language: the buttons, the bands and the column headers with the arrow.
void tst_Translations::captionsFitTheDesign()
{
    QFETCH(QString, language);
    Catalogue catalogue(language);
    QVERIFY2(catalogue.loaded(), "the catalogue is built into the program");
    Window ui;
    QVERIFY2(ui.control("Command1")->text() != QLatin1StringView("Close"), "translated");

    // Where a caption is cut: its text and the pixels it needs and has.
    const auto cut = [](const QWidget *widget, const QString &text, const QRect &room) {
        const int needed = widget->fontMetrics().horizontalAdvance(text);
        return needed <= room.width()
            ? QString()
            : QStringLiteral("\"%1\": %2 px in %3").arg(text).arg(needed).arg(room.width());
    };
    for (QPushButton *button : ui.window.findChildren<QPushButton *>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QString text = button->text();
        QCOMPARE(
            cut(button, text,
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button)),
            QString());
    }
    for (const char *name : { "Label1", "Label2" }) {
        const QLabel *band = ui.control<QLabel>(name);
        QCOMPARE(cut(band, band->text(), band->contentsRect()), QString());
    }
    QHeaderView *header = ui.files()->horizontalHeader();
    for (int section = 0; section < header->count(); ++section) {
        QStyleOptionHeader option;
        option.initFrom(header);
        option.text = header->model()->headerData(section, Qt::Horizontal).toString();
        option.rect = QRect(0, 0, header->sectionSize(section), header->height());
        option.sortIndicator = QStyleOptionHeader::SortDown;
        option.state |= QStyle::State_Horizontal;
        QCOMPARE(cut(header, option.text,
                     header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header)),
            QString());
    }
}

void tst_Translations::pluralsFollowTheLanguage()
{
    const QLocale before;
    QLocale::setDefault(QLocale::c()); // digits without separators, whatever the session
    // The count's line of the progress panel: its words agree with the number.
    const auto found = [](int n) {
        return QCoreApplication::translate("WorkProgress",
            "Reading %1\n%Ln files found so far\nPress Esc or Cancel to stop.", nullptr, n)
            .section(u'\n', 1, 1);
    };
    QCOMPARE(found(1), QStringLiteral("1 file found so far"));
    QCOMPARE(found(0), QStringLiteral("0 files found so far"));
    {
        Catalogue german(QStringLiteral("de"));
        QVERIFY(german.loaded());
        QCOMPARE(found(2), QStringLiteral("Bisher 2 Dateien gefunden"));
        QCOMPARE(found(1), QStringLiteral("Bisher 1 Datei gefunden"));
    }
    {
        // French counts zero as one.
        Catalogue french(QStringLiteral("fr"));
        QVERIFY(french.loaded());
        QCOMPARE(found(0), QStringLiteral("0 fichier trouvé pour l’instant"));
        QCOMPARE(found(1), QStringLiteral("1 fichier trouvé pour l’instant"));
        QCOMPARE(found(1000), QStringLiteral("1000 fichiers trouvés pour l’instant"));
    }
    QLocale::setDefault(before);
}

void tst_Translations::everyTextTranslatedWithItsPlaceholders_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("de") << "de";
    QTest::newRow("fr") << "fr";
}

// A translation that drops %1 would drop the path from a message; one left
// unfinished would show English in the middle of German.
void tst_Translations::everyTextTranslatedWithItsPlaceholders()
{
    QFETCH(QString, language);
    QFile file(QStringLiteral(QUILLMERE_TRANSLATIONS "/quillmere_%1.ts").arg(language));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const auto placeholders = [](const QString &text) {
        QStringList found;
        for (const auto &match : QRegularExpression(QStringLiteral("%L?[0-9n]")).globalMatch(text))
            found << match.captured();
        found.sort();
        return found;
    };

    QXmlStreamReader xml(&file);
    QString source;
    int messages = 0;
    bool numerus = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1StringView("message")) {
            numerus = xml.attributes().value(QStringLiteral("numerus")) == u"yes";
        } else if (xml.name() == QLatin1StringView("source")) {
            source = xml.readElementText();
            ++messages;
        } else if (xml.name() == QLatin1StringView("translation")) {
            QVERIFY2(xml.attributes().value(QStringLiteral("type")).isEmpty(), qPrintable(source));
            QStringList forms;
            if (numerus) {
                while (xml.readNextStartElement())
                    forms << xml.readElementText();
                QVERIFY(!forms.isEmpty());
            } else {
                forms << xml.readElementText();
            }
            for (const QString &form : std::as_const(forms)) {
                QVERIFY2(!form.isEmpty(), qPrintable(source));
                QCOMPARE(placeholders(form), placeholders(source));
                QCOMPARE(form.startsWith(u' '), source.startsWith(u' '));
                QCOMPARE(form.endsWith(u'\n'), source.endsWith(u'\n'));
            }
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 20);
}

int main(int argc, char *argv[])
{
    // Qt's file dialog keeps its history in the user's settings, under a lock
    // that a dialog of another process may hold: this test keeps its own.
    QTemporaryDir settings;
    if (!settings.isValid() || !qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path())))
        return 1;
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    tst_Translations test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_translations.moc"
