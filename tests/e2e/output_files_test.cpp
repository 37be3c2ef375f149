// The files of -o from whole program runs: written after the report, whole
// or not at all, and nothing else of the run changed by them. The names
// typed stay text in the page and never reach the table, and every line of
// the table is an iteration of the method, checked by what each iteration
// must satisfy rather than by a second implementation of the writer.
// (make test-browser reads both back in a real browser and against the
// console's wide table.)
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogue_texts.h"
#include "pty_session.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Matrix = std::vector<std::vector<long long>>;

const std::string kWorkedGame = "Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n4\n4\nq";

std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// A folder of its own for the files of one test, removed with them.
struct Folder {
    std::string path;
    Folder() {
        char name[] = "/tmp/brown-robinson-files-XXXXXX";
        path = mkdtemp(name) != nullptr ? name : "";
        EXPECT_FALSE(path.empty()) << "cannot make a folder";
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

std::string contentOf(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

// The dialogue's answers for a game: names, sizes, matrix, the start
// (0: automatic), no table rows, and the final key.
std::string answersFor(const std::string& one, const Matrix& matrix, int start) {
    std::ostringstream answers;
    answers << one << " Bob\n" << matrix.size() << ' ' << matrix[0].size() << '\n';
    for (const auto& row : matrix) {
        for (long long entry : row) answers << entry << ' ';
        answers << '\n';
    }
    answers << (start > 0 ? "Y\n" + std::to_string(start) : std::string("N")) << "\n0\nq";
    return answers.str();
}

// However the run ends, the folder holds the target alone afterwards: the
// whole new file after a whole run, the old one after any other end.
TEST(OutputFile, WholeOrNotAtAll) {
    const DetachedRun plain = runWithoutConsole(kWorkedGame);
    const struct {
        const char* name;
        std::string input;
        int status;
        bool written;
    } cases[] = {
        {"a whole run", kWorkedGame, 'q', true},
        {"no final key", kWorkedGame.substr(0, kWorkedGame.size() - 1), 0, true},
        {"input ended in the matrix", kWorkedGame.substr(0, 20), 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        std::ofstream(folder / "run.svg") << "old";
        const DetachedRun run =
            runWithoutConsole(c.input, kTimeoutMs, nullptr, {"-o", folder / "run.svg"});
        EXPECT_TRUE(exitedWith(run.status, c.status));
        EXPECT_EQ(entriesOf(folder.path), std::set<std::string>{"run.svg"});
        const std::string svg = contentOf(folder / "run.svg");
        if (c.written) {
            EXPECT_EQ(svg.substr(0, 5), "<?xml");
            EXPECT_EQ(svg.substr(svg.size() - std::min<size_t>(svg.size(), 7)), "</svg>\n");
        } else {
            EXPECT_EQ(svg, "old");
        }
        if (c.status == 'q') {
            EXPECT_EQ(visible(run.output), visible(plain.output));
        }
        EXPECT_EQ(run.errors, "");
    }
}

// Nothing is made for a file before it is written, so that a signal at a
// prompt, even one that cannot be caught, leaves the folder as it was.
TEST(OutputFile, SignalLeavesTheTargetAsItWas) {
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT, SIGKILL}) {
        SCOPED_TRACE(signalNumber);
        Folder folder;
        std::ofstream(folder / "run.svg") << "old";
        PtySession session;
        session.setArguments({"--output=" + folder / "run.svg"});
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(session.waitFor(screenOf(kFirstName)));
        EXPECT_EQ(entriesOf(folder.path), std::set<std::string>{"run.svg"});
        session.sendSignal(signalNumber);
        ASSERT_TRUE(session.waitForExit());
        EXPECT_TRUE(killedBy(session.exitStatus(), signalNumber));
        EXPECT_EQ(entriesOf(folder.path), std::set<std::string>{"run.svg"});
        EXPECT_EQ(contentOf(folder / "run.svg"), "old");
    }
}

// The user a run is made as when a case needs one who may not write a
// file: root may write any file, so a run as root becomes nobody.
constexpr uid_t kOtherUser = 65534;

void becomeOtherUser() {
    if (geteuid() != 0) return;
    if (setgroups(0, nullptr) != 0 || setgid(kOtherUser) != 0 || setuid(kOtherUser) != 0)
        _exit(125);
}

// A target that this run could not or should not replace is found before
// the dialogue, as a usage error, and nothing in its folder changes.
TEST(OutputFile, TargetsThatMayNotBeReplacedAreUsageErrors) {
    const bool root = geteuid() == 0;
    const struct {
        const char* name;
        std::string (*setUp)(const Folder& folder);  // makes the files, returns the target
        bool asOtherUser;
        bool needsRoot;       // to make a file of another user
        const char* problem;  // after "brown-robinson: "; %s is the target
    } cases[] = {
        {"a folder in its place",
         [](const Folder& f) {
             fs::create_directory(f / "pictures.svg");
             return f / "pictures.svg";
         },
         false, false, "cannot write '%s': Is a directory"},
        // (A pipe of the test's own: a program that replaced it would do
        // no harm, as it would to a device such as /dev/null.)
        {"a link to a pipe",
         [](const Folder& f) {
             EXPECT_EQ(mkfifo((f / "pipe").c_str(), 0666), 0);
             fs::create_symlink("pipe", f / "pipe.svg");
             return f / "pipe.svg";
         },
         false, false, "cannot write '%s': Operation not supported"},
        {"the game file read",
         [](const Folder& f) {
             std::ofstream(f / "game.game") << kWorkedGame;
             return f / "game.game";
         },
         false, false, "'%s': input file is output file"},
        {"the game file through a link",
         [](const Folder& f) {
             std::ofstream(f / "game.game") << kWorkedGame;
             fs::create_symlink("game.game", f / "link.game");
             return f / "link.game";
         },
         false, false, "'%s': input file is output file"},
        {"a file its user made read-only",
         [](const Folder& f) {
             std::ofstream(f / "kept.svg") << "old";
             fs::permissions(f / "kept.svg", fs::perms(0444));
             if (geteuid() == 0) {
                 EXPECT_EQ(chown((f / "kept.svg").c_str(), kOtherUser, 0), 0);
             }
             return f / "kept.svg";
         },
         true, false, "cannot write '%s': Permission denied"},
        {"a file of another user in a sticky folder",
         [](const Folder& f) {
             fs::create_directory(f / "shared");
             fs::permissions(f / "shared", fs::perms(01777));
             std::ofstream(f / "shared/theirs.svg") << "old";
             fs::permissions(f / "shared/theirs.svg", fs::perms(0666));
             return f / "shared/theirs.svg";
         },
         true, true, "cannot write '%s': Permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && !root) {
            std::printf("skipped (needs root to make a file of another user): %s\n", c.name);
            continue;
        }
        Folder folder;
        fs::permissions(folder.path, fs::perms(0777));  // the other user may make files in it
        const std::string target = c.setUp(folder);
        std::vector<std::string> arguments = {"-o", target};
        if (fs::exists(folder / "game.game")) arguments.push_back(folder / "game.game");
        const auto before = entriesOf(folder.path);
        const std::string content = fs::is_regular_file(target) ? contentOf(target) : "";
        const DetachedRun run =
            runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, arguments, nullptr,
                              c.asOtherUser ? becomeOtherUser : nullptr);
        EXPECT_TRUE(exitedWith(run.status, 2));
        EXPECT_EQ(run.output, "");
        char problem[512];
        std::snprintf(problem, sizeof problem, c.problem, target.c_str());
        EXPECT_EQ(run.errors, "brown-robinson: " + std::string(problem) +
                                  "\nTry 'brown-robinson --help' for more information.\n");
        EXPECT_EQ(entriesOf(folder.path), before);
        if (fs::is_regular_file(target)) {
            EXPECT_EQ(contentOf(target), content);
        }
    }
}

// A replaced file keeps its permission bits and its owner; a symbolic
// link leads to the file that is written, and stays a link; any name the
// system takes can be written, however long.
TEST(OutputFile, AReplacedFileKeepsWhatItWas) {
    const bool root = geteuid() == 0;
    const std::string longName = std::string(250 - 4, 'n') + ".svg";
    const struct {
        const char* name;
        std::string target;   // in the folder
        std::string written;  // the file that gets the picture
        int mode;             // of the file there before, or -1 for none
        uid_t owner;          // given to it when root, and expected after
        const char* link;     // target is a link to this, when not null
        bool needsRoot;
    } cases[] = {
        {"a private file", "run.svg", "run.svg", 0600, 0, nullptr, false},
        {"an executable one", "run.svg", "run.svg", 0750, 0, nullptr, false},
        // access() answers yes for root, which may write any file: it is
        // replaced, and stays read-only.
        {"a read-only file, replaced by root", "run.svg", "run.svg", 0444, 0, nullptr, true},
        {"a file of another user, replaced by root", "run.svg", "run.svg", 0640, kOtherUser,
         nullptr, true},
        {"a link to a file", "link.svg", "real.svg", 0600, 0, "real.svg", false},
        {"a link to a file not yet there", "link.svg", "new.svg", -1, 0, "new.svg", false},
        {"a link to a file in a folder", "link.svg", "sub/real.svg", 0640, 0, "sub/real.svg",
         false},
        {"a 250-byte name", longName, longName, -1, 0, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && !root) {
            std::printf("skipped (needs root): %s\n", c.name);
            continue;
        }
        Folder folder;
        fs::create_directory(folder / "sub");
        const std::string written = folder / c.written;
        if (c.mode >= 0) {
            std::ofstream(written) << "old";
            fs::permissions(written, fs::perms(c.mode));
            if (root) {
                EXPECT_EQ(chown(written.c_str(), c.owner, c.owner), 0);
            }
        }
        if (c.link != nullptr) fs::create_symlink(c.link, folder / c.target);
        auto expected = entriesOf(folder.path);
        expected.insert(fs::path(c.target).filename());
        expected.insert(fs::path(c.written).begin()->string());
        const DetachedRun run =
            runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, {"-o", folder / c.target});
        EXPECT_TRUE(exitedWith(run.status, 'q'));
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(entriesOf(folder.path), expected);
        EXPECT_EQ(entriesOf(folder / "sub").size(), c.written.substr(0, 4) == "sub/" ? 1u : 0u);
        EXPECT_EQ(contentOf(written).substr(0, 5), "<?xml");
        EXPECT_EQ(fs::is_symlink(folder / c.target), c.link != nullptr);
        struct stat file {};
        ASSERT_EQ(stat(written.c_str(), &file), 0);
        if (c.mode >= 0) {
            EXPECT_EQ(file.st_mode & 07777, static_cast<mode_t>(c.mode));
            if (root) {
                EXPECT_EQ(file.st_uid, c.owner);
                EXPECT_EQ(file.st_gid, static_cast<gid_t>(c.owner));
            }
        }
    }
}

