// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>

// Whether Qt's own catalogue comes too: it speaks for Qt's dialogs and
// buttons. The system's reasons never come from it (see systemReason()).
enum class QtTexts { Translated, AsGiven };

// Installs the program's own translation for locale and, unless qt says not
// to, Qt's, so that Qt's dialogs and the program's texts speak the same
// language; both programs call it. The default locale's languages are
// LANGUAGE's list, else LC_ALL, else LC_MESSAGES, else LANG, as Qt reads them
// from the environment, so no system locale need be installed. Missing
// catalogues are skipped: the program then shows its English texts, with
// English plurals. Call once, after the application object is made and
// before the first text is shown.
void installTranslations(const QLocale &locale = QLocale(), QtTexts qt = QtTexts::Translated);
