// The page follows the order in which a student tells the exercise: the
// game, what the method made of it, the table, the picture, and the exact
// answer to compare with. The table comes before the picture so that a
// printed page 1 goes on with the table where the picture, kept whole,
// would not fit and leave the page half blank; the table's head repeats on
// every page it runs over. Each part is a section under a heading of its
// own, so that a screen reader can move between them, and every table is
// a real one, so that it stays a table when pasted into a word processor.
#include "output/html_report.h"

#include <cstdint>

#include "game/exact_solution.h"
#include "game/fraction.h"
#include "game/game_record.h"
#include "game/mean_price.h"
#include "output/html_steps.h"
#include "output/html_table.h"
#include "output/output_text.h"
#include "output/report_head.h"
#include "output/svg_picture.h"
#include "text/fraction_text.h"

namespace {

constexpr int kDecimals = 6;  // of every exact number and frequency shown

// Screen first; for print, A4 portrait with the table's head on every page
// and the picture kept whole. The print size of the table of iterations
// is added after this, as the table's width asks (see putPrintTableSize).
const char kStyle[] =
    "body { max-width: 48rem; margin: 2rem auto; padding: 0 1rem; color: #1b1b1b;\n"
    "  background: #fff; font: 1rem/1.5 Georgia, \"DejaVu Serif\", serif; }\n"
    "h1, h2 { font-family: \"DejaVu Sans\", Arial, sans-serif; line-height: 1.25;\n"
    "  break-after: avoid; page-break-after: avoid; }\n"
    "h1 { font-size: 1.7rem; margin: 0 0 .3rem; }\n"
    "h2 { font-size: 1.2rem; margin: 2rem 0 .6rem; padding-bottom: .2rem;\n"
    "  border-bottom: 1px solid #bbb; }\n"
    ".subtitle { margin: 0; color: #555; }\n"
    ".byline { margin: 0 0 1rem; text-align: right; color: #333; }\n"
    ".byline span, .byline time { display: block; }\n"
    "table { border-collapse: collapse; margin: .6rem 0;\n"
    "  font: .9rem/1.3 \"DejaVu Sans\", Arial, sans-serif; font-variant-numeric: tabular-nums; }\n"
    "th, td { padding: .25em .6em; text-align: right; vertical-align: top; }\n"
    "thead th { background: #eef1f5; border-bottom: 2px solid #556; }\n"
    "tbody th { background: #f6f7f9; }\n"
    ".matrix td { border: 1px solid #c8ccd2; min-width: 2.5em; }\n"
    ".matrix thead th[scope=colgroup] { text-align: center; }\n"
    ".strategies td, .strategies tbody th { border-bottom: 1px solid #dde; }\n"
    ".strategies td { overflow-wrap: anywhere; }\n"
    ".decimal { color: #555; }\n"
    "p { overflow-wrap: anywhere; }\n"
    ".scroll { overflow-x: auto; }\n"
    ".iterations { font-size: .85rem; }\n"
    ".iterations th, .iterations td { padding: .1em .4em; }\n"
    ".iterations tbody tr:nth-child(even) { background: #f4f6f8; }\n"
    ".iterations .group { border-left: 1px solid #99a; }\n"
    "figure { margin: 1rem 0; break-inside: avoid; page-break-inside: avoid; }\n"
    "figure svg { display: block; max-width: 100%; height: auto; }\n"
    "figcaption { font-size: .9rem; color: #444; margin-top: .4rem; }\n"
    ".value { font-weight: bold; }\n"
    "footer { margin-top: 2.5rem; padding-top: .4rem; border-top: 1px solid #bbb;\n"
    "  font-size: .8rem; color: #666; }\n"
    "@page { size: A4 portrait; margin: 15mm; }\n"
    "@media print {\n"
    "  body { max-width: none; margin: 0; padding: 0; font-size: 10.5pt; }\n"
    "  .scroll { overflow: visible; }\n"
    "  thead { display: table-header-group; }\n"
    "  tr, .matrix, .strategies { break-inside: avoid; page-break-inside: avoid; }\n"
    "  figure svg { width: 100%; max-height: 82mm; }\n"
    "  figcaption { font-size: 8.5pt; }\n";

void putFraction(const Fraction& value) {
    char text[kFractionTextCapacity];
    formatFraction(value, text, sizeof text);
    putText(text);
}

void putDecimals(const Fraction& value) {
    char text[kFractionTextCapacity];
    formatFractionDecimals(value, kDecimals, text, sizeof text);
    putText(text);
}

// "10/3 = 3.333333", as the console's exact report writes a number.
void putExactNumber(const Fraction& value) {
    putFraction(value);
    putText(" = ");
    putDecimals(value);
}

int32_t largerCount() {
    return game.rowCount > game.columnCount ? game.rowCount : game.columnCount;
}

// ---- The head of the page and its title ----

void putTitleText(bool element) {
    void (*const name)(const char*) = element ? putHtmlName : putIsolatedXml;
    name(game.playerOneName);
    putText(" against ");
    name(game.playerTwoName);
    putText(", solved by the Brown-Robinson method");
}

void putHead() {
    putText("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n");
    putText("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n");
    putText("<meta name=\"generator\" content=\"brown-robinson " BR_VERSION "\">\n");
    // An empty icon, so that a browser asks the server for none.
    putText("<link rel=\"icon\" href=\"data:,\">\n<title>");
    putTitleText(false);
    putText("</title>\n<style>\n");
    putText(kStyle);
    putPrintTableSize();
    putText("}\n");
    putText("</style>\n</head>\n<body>\n");
}

// Who hands the page in and the day of the run, above the title, one to
// a line, as a teacher looks for them.
void putReportHead() {
    if (reportHead.authorCount == 0 && reportHead.date[0] == '\0') return;
    putText("<p class=\"byline\">");
    for (int a = 0; a < reportHead.authorCount; ++a) {
        putText("<span>");
        putHtmlName(reportHead.authors[a]);
        putText("</span>");
    }
    if (reportHead.date[0] != '\0') {
        putFormatted("<time datetime=\"%s\">%s</time>", reportHead.date, reportHead.date);
    }
    putText("</p>\n");
}

void putTitle() {
    putText("<header>\n");
    putReportHead();
    putText("<h1>");
    putTitleText(true);
    putFormatted(
        "</h1>\n<p class=\"subtitle\">A %d by %d two-person zero-sum game, played by "
        "alternating fictitious play for ",
        game.rowCount, game.columnCount);
    putGrouped(game.iterationCount);
    putText(game.iterationCount == 1 ? " iteration.</p>\n</header>\n"
                                     : " iterations.</p>\n</header>\n");
}

// ---- The game as entered ----

void putMatrix() {
    putText("<table class=\"matrix\">\n<thead>\n<tr><th scope=\"col\" rowspan=\"2\">");
    putHtmlName(game.playerOneName);
    putFormatted("</th><th scope=\"colgroup\" colspan=\"%d\">", game.columnCount);
    putHtmlName(game.playerTwoName);
    putText("</th></tr>\n<tr>");
    for (int32_t j = 1; j <= game.columnCount; ++j) putFormatted("<th scope=\"col\">%d</th>", j);
    putText("</tr>\n</thead>\n<tbody>\n");
    for (int32_t i = 0; i < game.rowCount; ++i) {
        putFormatted("<tr><th scope=\"row\">%d</th>", i + 1);
        for (int32_t j = 0; j < game.columnCount; ++j) {
            putText("<td>");
            putInteger(int64_t{game.gm[i][j]} - game.negativeShift);
            putText("</td>");
        }
        putText("</tr>\n");
    }
    putText("</tbody>\n</table>\n");
}

void putShift() {
    if (game.negativeShift == 0) return;
    putText("<p>Some entries are negative. The method plays the game with ");
    putGrouped(game.negativeShift);
    putText(
        " added to every entry, so that none is negative: the table of iterations shows the "
        "sums of that shifted game, and its V_, V^ and V* are ");
    putGrouped(game.negativeShift);
    putText(
        " more than in the game as entered. The mean price and the exact solution are given "
        "in the game as entered.</p>\n");
}

void putGame() {
    putText("<section>\n<h2>The game</h2>\n<p>");
    putHtmlName(game.playerOneName);
    putText(" chooses a row, ");
    putHtmlName(game.playerTwoName);
    putText(" a column; each entry is what ");
    putHtmlName(game.playerOneName);
    putText(" wins and ");
    putHtmlName(game.playerTwoName);
    putText(" loses.</p>\n");
    putMatrix();
    putShift();
    putText("<p>");
    putHtmlName(game.playerOneName);
    putFormatted(" opens with strategy %d, ", game.startStrategy + 1);
    putText(game.startChosen ? "as chosen."
                             : "taken automatically: the row that holds the largest entry.");
    putText("</p>\n<p>Iterations played: N = ");
    putGrouped(game.iterationCount);
    putText(".</p>\n</section>\n");
}

// ---- The results ----

// One player's mixed strategy, as a column of a table of strategies.
struct MixedStrategy {
    const char* letter;     // "S'" for the played one, "X" or "Y" for an optimal one
    const char* name;       // the player's
    const int32_t* tally;   // how often each strategy was played; null for `share`
    const Fraction* share;  // the probability of each strategy, when not a tally
    int32_t count;          // the player's strategies
};

// "1/4 = 0.250000": the tally over N (as the console shows it) or the
// fraction, and its decimals; an empty cell beyond the player's strategies.
void putShareCell(const MixedStrategy& mixed, int32_t s) {
    if (s >= mixed.count) {
        putText("<td></td>");
        return;
    }
    putText("<td>");
    if (mixed.tally != nullptr) {
        putFormatted("%d/%d", mixed.tally[s], game.iterationCount);
    } else {
        putFraction(mixed.share[s]);
    }
    putText(" <span class=\"decimal\">= ");
    putDecimals(mixed.tally != nullptr ? reducedFraction(mixed.tally[s], game.iterationCount)
                                       : mixed.share[s]);
    putText("</span></td>");
}

// A row for each strategy, a column for each player: a column stays
// readable however long its fractions grow.
void putStrategyTable(const MixedStrategy& one, const MixedStrategy& two) {
    putText("<table class=\"strategies\">\n<thead>\n<tr><th scope=\"col\">Strategy</th>");
    for (const MixedStrategy* mixed : {&one, &two}) {
        putFormatted("<th scope=\"col\">%s[", mixed->letter);
        putHtmlName(mixed->name);
        putText("]</th>");
    }
    putText("</tr>\n</thead>\n<tbody>\n");
    for (int32_t s = 0; s < largerCount(); ++s) {
        putFormatted("<tr><th scope=\"row\">%d</th>", s + 1);
        putShareCell(one, s);
        putShareCell(two, s);
        putText("</tr>\n");
    }
    putText("</tbody>\n</table>\n");
}

void putResults(float price) {
    putText("<section>\n<h2>Results</h2>\n");
    putFormatted(
        "<p>The mean price of the game: <span class=\"value\">%f</span>, as a whole "
        "number <span class=\"value\">%d</span>.</p>\n",
        static_cast<double>(price), roundedPrice(price));
    putText(
        "<p>The mixed strategies: how often each player played each strategy "
        "in the N iterations.</p>\n");
    putStrategyTable(
        MixedStrategy{"S'", game.playerOneName, game.tallyOne, nullptr, game.rowCount},
        MixedStrategy{"S'", game.playerTwoName, game.tallyTwo, nullptr, game.columnCount});
    putText("</section>\n");
}

void putPicture() {
    putText("<section>\n<h2>The run in a picture</h2>\n<figure>\n");
    putSvgPicture();
    putText(
        "<figcaption>The upper estimate V^, the lower estimate V_ and the estimate V* after "
        "each iteration k, with the mean price so far, the best bounds so far and the value "
        "of the game; below, the gap between the bounds on logarithmic axes.</figcaption>\n"
        "</figure>\n</section>\n");
}

// ---- The exact solution ----

void putPlayedBounds() {
    putText("<p>After ");
    putGrouped(game.iterationCount);
    putText(game.iterationCount == 1 ? " iteration the frequencies of "
                                     : " iterations the frequencies of ");
    putHtmlName(game.playerOneName);
    putText(" win at least ");
    putExactNumber(playedBound(game.lastSmallestB, game.iterationCount));
    putText(" and the frequencies of ");
    putHtmlName(game.playerTwoName);
    putText(" lose at most ");
    putExactNumber(playedBound(game.lastLargestA, game.iterationCount));
    putText("; the value lies between these bounds.</p>\n");
}

void putSaddlePoint(const ExactSolution& solution) {
    if (!solution.hasSaddlePoint) return;
    putFormatted("<p>The game has a saddle point: strategy %d of ", solution.saddleRow + 1);
    putHtmlName(game.playerOneName);
    putFormatted(" against strategy %d of ", solution.saddleColumn + 1);
    putHtmlName(game.playerTwoName);
    putText(".</p>\n");
}

void putExactSolution(float price) {
    const ExactSolution& solution = solutionOfGame();
    putText(
        "<section>\n<h2>Exact solution</h2>\n<p>The value of the game: "
        "<span class=\"value\">");
    putExactNumber(solution.value);
    putText("</span>.</p>\n<p>An optimal mixed strategy for each player:</p>\n");
    putStrategyTable(
        MixedStrategy{"X", game.playerOneName, nullptr, solution.playerOne, game.rowCount},
        MixedStrategy{"Y", game.playerTwoName, nullptr, solution.playerTwo, game.columnCount});
    putSaddlePoint(solution);
    putPlayedBounds();
    putText("<p>The mean price lies ");
    putDecimals(distanceFromValue(price, solution.value));
    putText(" from the value.</p>\n</section>\n");
}

}  // namespace

void writeHtmlReport() {
    const float price = meanPrice();
    putHead();
    putTitle();
    putText("<main>\n");
    putGame();
    putPureAndDominanceSections();
    putResults(price);
    putIterationsSection();
    putPicture();
    putGraphicalSection();
    putExactSolution(price);
    putText("</main>\n<footer>Written by brown-robinson " BR_VERSION ".</footer>\n");
    putText("</body>\n</html>\n");
}
