// The files of -o FILE.html and -o FILE.csv from whole program runs
// without a console: the names typed stay text in the page and never reach
// the table, and every line of the table is an iteration of the method,
// checked by what each iteration must satisfy rather than by a second
// implementation of the writer. (make test-browser reads both back in a
// real browser and against the console's wide table.)
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pty_session.h"

namespace e2e {
namespace {

using Matrix = std::vector<std::vector<long long>>;

// A folder of its own for the files of one test, removed with them.
struct ScratchFolder {
    std::string path;
    ScratchFolder() {
        char name[] = "/tmp/brown-robinson-files-XXXXXX";
        path = mkdtemp(name) != nullptr ? name : "";
        EXPECT_FALSE(path.empty()) << "cannot make a scratch folder";
    }
    ~ScratchFolder() {
        for (const char* file : {"/page.html", "/table.csv"}) unlink((path + file).c_str());
        rmdir(path.c_str());
    }
};

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The dialogue's answers for a game: names, sizes, matrix, the start
// (0: automatic), no table rows, and the final key.
std::string answersFor(const std::string& one, const std::string& two, const Matrix& matrix,
                       int start) {
    std::ostringstream answers;
    answers << one << ' ' << two << '\n' << matrix.size() << ' ' << matrix[0].size() << '\n';
    for (const auto& row : matrix) {
        for (long long entry : row) answers << entry << ' ';
        answers << '\n';
    }
    answers << (start > 0 ? "Y\n" + std::to_string(start) : std::string("N")) << "\n0\nq";
    return answers.str();
}

bool isUtf8(const std::string& text) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::mbstate_t state{};
    for (size_t at = 0; at < text.size();) {
        wchar_t wide = 0;
        const size_t length = std::mbrtowc(&wide, text.data() + at, text.size() - at, &state);
        if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2)) return false;
        at += length == 0 ? 1 : length;
    }
    return true;
}

TEST(OutputFiles, NamesAreTextInThePageAndNeverReachTheTable) {
    const Matrix matrix = {{2, -3}, {-1, 4}};
    ScratchFolder folder;
    const std::string page = folder.path + "/page.html";
    const std::string table = folder.path + "/table.csv";
    const std::vector<std::string> arguments = {"-n", "9", "-o", page, "-o", table};
    ASSERT_TRUE(
        runWithoutConsole(answersFor("Ann", "Bob", matrix, 0), kTimeoutMs, nullptr, arguments)
            .finished);
    const std::string plainTable = contentOf(table);
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
        const DetachedRun run =
            runWithoutConsole(answersFor(c.name, "Bob", matrix, 0), kTimeoutMs, nullptr, arguments);
        ASSERT_TRUE(run.finished);
        const std::string html = contentOf(page);
        EXPECT_NE(html.find("<title>" + c.escaped + " against Bob,"), std::string::npos)
            << visible(c.name);
        EXPECT_NE(html.find("<th scope=\"col\">S'[" + c.escaped + "]</th>"), std::string::npos);
        if (c.escaped != c.name) {
            EXPECT_EQ(html.find(c.name), std::string::npos) << visible(c.name);
        }
        EXPECT_TRUE(isUtf8(html)) << visible(c.name);
        EXPECT_EQ(contentOf(table), plainTable) << visible(c.name);
    }
}

// One line of the CSV as numbers; false when a field is not a plain
// number (one that would need quoting, or anything else).
bool readNumbers(const std::string& line, std::vector<double>* numbers) {
    static const std::regex plainNumber("-?[0-9]+(\\.[0-9]{6})?");
    numbers->clear();
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, ',')) {
        if (!std::regex_match(field, plainNumber)) return false;
        numbers->push_back(std::strtod(field.c_str(), nullptr));
    }
    return true;
}

std::string headFor(size_t rows, size_t columns) {
    std::string head = "k,i";
    for (size_t j = 1; j <= columns; ++j) head += ",B" + std::to_string(j);
    head += ",j";
    for (size_t i = 1; i <= rows; ++i) head += ",A" + std::to_string(i);
    return head + ",V_,V^,V*";
}

size_t firstSmallest(const std::vector<double>& v) {
    return static_cast<size_t>(std::min_element(v.begin(), v.end()) - v.begin());
}
size_t firstLargest(const std::vector<double>& v) {
    return static_cast<size_t>(std::max_element(v.begin(), v.end()) - v.begin());
}

