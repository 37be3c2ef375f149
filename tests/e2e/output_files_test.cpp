// The files of -o from whole program runs: written after the report, whole
// or not at all, and nothing else of the run changed by them. The names
// typed stay text in the page and never reach the table, and every line of
// the table is an iteration of the method, checked by what each iteration
// must satisfy rather than by a second implementation of the writer.
// (make test-browser reads both back in a real browser and against the
// console's wide table.)
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdlib>
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

// The temporary file exists from the start (so that a folder that cannot
// be written is known before the game is typed), and a signal that ends
// the run in the middle of the dialogue takes it away.
TEST(OutputFile, SignalLeavesTheTargetAsItWas) {
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signalNumber);
        Folder folder;
        std::ofstream(folder / "run.svg") << "old";
        PtySession session;
        session.setArguments({"--output=" + folder / "run.svg"});
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(session.waitFor(screenOf(kFirstName)));
        EXPECT_EQ(entriesOf(folder.path).size(), 2u);
        session.sendSignal(signalNumber);
        ASSERT_TRUE(session.waitForExit());
        EXPECT_TRUE(killedBy(session.exitStatus(), signalNumber));
        EXPECT_EQ(entriesOf(folder.path), std::set<std::string>{"run.svg"});
        EXPECT_EQ(contentOf(folder / "run.svg"), "old");
    }
}

// A folder where the file should go is found before the dialogue, as a
// folder that cannot be written is.
TEST(OutputFile, AFolderInItsPlaceIsAUsageError) {
    Folder folder;
    const std::string target = folder / "pictures.svg";
    ASSERT_TRUE(fs::create_directory(target));
    const DetachedRun run = runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, {"-o", target});
    EXPECT_TRUE(exitedWith(run.status, 2));
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors,
              "brown-robinson: cannot write '" + target +
                  "': Is a directory\nTry 'brown-robinson --help' for more information.\n");
    EXPECT_EQ(entriesOf(folder.path), std::set<std::string>{"pictures.svg"});
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

TEST(OutputFiles, NamesAreTextInThePageAndNeverReachTheTable) {
    const Matrix matrix = {{2, -3}, {-1, 4}};
    Folder folder;
    const std::vector<std::string> arguments = {
        "-n", "9", "-o", folder / "page.html", "-o", folder / "table.csv"};
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
        // (names with control codes are refused by the dialogue)
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(visible(c.name));
        runWithoutConsole(answersFor(c.name, matrix, 0), kTimeoutMs, nullptr, arguments);
        const std::string html = contentOf(folder / "page.html");
        EXPECT_NE(html.find("<title>" + c.escaped + " against Bob,"), std::string::npos);
        EXPECT_NE(html.find("<th scope=\"col\">S'[" + c.escaped + "]</th>"), std::string::npos);
        if (c.escaped != c.name) {
            EXPECT_EQ(html.find(c.name), std::string::npos);
        }
        EXPECT_NE(std::mbstowcs(nullptr, html.c_str(), 0), static_cast<size_t>(-1));
        EXPECT_EQ(contentOf(folder / "table.csv"), plainTable);
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