// What ends a run before its files are written, or makes one fail, leaves
// every target as it was; and a closed standard stream gives its number
// to no file: the dialogue never goes into one.
void closeStandardOutput() { close(STDOUT_FILENO); }

void limitFileSize() {
    struct rlimit limit = {1 << 16, 1 << 16};
    setrlimit(RLIMIT_FSIZE, &limit);
}

TEST(OutputFile, FailuresLeaveTheTargetsAsTheyWere) {
    const struct {
        const char* name;
        std::vector<std::string> targets;  // in the folder, each holding "old"
        bool gameFile;                     // game.game, the game's answers, is read
        void (*inChild)();
        std::string errors;  // %d: the folder
    } cases[] = {
        {"closed standard output",
         {"keep.game"},
         false,
         closeStandardOutput,
         "brown-robinson: cannot write to standard output: Bad file descriptor\n"},
        {"closed standard output and a game file",
         {"keep.game"},
         true,
         closeStandardOutput,
         "brown-robinson: cannot write to standard output: Bad file descriptor\n"},
        {"a file past the size limit",
         {"keep.csv"},
         false,
         limitFileSize,
         "brown-robinson: cannot write '%d/keep.csv': File too large\n"},
        {"a second file past the size limit",
         {"keep.game", "keep.csv"},
         false,
         limitFileSize,
         "brown-robinson: cannot write '%d/keep.csv': File too large\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        std::vector<std::string> arguments = {"-n", "100000"};
        for (const std::string& target : c.targets) {
            std::ofstream(folder / target) << "old";
            arguments.insert(arguments.end(), {"-o", folder / target});
        }
        std::string answers = answersFor("Ann", {{1, 2}, {3, -4}}, 0);
        if (c.gameFile) {
            std::ofstream(folder / "game.game") << answers;
            arguments.push_back(folder / "game.game");
            answers.clear();
        }
        const auto before = entriesOf(folder.path);
        const DetachedRun run =
            runWithoutConsole(answers, kTimeoutMs, nullptr, arguments, nullptr, c.inChild);
        EXPECT_TRUE(exitedWith(run.status, 1));
        std::string errors = c.errors;
        if (errors.find("%d") != std::string::npos)
            errors.replace(errors.find("%d"), 2, folder.path);
        EXPECT_EQ(run.errors, errors);
        EXPECT_EQ(entriesOf(folder.path), before);
        for (const std::string& target : c.targets) {
            EXPECT_EQ(contentOf(folder / target), "old") << target;
        }
    }
}

// The files are put in place together: when one of them cannot be (here
// a folder has taken its place during the dialogue), none is, and every
// target is as it was: the first, already replaced, gets its old file
// back, or is removed again when it is new.
TEST(OutputFiles, AllOrNone) {
    const struct {
        bool firstExisted;
        bool secondExisted;
    } cases[] = {{true, true}, {true, false}, {false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.firstExisted) + std::to_string(c.secondExisted));
        Folder folder;
        std::set<std::string> before = {"second.svg"};
        if (c.firstExisted) {
            std::ofstream(folder / "first.csv") << "old";
            before.insert("first.csv");
        }
        if (c.secondExisted) std::ofstream(folder / "second.svg") << "old";
        PtySession session;
        session.setArguments({"-o", folder / "first.csv", "-o", folder / "second.svg"});
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(session.waitFor(screenOf(kFirstName)));
        fs::remove(folder / "second.svg");
        fs::create_directory(folder / "second.svg");
        for (const char* typed : {"Ann Bob\n", "1 1\n", "7\n"}) {
            session.type(typed);
            ASSERT_TRUE(session.waitFor(": "));
        }
        ASSERT_TRUE(session.waitForRawMode());
        session.type("n");
        ASSERT_TRUE(session.waitFor(screenOf(kIterationsLimit)));
        session.type("1\n0\n");
        ASSERT_TRUE(session.readUntilExit());
        EXPECT_TRUE(exitedWith(session.exitStatus(), 1));
        const std::string message =
            "brown-robinson: cannot write '" + folder / "second.svg" + "': Is a directory\r\n";
        EXPECT_NE(session.transcript().find(message), std::string::npos)
            << visible(session.transcript());
        EXPECT_EQ(entriesOf(folder.path), before);
        if (c.firstExisted) {
            EXPECT_EQ(contentOf(folder / "first.csv"), "old");
        }
    }
}

