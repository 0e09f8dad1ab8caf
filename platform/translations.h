#pragma once

class QCoreApplication;
class QLocale;
class QTranslator;

namespace kobako::platform {

// Qt's own texts (the buttons of the messages, the font dialog) in the language of the program's
// own texts: Japanese where the locale asks for Japanese or for no language (C, POSIX), else the
// locale's language where Debian's qt6-translations-l10n has it. Translators installed last win,
// so the program's own translation is installed after this. The translator installed, if any.
QTranslator *installQtTranslations(QCoreApplication &application, const QLocale &locale);

// The program's own texts in English, where the locale asks for a language other than Japanese;
// elsewhere they stay the Japanese they are written in. The translator installed, if any.
QTranslator *installProgramTranslation(QCoreApplication &application);

} // namespace kobako::platform
