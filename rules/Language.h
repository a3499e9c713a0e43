#pragma once

#include <QString>
#include <QStringList>

// The two languages the game and its home page speak. Japanese is the
// game's own: the source of every text, and what everyone gets who has not
// asked for English before Japanese.
enum class Language { Japanese, English };

// The language for languages listed in the order they are wanted, spelled
// as BCP 47 tags or POSIX locale names ("en-GB", "en_GB.UTF-8", "ja"):
// English when an English one comes before any Japanese one. "C", "POSIX"
// and anything else count for neither.
Language languageFor(const QStringList &wanted);

// The language the desktop asks for, read from the environment as Qt and
// gettext read it: LANGUAGE's list (en_GB:ja), then the locale of messages
// (LC_ALL, else LC_MESSAGES, else LANG). Under the C or POSIX locale, or none,
// programs show their texts untranslated, LANGUAGE or not: Japanese here.
Language desktopLanguage();

// "ja" or "en", as in <html lang> and the translations' file names.
QString languageCode(Language language);