// A write that fails at the end says so, ends with status 1 and leaves
// nothing behind. A tmpfs of one page is too small for the picture of a
// million iterations; where mounting is not allowed the failure cannot be
// provoked.
TEST(OutputFile, FailedWriteIsReported) {
    Folder folder;
    const std::string mount = folder / "full";
    fs::create_directory(mount);
    if (system(("mount -t tmpfs -o size=4k tmpfs " + mount + " 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    }
    const std::string target = mount + "/big.svg";
    const DetachedRun run = runWithoutConsole(answersFor("Ann", {{5}}, 0), kTimeoutMs, nullptr,
                                              {"-n", "1000000", "-o", target});
    EXPECT_TRUE(exitedWith(run.status, 1));
    EXPECT_EQ(run.errors,
              "brown-robinson: cannot write '" + target + "': No space left on device\n");
    EXPECT_EQ(entriesOf(mount), std::set<std::string>{});
    EXPECT_EQ(system(("umount " + mount).c_str()), 0);
}

// FIRST STRONG ISOLATE and POP DIRECTIONAL ISOLATE in UTF-8.
const std::string kIsolate = "\xe2\x81\xa8";
const std::string kPopIsolate = "\xe2\x81\xa9";

std::string isolated(const std::string& name) { return kIsolate + name + kPopIsolate; }

TEST(OutputFiles, NamesAreTextInThePageAndNeverReachTheTable) {
    const Matrix matrix = {{2, -3}, {-1, 4}};
    Folder folder;
    const std::vector<std::string> arguments = {"-n", "9",
                                                "-o", folder / "page.html",
                                                "-o", folder / "table.csv",
                                                "-o", folder / "picture.svg"};
    runWithoutConsole(answersFor("Ann", matrix, 0), kTimeoutMs, nullptr, arguments);
    const std::string plainTable = contentOf(folder / "table.csv");
    std::setlocale(LC_CTYPE, "C.UTF-8");  // for mbstowcs to check the page's UTF-8
    // clang-format off
    const struct {
        std::string name;     // as typed
        std::string escaped;  // as the page's source holds it
    } cases[] = {
        {"<b>&", "&lt;b&gt;&amp;"},
        {"O'Hara\"", "O&#39;Hara&quot;"},
        {"a,\"b\",c", "a,&quot;b&quot;,c"},            // what CSV would have to quote
        {"caf\xc3\xa9", "caf\xc3\xa9"},                // UTF-8 as it is
        {"caf\xe9", "caf&#233;"},                      // a Latin-1 byte: its character
        {"\xed\xa0\xa0", "&#237;&#160;&#160;"},        // a surrogate is no character
        {"\xd8\xa7\xd8\xa8\xd8\xa7", "\xd8\xa7\xd8\xa8\xd8\xa7"},  // written right to left
        // (names with control codes are refused by the dialogue)
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(visible(c.name));
        runWithoutConsole(answersFor(c.name, matrix, 0), kTimeoutMs, nullptr, arguments);
        const std::string html = contentOf(folder / "page.html");
        const std::string svg = contentOf(folder / "picture.svg");
        EXPECT_NE(html.find("<title>" + isolated(c.escaped) + " against " + isolated("Bob") + ","),
                  std::string::npos);
        EXPECT_NE(html.find("<th scope=\"col\">S'[<bdi>" + c.escaped + "</bdi>]</th>"),
                  std::string::npos);
        // However it reads, no name can reorder the words around it: each
        // one stands in an element or between characters that isolate it.
        for (const std::string& file : {html, svg}) {
            int seen = 0;
            for (size_t at = file.find(c.escaped); at != std::string::npos;
                 at = file.find(c.escaped, at + 1), ++seen) {
                const std::string before = file.substr(at < 5 ? 0 : at - 5, at < 5 ? at : 5);
                const std::string after = file.substr(at + c.escaped.size(), 6);
                const bool element = before == "<bdi>" && after == "</bdi>";
                const bool marks = before.substr(before.size() - 3) == kIsolate &&
                                   after.substr(0, 3) == kPopIsolate;
                EXPECT_TRUE(element || marks) << visible(file.substr(at < 40 ? 0 : at - 40, 90));
            }
            EXPECT_GE(seen, 2);
        }
        if (c.escaped != c.name) {
            EXPECT_EQ(html.find(c.name), std::string::npos);
        }
        EXPECT_NE(std::mbstowcs(nullptr, html.c_str(), 0), static_cast<size_t>(-1));
        EXPECT_EQ(contentOf(folder / "table.csv"), plainTable);
    }
}

// The page shows the iterations that were played and no more: asked for
// more rows than the run has, it stops at the run's last iteration, and
// its sentence says how many rows it shows of how many.
TEST(OutputFiles, ThePageStopsAtTheLastIteration) {
    const struct {
        int iterations;
        int asked;
        int shown;
    } cases[] = {{3, 5, 3}, {4, 2, 2}, {4, 1, 1}, {4, 4, 4}, {1, 99, 1}, {5, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.iterations) + " iterations, " + std::to_string(c.asked) +
                     " rows asked");
        Folder folder;
        std::string answers = answersFor("Ann", {{5, 0, 7}, {2, 5, 0}, {6, 1, 8}}, 1);
        answers.replace(answers.rfind("\n0\n"), 3, "\n" + std::to_string(c.asked) + "\n");
        const DetachedRun run =
            runWithoutConsole(answers, kTimeoutMs, nullptr,
                              {"-n", std::to_string(c.iterations), "-o", folder / "page.html"});
        ASSERT_TRUE(exitedWith(run.status, 'q'));
        const std::string html = contentOf(folder / "page.html");
        const size_t table = html.find("<h2>Table of iterations</h2>");
        ASSERT_NE(table, std::string::npos);
        const std::string section = html.substr(table, html.find("</section>", table) - table);
        std::vector<int> ks;
        const std::regex rowHead("<tr><th scope=\"row\">([0-9]+)</th>");
        for (std::sregex_iterator it(section.begin(), section.end(), rowHead), end; it != end;
             ++it) {
            ks.push_back(std::stoi((*it)[1]));
        }
        std::vector<int> expected;
        for (int k = 1; k <= c.shown; ++k) expected.push_back(k);
        EXPECT_EQ(ks, expected);
        const std::string n = std::to_string(c.iterations);
        const std::string told = c.shown == 0              ? "No rows of the table were asked for."
                                 : c.iterations == 1       ? "The one iteration."
                                 : c.shown == c.iterations ? "All " + n + " iterations."
                                 : c.shown == 1 ? "The first row of the " + n + " iterations."
                                                : "The first " + std::to_string(c.shown) +
                                                      " rows of the " + n + " iterations.";
        EXPECT_NE(section.find("<p>" + told + "</p>"), std::string::npos) << section.substr(0, 900);
    }
}

// The head of the report: the authors of --author, in their order, each
// isolated and escaped, and the day of the run, at the top of the page
// and in the picture; the console is the same with them as without.
TEST(OutputFiles, TheHeadNamesTheAuthorsAndTheDay) {
    const struct {
        std::vector<std::string> authors;  // as typed
        std::vector<std::string> escaped;  // as the files hold them
        std::string epoch;                 // SOURCE_DATE_EPOCH
        std::string date;
    } cases[] = {
        {{"Ann Smith", "Group 3"}, {"Ann Smith", "Group 3"}, "1000000000", "2001-09-09"},
        {{}, {}, "0", "1970-01-01"},
        {{"<b>O'Hara"}, {"&lt;b&gt;O&#39;Hara"}, "4102444799", "2099-12-31"},
        {{"a", "b", "c", "\xd0\x90\xd0\xbd\xd0\xbd\xd0\xb0"},
         {"a", "b", "c", "\xd0\x90\xd0\xbd\xd0\xbd\xd0\xb0"},
         "951782400",
         "2000-02-29"},
    };
    const DetachedRun plain = runWithoutConsole(kWorkedGame);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        Folder folder;
        std::vector<std::string> arguments = {"-o", folder / "page.html", "-o",
                                              folder / "picture.svg"};
        for (const std::string& author : c.authors) arguments.push_back("--author=" + author);
        const DetachedRun run =
            runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, arguments, nullptr, nullptr,
                              {"SOURCE_DATE_EPOCH=" + c.epoch, "TZ=Asia/Tokyo", "LANG=C.UTF-8"});
        ASSERT_TRUE(exitedWith(run.status, 'q')) << run.errors;
        EXPECT_EQ(visible(run.output), visible(plain.output));
        const std::string html = contentOf(folder / "page.html");
        std::string byline = "<p class=\"byline\">";
        std::string subtitle;
        for (const std::string& author : c.escaped) {
            byline += "<span><bdi>" + author + "</bdi></span>";
            subtitle += isolated(author) + " &#183; ";
        }
        byline += "<time datetime=\"" + c.date + "\">" + c.date + "</time></p>";
        const size_t head = html.find(byline);
        EXPECT_NE(head, std::string::npos) << html.substr(html.find("<header>"), 400);
        EXPECT_LT(head, html.find("<h1>"));
        const std::string svg = contentOf(folder / "picture.svg");
        EXPECT_NE(svg.find(">" + subtitle + c.date + "</text>"), std::string::npos);
    }
}

