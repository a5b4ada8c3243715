// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>

// Installs the program's own translation for locale and Qt's, so that Qt's
// dialogs and the program's texts speak the same language. Missing catalogues
// are skipped: the program then shows its English texts, with English plurals. Call once, after the
// application object is made and before any window is built.
void installTranslations(const QLocale &locale = QLocale());
