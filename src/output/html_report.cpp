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
#include <cstdio>

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
#include "text/translation.h"

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

// "10/3 = 3.333333", as the console's exact report writes a number, as a
// text for putFormatted's %s.
struct ExactNumber {
    char text[2 * kFractionTextCapacity + 4];  // the fraction, " = ", the decimals
};

ExactNumber exactNumber(const Fraction& value) {
    char fraction[kFractionTextCapacity];
    char decimals[kFractionTextCapacity];
    formatFraction(value, fraction, sizeof fraction);
    formatFractionDecimals(value, kDecimals, decimals, sizeof decimals);
    ExactNumber number;
    snprintf(number.text, sizeof number.text, "%s = %s", fraction, decimals);
    return number;
}

int32_t largerCount() {
    return game.rowCount > game.columnCount ? game.rowCount : game.columnCount;
}

// ---- The head of the page and its title ----

void putTitleText(bool element) {
    HtmlName (*const name)(const char*) = element ? htmlName : isolatedName;
    putFormatted(tr("%s against %s, solved by the Brown-Robinson method"),
                 name(game.playerOneName).text, name(game.playerTwoName).text);
}

void putHead() {
    putFormatted("<!DOCTYPE html>\n<html lang=\"%s\">\n<head>\n<meta charset=\"utf-8\">\n",
                 languageCode());
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
    putText("</h1>\n<p class=\"subtitle\">");
    putFormatted(trPlural("A %d by %d two-person zero-sum game, played by alternating fictitious "
                          "play for %s iteration.",
                          "A %d by %d two-person zero-sum game, played by alternating fictitious "
                          "play for %s iterations.",
                          game.iterationCount),
                 game.rowCount, game.columnCount, groupedNumber(game.iterationCount).text);
    putText("</p>\n</header>\n");
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
    const GroupedNumber shift = groupedNumber(game.negativeShift);
    putFormatted(tr("<p>Some entries are negative. The method plays the game with %s added to "
                    "every entry, so that none is negative: the table of iterations shows the "
                    "sums of that shifted game, and its V_, V^ and V* are %s more than in the "
                    "game as entered. The mean price and the exact solution are given in the "
                    "game as entered.</p>\n"),
                 shift.text, shift.text);
}

void putGame() {
    const HtmlName one = htmlName(game.playerOneName);
    const HtmlName two = htmlName(game.playerTwoName);
    putFormatted(tr("<section>\n<h2>The game</h2>\n<p>%s chooses a row, %s a column; each entry "
                    "is what %s wins and %s loses.</p>\n"),
                 one.text, two.text, one.text, two.text);
    putMatrix();
    putShift();
    putFormatted(game.startChosen
                     ? tr("<p>%s opens with strategy %d, as chosen.</p>\n")
                     : tr("<p>%s opens with strategy %d, taken automatically: the row that "
                          "holds the largest entry.</p>\n"),
                 one.text, game.startStrategy + 1);
    putFormatted(tr("<p>Iterations played: N = %s.</p>\n</section>\n"),
                 groupedNumber(game.iterationCount).text);
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
    putText("<table class=\"strategies\">\n<thead>\n<tr><th scope=\"col\">");
    putText(tr("Strategy"));
    putText("</th>");
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
    putText(tr("<section>\n<h2>Results</h2>\n"));
    putFormatted(tr("<p>The mean price of the game: <span class=\"value\">%f</span>, as a whole "
                    "number <span class=\"value\">%d</span>.</p>\n"),
                 static_cast<double>(price), roundedPrice(price));
    putText(
        tr("<p>The mixed strategies: how often each player played each strategy "
           "in the N iterations.</p>\n"));
    putStrategyTable(
        MixedStrategy{"S'", game.playerOneName, game.tallyOne, nullptr, game.rowCount},
        MixedStrategy{"S'", game.playerTwoName, game.tallyTwo, nullptr, game.columnCount});
    putText("</section>\n");
}

void putPicture() {
    putText(tr("<section>\n<h2>The run in a picture</h2>\n<figure>\n"));
    putSvgPicture();
    putText(
        tr("<figcaption>The upper estimate V^, the lower estimate V_ and the estimate V* after "
           "each iteration k, with the mean price so far, the best bounds so far and the value "
           "of the game; below, the gap between the bounds on logarithmic axes.</figcaption>\n"
           "</figure>\n</section>\n"));
}

// ---- The exact solution ----

void putPlayedBounds() {
    putFormatted(trPlural("<p>After %s iteration the frequencies of %s win at least %s and the "
                          "frequencies of %s lose at most %s; the value lies between these "
                          "bounds.</p>\n",
                          "<p>After %s iterations the frequencies of %s win at least %s and the "
                          "frequencies of %s lose at most %s; the value lies between these "
                          "bounds.</p>\n",
                          game.iterationCount),
                 groupedNumber(game.iterationCount).text, htmlName(game.playerOneName).text,
                 exactNumber(playedBound(game.lastSmallestB, game.iterationCount)).text,
                 htmlName(game.playerTwoName).text,
                 exactNumber(playedBound(game.lastLargestA, game.iterationCount)).text);
}

void putSaddlePoint(const ExactSolution& solution) {
    if (!solution.hasSaddlePoint) return;
    putFormatted(tr("<p>The game has a saddle point: strategy %d of %s against strategy %d of "
                    "%s.</p>\n"),
                 solution.saddleRow + 1, htmlName(game.playerOneName).text,
                 solution.saddleColumn + 1, htmlName(game.playerTwoName).text);
}

void putExactSolution(float price) {
    const ExactSolution& solution = solutionOfGame();
    putFormatted(tr("<section>\n<h2>Exact solution</h2>\n<p>The value of the game: "
                    "<span class=\"value\">%s</span>.</p>\n<p>An optimal mixed strategy for "
                    "each player:</p>\n"),
                 exactNumber(solution.value).text);
    putStrategyTable(
        MixedStrategy{"X", game.playerOneName, nullptr, solution.playerOne, game.rowCount},
        MixedStrategy{"Y", game.playerTwoName, nullptr, solution.playerTwo, game.columnCount});
    putSaddlePoint(solution);
    putPlayedBounds();
    char distance[kFractionTextCapacity];
    formatFractionDecimals(distanceFromValue(price, solution.value), kDecimals, distance,
                           sizeof distance);
    putFormatted(tr("<p>The mean price lies %s from the value.</p>\n</section>\n"), distance);
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
    putText("</main>\n<footer>");
    putFormatted(tr("Written by brown-robinson %s."), BR_VERSION);
    putText("</footer>\n");
    putText("</body>\n</html>\n");
}
