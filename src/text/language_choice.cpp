#include "text/language_choice.h"

namespace {

bool isSet(const char* value) { return value != nullptr && value[0] != '\0'; }

const char* firstSet(const char* a, const char* b, const char* c) {
    if (isSet(a)) return a;
    if (isSet(b)) return b;
    return isSet(c) ? c : "C";
}

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// "C", "POSIX", "C.UTF-8": the locale of no language at all.
bool isPlainLocale(const char* locale) {
    const bool c = locale[0] == 'C' && (locale[1] == '\0' || locale[1] == '.');
    const char* posix = "POSIX";
    int i = 0;
    while (posix[i] != '\0' && locale[i] == posix[i]) ++i;
    return c || (posix[i] == '\0' && locale[i] == '\0');
}

// Whether the locale's character set (between '.' and '@') is UTF-8,
// spelt as glibc accepts it: "UTF-8", "utf8".
bool isUtf8Locale(const char* locale) {
    const char* c = locale;
    while (*c != '\0' && *c != '.') ++c;
    if (*c != '.') return false;
    const char* wanted = "utf8";
    int matched = 0;
    for (++c; *c != '\0' && *c != '@'; ++c) {
        if (*c == '-') continue;
        if (wanted[matched] == '\0' || lowerCase(*c) != wanted[matched]) return false;
        ++matched;
    }
    return wanted[matched] == '\0';
}

}  // namespace

bool languageOfTag(const char* tag, Language* language) {
    const char a = lowerCase(tag[0]);
    const char b = a == '\0' ? '\0' : lowerCase(tag[1]);
    const char after = b == '\0' ? '\0' : tag[2];
    if (after != '\0' && after != '_' && after != '-' && after != '.' && after != '@') return false;
    if (a == 'r' && b == 'u') *language = kRussian;
    else if (a == 'u' && b == 'k') *language = kUkrainian;
    else if (a == 'e' && b == 'n') *language = kEnglish;
    else return false;
    return true;
}

Language chooseLanguage(const LanguageEnvironment& environment) {
    const char* messages = firstSet(environment.lcAll, environment.lcMessages, environment.lang);
    const char* characters = firstSet(environment.lcAll, environment.lcCtype, environment.lang);
    if (isPlainLocale(messages) || !isUtf8Locale(characters)) return kEnglish;
    Language language = kEnglish;
    if (isSet(environment.language)) {
        // The list's languages in turn: one without a translation is
        // passed over, and none at all leaves the texts as written.
        char tag[64];
        const char* c = environment.language;
        while (*c != '\0') {
            int length = 0;
            for (; *c != '\0' && *c != ':'; ++c) {
                if (length < static_cast<int>(sizeof tag) - 1) tag[length++] = *c;
            }
            tag[length] = '\0';
            if (*c == ':') ++c;
            if (languageOfTag(tag, &language)) return language;
        }
        return kEnglish;
    }
    return languageOfTag(messages, &language) ? language : kEnglish;
}
