// Which language the user's environment asks for, as every program that
// uses gettext chooses it: LANGUAGE (a list, the first language with a
// translation wins) unless the locale is C or POSIX, else the language of
// LC_ALL, LC_MESSAGES or LANG, the first set. Texts are translated only
// into UTF-8: a locale of another character set keeps English, rather than
// write bytes its terminal would misread.
#pragma once

#include "text/translation.h"

struct LanguageEnvironment {
    const char* language;    // LANGUAGE, or nullptr when unset
    const char* lcAll;       // LC_ALL, likewise
    const char* lcMessages;  // LC_MESSAGES
    const char* lcCtype;     // LC_CTYPE
    const char* lang;        // LANG
};

Language chooseLanguage(const LanguageEnvironment& environment);

// The language a tag names ("ru", "ru_UA.UTF-8", "uk-UA", "en-GB"): true
// with it for Russian, Ukrainian and English, false for any other.
bool languageOfTag(const char* tag, Language* language);
