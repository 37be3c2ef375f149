// The language a user's environment asks for, and the forms a count takes.
#include <gtest/gtest.h>

#include <string>

#include "text/catalog.h"
#include "text/language_choice.h"
#include "text/translation.h"

namespace {

TEST(LanguageChoice, AsGettextChoosesItAndOnlyInUtf8) {
    const struct {
        LanguageEnvironment environment;  // LANGUAGE, LC_ALL, LC_MESSAGES, LC_CTYPE, LANG
        Language chosen;
    } cases[] = {
        {{nullptr, nullptr, nullptr, nullptr, nullptr}, kEnglish},
        {{nullptr, nullptr, nullptr, nullptr, "ru_RU.UTF-8"}, kRussian},
        {{nullptr, nullptr, nullptr, nullptr, "ru_UA.UTF-8"}, kRussian},
        {{nullptr, nullptr, nullptr, nullptr, "uk_UA.UTF-8"}, kUkrainian},
        {{nullptr, nullptr, nullptr, nullptr, "uk_UA.utf8"}, kUkrainian},
        {{nullptr, nullptr, nullptr, nullptr, "ru_RU.utf8@euro"}, kRussian},
        {{nullptr, nullptr, nullptr, nullptr, "en_GB.UTF-8"}, kEnglish},
        {{nullptr, nullptr, nullptr, nullptr, "de_DE.UTF-8"}, kEnglish},
        {{nullptr, nullptr, nullptr, nullptr, "rus_RU.UTF-8"}, kEnglish},
        // Another character set, or none named, keeps English.
        {{nullptr, nullptr, nullptr, nullptr, "ru_RU.KOI8-R"}, kEnglish},
        {{nullptr, nullptr, nullptr, nullptr, "ru_RU"}, kEnglish},
        {{nullptr, nullptr, nullptr, "C", "ru_RU.UTF-8"}, kEnglish},
        // The character set is LC_CTYPE's, the language LANG's.
        {{nullptr, nullptr, nullptr, "C.UTF-8", "ru_RU.KOI8-R"}, kRussian},
        {{nullptr, nullptr, nullptr, "en_US.UTF-8", "uk_UA.KOI8-U"}, kUkrainian},
        // LC_ALL over LC_MESSAGES over LANG.
        {{nullptr, "C", nullptr, nullptr, "ru_RU.UTF-8"}, kEnglish},
        {{nullptr, "uk_UA.UTF-8", "ru_RU.UTF-8", nullptr, "ru_RU.UTF-8"}, kUkrainian},
        {{nullptr, nullptr, "uk_UA.UTF-8", nullptr, "ru_RU.UTF-8"}, kUkrainian},
        {{nullptr, "", "", "", "ru_RU.UTF-8"}, kRussian},
        // LANGUAGE: its first language with a translation, unless the
        // locale is C or POSIX.
        {{"uk", nullptr, nullptr, nullptr, "ru_RU.UTF-8"}, kUkrainian},
        {{"uk", nullptr, nullptr, nullptr, "en_US.UTF-8"}, kUkrainian},
        {{"de:uk:ru", nullptr, nullptr, nullptr, "en_US.UTF-8"}, kUkrainian},
        {{"en:ru", nullptr, nullptr, nullptr, "ru_RU.UTF-8"}, kEnglish},
        {{"de:fr", nullptr, nullptr, nullptr, "ru_RU.UTF-8"}, kEnglish},
        {{"ru_RU", nullptr, nullptr, nullptr, "en_US.UTF-8"}, kRussian},
        {{"", nullptr, nullptr, nullptr, "ru_RU.UTF-8"}, kRussian},
        {{"ru", nullptr, nullptr, nullptr, "C"}, kEnglish},
        {{"ru", nullptr, nullptr, nullptr, "POSIX"}, kEnglish},
        {{"ru", nullptr, nullptr, nullptr, "C.UTF-8"}, kEnglish},
        {{"ru", nullptr, nullptr, nullptr, nullptr}, kEnglish},
    };
    for (const auto& c : cases) {
        const LanguageEnvironment& e = c.environment;
        const auto shown = [](const char* v) {
            return v == nullptr ? std::string("-") : "'" + std::string(v) + "'";
        };
        EXPECT_EQ(chooseLanguage(e), c.chosen)
            << "LANGUAGE=" << shown(e.language) << " LC_ALL=" << shown(e.lcAll)
            << " LC_MESSAGES=" << shown(e.lcMessages) << " LC_CTYPE=" << shown(e.lcCtype)
            << " LANG=" << shown(e.lang);
    }
}

TEST(Translation, EnglishIsTheTextItselfAndTheCatalogIsOrdered) {
    setLanguage(kEnglish);
    const char* text = "Try 'brown-robinson --help' for more information.\n";
    EXPECT_EQ(tr(text), text);
    EXPECT_STREQ(trPlural("%d iteration", "%d iterations", 1), "%d iteration");
    EXPECT_STREQ(trPlural("%d iteration", "%d iterations", 21), "%d iterations");
    // Binary search needs the catalog in strcmp's order, each text once.
    for (int32_t i = 1; i < kCatalogSize; ++i) {
        EXPECT_LT(std::string(catalogText(kCatalog[i - 1].english)),
                  std::string(catalogText(kCatalog[i].english)));
    }
    for (const Language language : {kRussian, kUkrainian}) {
        setLanguage(language);
        EXPECT_STREQ(tr("a text no catalog holds"), "a text no catalog holds");
        for (int32_t i = 0; i < kCatalogSize; ++i) {
            const char* english = catalogText(kCatalog[i].english);
            if (kCatalog[i].englishMany == kNoText) {
                EXPECT_STRNE(tr(english), english);
            }
        }
    }
    setLanguage(kEnglish);
}

// The three Slavic forms by the last two digits of the count.
TEST(Translation, PluralFormsByTheLastDigits) {
    const CatalogEntry* plural = nullptr;
    for (int32_t i = 0; i < kCatalogSize && plural == nullptr; ++i) {
        if (kCatalog[i].englishMany != kNoText) plural = &kCatalog[i];
    }
    if (plural == nullptr) GTEST_SKIP() << "no plural text translated yet";
    setLanguage(kRussian);
    const struct {
        int64_t n;
        int form;
    } cases[] = {{1, 0},  {21, 0}, {101, 0}, {11, 2}, {111, 2}, {2, 1},       {4, 1},       {24, 1},
                 {12, 2}, {14, 2}, {5, 2},   {0, 2},  {10, 2},  {1000000, 2}, {10000001, 0}};
    for (const auto& c : cases) {
        EXPECT_STREQ(trPlural(catalogText(plural->english), catalogText(plural->englishMany), c.n),
                     catalogText(plural->russian[c.form]))
            << c.n;
    }
    setLanguage(kEnglish);
}

}  // namespace