// A 10 by 10 game with entries from -9 to 9, the same every run.
Matrix tenByTen() {
    Matrix matrix(10, std::vector<long long>(10));
    unsigned seed = 2024;
    for (auto& row : matrix) {
        for (long long& entry : row) {
            seed = seed * 1103515245u + 12345u;
            entry = static_cast<long long>((seed >> 16) % 19) - 9;
        }
    }
    return matrix;
}

// Every line of the CSV is an iteration: its sums are the last line's
// plus the row and the column played, each move answers the sums before
// it, the estimates are those sums over k, and the lines together give
// the console's tallies and mean price.
TEST(OutputFiles, TheCsvIsTheMethodLineByLine) {
    const struct {
        Matrix matrix;
        int start;  // 1-based; 0 automatic
        int iterations;
    } cases[] = {
        {{{5, 0, 7}, {2, 5, 0}, {6, 1, 8}}, 1, 4},
        {{{2, -3}, {-1, 4}}, 0, 1000},  // beyond the rows the record keeps
        {{{-7}}, 0, 3},
        {tenByTen(), 3, 300},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        const std::string table = folder.path + "/table.csv";
        const DetachedRun run =
            runWithoutConsole(answersFor("Ann", "Bob", c.matrix, c.start), kTimeoutMs, nullptr,
                              {"-n", std::to_string(c.iterations), "-o", table});
        ASSERT_TRUE(run.finished);
        const size_t m = c.matrix.size();
        const size_t n = c.matrix[0].size();
        long long shift = 0;
        for (const auto& row : c.matrix) {
            for (long long entry : row) shift = std::max(shift, -entry);
        }
        const std::string csv = contentOf(table);
        ASSERT_GE(csv.size(), 2u);
        ASSERT_EQ(csv.substr(csv.size() - 2), "\r\n");
        std::vector<std::string> lines;
        for (size_t at = 0, end; (end = csv.find("\r\n", at)) != std::string::npos; at = end + 2) {
            lines.push_back(csv.substr(at, end - at));
        }
        ASSERT_EQ(lines.size(), static_cast<size_t>(c.iterations) + 1);
        EXPECT_EQ(lines[0], headFor(m, n));
        std::vector<double> b(n, 0.0), a(m, 0.0), numbers;
        std::vector<int> tallyOne(m, 0);
        double estimateSum = 0;
        size_t next = c.start > 0 ? static_cast<size_t>(c.start - 1) : 0;
        for (int k = 1; k <= c.iterations; ++k) {
            const std::string& line = lines[static_cast<size_t>(k)];
            ASSERT_TRUE(readNumbers(line, &numbers)) << line;
            ASSERT_EQ(numbers.size(), m + n + 6) << line;
            ASSERT_EQ(numbers[0], k);
            const size_t i = static_cast<size_t>(numbers[1]) - 1;
            const size_t j = static_cast<size_t>(numbers[2 + n]) - 1;
            ASSERT_TRUE(i < m && j < n) << line;
            if (k > 1 || c.start > 0) {
                EXPECT_EQ(i, next) << "player 1's move, line " << k;
            }
            for (size_t s = 0; s < n; ++s) {
                b[s] += static_cast<double>(c.matrix[i][s] + shift);
                ASSERT_EQ(numbers[2 + s], b[s]) << "B" << s + 1 << ", line " << k;
            }
            EXPECT_EQ(j, firstSmallest(b)) << "player 2's answer, line " << k;
            for (size_t s = 0; s < m; ++s) {
                a[s] += static_cast<double>(c.matrix[s][j] + shift);
                ASSERT_EQ(numbers[3 + n + s], a[s]) << "A" << s + 1 << ", line " << k;
            }
            next = firstLargest(a);
            const double lower = numbers[m + n + 3], upper = numbers[m + n + 4];
            const double estimate = numbers[m + n + 5];
            EXPECT_NEAR(lower, b[j] / k, 5.0001e-7) << line;
            EXPECT_NEAR(upper, a[next] / k, 5.0001e-7) << line;
            EXPECT_TRUE(lower - 1e-6 <= estimate && estimate <= upper + 1e-6) << line;
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