// Without SOURCE_DATE_EPOCH the day is the local one, of the time zone TZ
// names: zones fourteen hours ahead of UTC and twelve behind it give the
// UTC date of the time shifted so (one taken before the run and one after,
// so that midnight may pass).
TEST(OutputFiles, TheDayIsTheLocalOne) {
    const struct {
        const char* zone;
        int hours;  // east of UTC
    } cases[] = {{"Pacific/Kiritimati", 14}, {"Etc/GMT+12", -12}, {"Etc/UTC", 0}};
    auto dateAt = [](std::time_t when) {
        char text[16];
        std::tm parts{};
        gmtime_r(&when, &parts);
        std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
        return std::string(text);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        if (!fs::exists(std::string("/usr/share/zoneinfo/") + c.zone)) {
            GTEST_SKIP() << "no time zone files";
        }
        Folder folder;
        const std::time_t before = std::time(nullptr) + c.hours * 3600;
        const DetachedRun run =
            runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, {"-o", folder / "page.html"},
                              nullptr, nullptr, {std::string("TZ=") + c.zone});
        const std::time_t after = std::time(nullptr) + c.hours * 3600;
        ASSERT_TRUE(exitedWith(run.status, 'q')) << run.errors;
        std::smatch date;
        const std::string html = contentOf(folder / "page.html");
        ASSERT_TRUE(std::regex_search(html, date, std::regex("<time datetime=\"([0-9-]+)\">")));
        EXPECT_TRUE(date[1] == dateAt(before) || date[1] == dateAt(after)) << date[1];
    }
}

