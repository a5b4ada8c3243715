// SPDX-License-Identifier: MIT
#include "core/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void installTranslations(const QLocale &locale, QtTexts qt)
{
    const auto install = [&](const QString &name, const QString &folder) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    };
    // Qt's own first: a text the program translates itself wins, as the
    // translator installed last is asked first.
    if (qt == QtTexts::Translated)
        install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // The English plural forms, asked only where the session's language has none.
    auto *english = new QTranslator(QCoreApplication::instance());
    if (english->load(QStringLiteral(":/i18n/quillmere_en.qm")))
        QCoreApplication::installTranslator(english);
    install(QStringLiteral("quillmere"), QStringLiteral(":/i18n"));
}
