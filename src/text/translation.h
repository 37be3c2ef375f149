// The program's texts in the user's language. Every text is written in
// English in the code and marked with tr() (or trPlural()), so that
// xgettext finds it; po/ru.po and po/uk.po hold the translations, and
// tools/po_catalog.py turns them into the catalog compiled into the
// program (text/catalog.cpp and catalog_text.cpp), the same on every platform. In English a
// text is its own translation: tr() returns it at once.
#pragma once

#include <cstdint>

enum Language {
    kEnglish,    // the texts as written: the default and the fallback
    kRussian,    // ru
    kUkrainian,  // uk
};

constexpr int kLanguageCount = 3;

// The language of every text from now on; English until set.
void setLanguage(Language chosen);
Language currentLanguage();

// The translation of `english` (a text marked for translation), or
// `english` itself where there is none.
const char* tr(const char* english);

// The form of a text for the count `n`: `one` and `many` as English
// writes them; Russian and Ukrainian take one of their three forms.
const char* trPlural(const char* one, const char* many, int64_t n);

// A text marked for translation where it is kept (an entry of a table
// made before the language is known), to be translated by tr() where it
// is shown.
constexpr const char* markedText(const char* english) { return english; }

// The language's code for documents: "en", "ru", "uk".
const char* languageCode();
