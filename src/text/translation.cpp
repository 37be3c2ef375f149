#include "text/translation.h"

#include <cstring>

#include "text/catalog.h"

namespace {

Language language = kEnglish;

// The entry of `english`, by binary search over the catalog's byte order.
const CatalogEntry* entryOf(const char* english) {
    int32_t low = 0;
    int32_t high = kCatalogSize - 1;
    while (low <= high) {
        const int32_t middle = low + (high - low) / 2;
        const int order = std::strcmp(catalogText(kCatalog[middle].english), english);
        if (order == 0) return &kCatalog[middle];
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return nullptr;
}

// Russian and Ukrainian alike: 1, 21, 31... take the first form; 2-4,
// 22-24... the second; the rest, 11-14 among them, the third.
int slavicForm(int64_t n) {
    const int64_t units = n % 10;
    const int64_t tens = n % 100;
    if (units == 1 && tens != 11) return 0;
    if (units >= 2 && units <= 4 && (tens < 12 || tens > 14)) return 1;
    return 2;
}

const char* formOf(const CatalogEntry& entry, int form) {
    const int32_t* forms = language == kRussian ? entry.russian : entry.ukrainian;
    return catalogText(forms[form]);
}

}  // namespace

void setLanguage(Language chosen) { language = chosen; }

Language currentLanguage() { return language; }

const char* tr(const char* english) {
    if (language == kEnglish) return english;
    const CatalogEntry* entry = entryOf(english);
    if (entry == nullptr || formOf(*entry, 0) == nullptr) return english;
    return formOf(*entry, 0);
}

const char* trPlural(const char* one, const char* many, int64_t n) {
    if (language != kEnglish) {
        const CatalogEntry* entry = entryOf(one);
        if (entry != nullptr && entry->englishMany != kNoText) {
            const char* form = formOf(*entry, slavicForm(n < 0 ? -n : n));
            if (form != nullptr) return form;
        }
    }
    return n == 1 ? one : many;
}

const char* languageCode() {
    static const char* const kCodes[kLanguageCount] = {"en", "ru", "uk"};
    return kCodes[language];
}
