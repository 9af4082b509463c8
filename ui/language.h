#pragma once
// The language of the program's texts. Its own texts are Czech (the main window, the warning,
// the page) and English (the preview, the dialogs, the messages); English and German
// translations replace them where the user's languages ask for one.
#include <QString>
#include <QStringList>
#include <string>

#include "calc/errors.h"

namespace hb9cv {

// The user's languages in order of preference, as QLocale::system().uiLanguages() reads them on
// Unix: LANGUAGE (a colon-separated list), else the messages locale (LC_ALL, else LC_MESSAGES,
// else LANG). Read afresh on every call. A C or POSIX messages locale (or none) means the
// program's own texts: LANGUAGE is then ignored, as the C library's messages do.
QStringList UiLanguages();

// The first of `languages` that is Czech (the program's own texts) or has a translation:
// "cs", "en" or "de"; empty when none is ("fr", "C").
QString ChooseLanguage(const QStringList& languages);

// Loads the translations of ChooseLanguage(UiLanguages()) and Qt's own texts in that language
// (in the first of the user's languages when the program has no translation for any), replacing
// the ones loaded before. Needs the application object. Returns whether Qt's texts were found.
bool InstallQtTranslation();

// An error message in the user's language.
QString TranslatedMessage(const Exception& error);

// The diameter text's words (calc's kDiameterWords) in the user's language, as UTF-8.
std::string DiameterWords();

}  // namespace hb9cv
