// A whole game in Russian and in Ukrainian at a terminal, with every file
// of the run: no English is left in what the user reads. The check is a
// property of the texts, not a copy of the translations: every Latin word
// is one of the method's symbols, a name typed, or the program's name.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pty_session.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// The symbols of the course, the names typed and the program's name.
const std::set<std::string> kAllowedWords = {
    "k", "i", "j",   "A",   "B",    "V",     "GM",   "S",     "X",   "Y",     "N",       "p",
    "q", "v", "max", "min", "sqrt", "alpha", "beta", "Alice", "Bob", "brown", "robinson"};

std::string contentOf(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

// What a reader sees of a page or a picture: the style sheet, the tags
// and the character references dropped.
std::string readableText(const std::string& markup) {
    std::string text = std::regex_replace(markup, std::regex("<style>[\\s\\S]*?</style>"), " ");
    text = std::regex_replace(text, std::regex("<[^>]*>"), " ");
    return std::regex_replace(text, std::regex("&#?[A-Za-z0-9]+;"), " ");
}

// The Latin words of a text that are none of the allowed ones.
std::set<std::string> foreignWords(const std::string& text) {
    const std::string plain = std::regex_replace(text, std::regex("\x1b\\[[0-9;?]*[A-Za-z]"), " ");
    std::set<std::string> found;
    const std::regex word("[A-Za-z]+");
    for (auto it = std::sregex_iterator(plain.begin(), plain.end(), word);
         it != std::sregex_iterator(); ++it) {
        if (kAllowedWords.count(it->str()) == 0) found.insert(it->str());
    }
    return found;
}

std::string listed(const std::set<std::string>& words) {
    std::string list;
    for (const std::string& w : words) list += w + " ";
    return list;
}

TEST(Languages, AWholeGameLeavesNoEnglishWord) {
    const struct {
        const char* locale;
        const char* lang;      // the page's lang attribute
        bool englishExpected;  // the control: the same check finds English
    } cases[] = {
        {"LANG=ru_RU.UTF-8", "ru", false},
        {"LANG=uk_UA.UTF-8", "uk", false},
        {"LANG=C.UTF-8", "en", true},
    };
    char name[] = "/tmp/brown-robinson-languages-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const fs::path folder = name;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const std::vector<std::string> files = {(folder / "report.html").string(),
                                                (folder / "run.svg").string(),
                                                (folder / "g.graph.svg").string()};
        PtySession session;
        session.addEnvironment(c.locale);
        session.setArguments(
            {"-x", "-s", "-n", "4", "-o", files[0], "-o", files[1], "-o", files[2]});
        ASSERT_TRUE(session.start());
        session.type("Alice\nBob\n3\n3\n5 0 7\n2 5 0\n6 1 8\n");
        ASSERT_TRUE(session.waitForRawMode());
        session.type("Y");
        ASSERT_TRUE(session.waitForCookedMode());
        session.type("1\n4\n");
        ASSERT_TRUE(session.waitForRawMode());
        session.type("q");
        ASSERT_TRUE(session.readUntilExit());
        EXPECT_TRUE(exitedWith(session.exitStatus(), 'q'));

        const std::string page = contentOf(files[0]);
        EXPECT_NE(page.find(std::string("<html lang=\"") + c.lang + "\">"), std::string::npos);
        const struct {
            const char* what;
            std::string text;
        } texts[] = {
            {"terminal", session.transcript()},
            {"page", readableText(page)},
            {"picture", readableText(contentOf(files[1]))},
            {"graph", readableText(contentOf(files[2]))},
        };
        for (const auto& t : texts) {
            SCOPED_TRACE(t.what);
            EXPECT_FALSE(t.text.empty());
            const std::set<std::string> foreign = foreignWords(t.text);
            EXPECT_EQ(!foreign.empty(), c.englishExpected) << listed(foreign);
        }
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace e2e