// Every line of the CSV is an iteration: its sums are the last line's
// plus the row and the column played, each move answers the sums before
// it, the estimates are those sums over k, and the lines together give
// the console's tallies and mean price.
TEST(OutputFiles, TheCsvIsTheMethodLineByLine) {
    Matrix tenByTen(10, std::vector<long long>(10));
    unsigned seed = 2024;  // entries from -9 to 9, the same every run
    for (auto& row : tenByTen) {
        for (long long& entry : row) {
            seed = seed * 1103515245u + 12345u;
            entry = static_cast<long long>((seed >> 16) % 19) - 9;
        }
    }
    const struct {
        Matrix matrix;
        int start;  // 1-based; 0 automatic
        int iterations;
    } cases[] = {
        {{{5, 0, 7}, {2, 5, 0}, {6, 1, 8}}, 1, 4},
        {{{2, -3}, {-1, 4}}, 0, 1000},  // beyond the rows the record keeps
        {{{-7}}, 0, 3},
        {tenByTen, 3, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iterations);
        Folder folder;
        const DetachedRun run =
            runWithoutConsole(answersFor("Ann", c.matrix, c.start), kTimeoutMs, nullptr,
                              {"-n", std::to_string(c.iterations), "-o", folder / "table.csv"});
        ASSERT_TRUE(run.finished);
        const size_t m = c.matrix.size(), n = c.matrix[0].size();
        long long shift = 0;
        for (const auto& row : c.matrix) {
            for (long long entry : row) shift = std::max(shift, -entry);
        }
        const std::string csv = contentOf(folder / "table.csv");
        ASSERT_GE(csv.size(), 2u);
        ASSERT_EQ(csv.substr(csv.size() - 2), "\r\n");
        std::vector<std::string> lines;
        for (size_t at = 0, end; (end = csv.find("\r\n", at)) != std::string::npos; at = end + 2) {
            lines.push_back(csv.substr(at, end - at));
        }
        ASSERT_EQ(lines.size(), static_cast<size_t>(c.iterations) + 1);
        std::string head = "k,i";
        for (size_t j = 1; j <= n; ++j) head += ",B" + std::to_string(j);
        head += ",j";
        for (size_t i = 1; i <= m; ++i) head += ",A" + std::to_string(i);
        EXPECT_EQ(lines[0], head + ",V_,V^,V*");
        // Every field a plain number: none that would need quoting.
        const std::regex numbersLine("-?[0-9]+(\\.[0-9]{6})?(,-?[0-9]+(\\.[0-9]{6})?)*");
        std::vector<double> b(n, 0.0), a(m, 0.0), numbers;
        std::vector<int> tallyOne(m, 0);
        double estimateSum = 0;
        size_t next = c.start > 0 ? static_cast<size_t>(c.start - 1) : 0;
        for (int k = 1; k <= c.iterations; ++k) {
            const std::string& line = lines[static_cast<size_t>(k)];
            SCOPED_TRACE(line);
            ASSERT_TRUE(std::regex_match(line, numbersLine));
            std::istringstream fields(line);
            numbers.clear();
            for (double number; fields >> number; fields.ignore()) numbers.push_back(number);
            ASSERT_EQ(numbers.size(), m + n + 6);
            ASSERT_EQ(numbers[0], k);
            const size_t i = static_cast<size_t>(numbers[1]) - 1;
            const size_t j = static_cast<size_t>(numbers[2 + n]) - 1;
            ASSERT_TRUE(i < m && j < n);
            if (k > 1 || c.start > 0) {
                EXPECT_EQ(i, next) << "player 1's move";
            }
            for (size_t s = 0; s < n; ++s) {
                b[s] += static_cast<double>(c.matrix[i][s] + shift);
                ASSERT_EQ(numbers[2 + s], b[s]) << "B" << s + 1;
            }
            EXPECT_EQ(j, static_cast<size_t>(std::min_element(b.begin(), b.end()) - b.begin()))
                << "player 2's answer";
            for (size_t s = 0; s < m; ++s) {
                a[s] += static_cast<double>(c.matrix[s][j] + shift);
                ASSERT_EQ(numbers[3 + n + s], a[s]) << "A" << s + 1;
            }
            next = static_cast<size_t>(std::max_element(a.begin(), a.end()) - a.begin());
            const double lower = numbers[m + n + 3], upper = numbers[m + n + 4];
            const double estimate = numbers[m + n + 5];
            EXPECT_NEAR(lower, b[j] / k, 5.0001e-7);
            EXPECT_NEAR(upper, a[next] / k, 5.0001e-7);
            EXPECT_TRUE(lower - 1e-6 <= estimate && estimate <= upper + 1e-6);
            ++tallyOne[i];
            estimateSum += estimate;
        }
        std::smatch price;
        ASSERT_TRUE(std::regex_search(run.output, price,
                                      std::regex("mean price of the game is: (\\S+) ->")));
        EXPECT_NEAR(std::strtod(price[1].str().c_str(), nullptr),
                    estimateSum / c.iterations - static_cast<double>(shift), 2e-6);
        std::string tallies = "S'[Ann] = ( ";
        for (int t : tallyOne)
            tallies += " " + std::to_string(t) + "/" + std::to_string(c.iterations) + "  ";
        EXPECT_NE(run.output.find(tallies + " ) ;"), std::string::npos) << tallies;
    }
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The picture of the graphical solution exists for a game that dominance
// leaves with two strategies to a player; for any other it is said so and
// its target kept, the other files written all the same. The report page
// holds the whole exercise either way.
TEST(OutputFiles, TheGraphPictureForTheGamesThatHaveIt) {
    const struct {
        const char* name;
        Matrix matrix;
        bool drawn;
        const char* lines;  // the lines' titles, when drawn
    } cases[] = {
        {"three by three left two by three",
         {{5, 0, 7}, {2, 5, 0}, {6, 1, 8}},
         true,
         "j = 1: 6 - 4p|j = 2: 1 + 4p|j = 3: 8 - 8p|"},
        {"three by two", {{1, 5}, {4, 2}, {3, 3}}, true, "i = 1: 5 - 4q|i = 2: 2 + 2q|i = 3: 3|"},
        {"rock, paper, scissors", {{0, 1, -1}, {-1, 0, 1}, {1, -1, 0}}, false, ""},
        {"one cell left", {{3, 5}, {1, 6}}, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        std::ofstream(folder / "g.graph.svg") << "old";
        const DetachedRun run =
            runWithoutConsole(answersFor("Alice", c.matrix, 0), kTimeoutMs, nullptr,
                              {"-n", "20", "-o", folder / "g.graph.svg", "-o", folder / "r.html"});
        EXPECT_TRUE(exitedWith(run.status, 'q'));
        const std::string svg = contentOf(folder / "g.graph.svg");
        const std::string html = contentOf(folder / "r.html");
        std::string lines;
        const std::regex title("<path [^>]*><title>([ij] = [^<]*)</title>");
        for (std::sregex_iterator t(svg.begin(), svg.end(), title), end; t != end; ++t) {
            lines += (*t)[1].str() + "|";
        }
        EXPECT_EQ(lines, c.lines);
        if (c.drawn) {
            EXPECT_EQ(run.errors, "");
            EXPECT_EQ(svg.substr(0, 5), "<?xml");
        } else {
            EXPECT_EQ(svg, "old");
            EXPECT_EQ(run.errors, "brown-robinson: '" + folder / "g.graph.svg" +
                                      "' not written: the game has no graphical solution: "
                                      "dominance leaves neither player two strategies\n");
        }
        for (const char* heading :
             {"<h2>Step 1: the prices in pure strategies</h2>", "<h2>Step 2: dominance</h2>",
              "<h2>The graphical solution</h2>"}) {
            EXPECT_NE(html.find(heading), std::string::npos) << heading;
        }
        // The page's second picture is the one written on its own.
        const size_t at = html.find("<title>The graphical solution");
        EXPECT_EQ(at != std::string::npos, c.drawn);
        if (c.drawn && at != std::string::npos) {
            const size_t start = html.rfind("<svg", at);
            const std::string inline_ = html.substr(start, html.find("</svg>", at) + 7 - start);
            EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + inline_, svg);
        }
    }
}

}  // namespace
}  // namespace e2e
