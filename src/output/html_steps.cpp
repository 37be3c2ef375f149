#include "output/html_steps.h"

#include <cstdint>

#include "game/fraction.h"
#include "game/game_record.h"
#include "game/solution_steps.h"
#include "output/graph_picture.h"
#include "output/output_text.h"
#include "text/fraction_text.h"
#include "text/line_equation.h"
#include "text/strategy_list.h"
#include "text/text_buffer.h"
#include "text/translation.h"

namespace {

const char* playerName(int32_t player) {
    return player == 1 ? game.playerOneName : game.playerTwoName;
}

// A fraction, and its decimals unless it is whole: "7/2 = 3.500000".
struct ExactText {
    char text[2 * kFractionTextCapacity + 4];  // the fraction, " = ", the decimals
};

ExactText exactText(const Fraction& value) {
    ExactText exact;
    TextBuffer out = boundedText(exact.text, sizeof exact.text);
    char text[kFractionTextCapacity];
    formatFraction(value, text, sizeof text);
    appendText(&out, text);
    if (value.denominator != 1) {
        formatFractionDecimals(value, 6, text, sizeof text);
        appendText(&out, " = ");
        appendText(&out, text);
    }
    endText(&out);
    return exact;
}

// The strategies' list, in the words of the language.
struct MarkedList {
    char text[kMaxStrategies * 16 + 64];  // as formatStrategyList writes it
};

MarkedList markedList(const bool* marked, int32_t count) {
    MarkedList list;
    formatStrategyList(marked, count, list.text, sizeof list.text);
    return list;
}

void putPurePrices(const PurePrices& prices) {
    putFormatted(tr("<section>\n<h2>Step 1: the prices in pure strategies</h2>\n<p>The lower price "
                    "&#945; = max<sub>i</sub> min<sub>j</sub> GM[i][j] = %d, which %s makes sure "
                    "of with %s. The upper price &#946; = min<sub>j</sub> max<sub>i</sub> "
                    "GM[i][j] = %d, which %s makes sure of with %s. So %d &#8804; v &#8804; "
                    "%d.</p>\n"),
                 prices.lowerPrice, htmlName(game.playerOneName).text,
                 markedList(prices.lowerRows, game.rowCount).text, prices.upperPrice,
                 htmlName(game.playerTwoName).text,
                 markedList(prices.upperColumns, game.columnCount).text, prices.lowerPrice,
                 prices.upperPrice);
    if (prices.saddleCount == 0) {
        putText(tr("<p>There is no saddle point: the players must mix their strategies.</p>\n"));
    } else {
        putText(prices.saddleCount == 1 ? tr("<p>The saddle point (i, j):")
                                        : tr("<p>The saddle points (i, j):"));
        for (int32_t i = 0; i < game.rowCount; ++i) {
            for (int32_t j = 0; j < game.columnCount; ++j) {
                if (prices.saddle[i][j]) putFormatted(" (%d, %d)", i + 1, j + 1);
            }
        }
        putFormatted(
            tr(". The value of the game is v = %d, and each player&#8217;s strategies of the "
               "saddle points are optimal: the iterations only confirm it.</p>\n"),
            prices.lowerPrice);
    }
    putText("</section>\n");
}

void putReducedMatrix(const SolutionSteps& steps) {
    const Reduction& reduction = steps.reduction;
    putText(tr("<p>The reduced game, its strategies numbered as entered:</p>\n"));
    putText("<table class=\"matrix reduced\">\n<thead>\n<tr><th scope=\"col\" rowspan=\"2\">");
    putHtmlName(game.playerOneName);
    putFormatted("</th><th scope=\"colgroup\" colspan=\"%d\">", reduction.columnCount);
    putHtmlName(game.playerTwoName);
    putText("</th></tr>\n<tr>");
    for (int32_t c = 0; c < reduction.columnCount; ++c) {
        putFormatted("<th scope=\"col\">%d</th>", reduction.columns[c] + 1);
    }
    putText("</tr>\n</thead>\n<tbody>\n");
    for (int32_t r = 0; r < reduction.rowCount; ++r) {
        putFormatted("<tr><th scope=\"row\">%d</th>", reduction.rows[r] + 1);
        for (int32_t c = 0; c < reduction.columnCount; ++c) {
            putText("<td>");
            putInteger(steps.reduced[r][c]);
            putText("</td>");
        }
        putText("</tr>\n");
    }
    putText("</tbody>\n</table>\n");
}

void putDominance(const SolutionSteps& steps) {
    const Reduction& reduction = steps.reduction;
    putText(
        tr("<section>\n<h2>Step 2: dominance</h2>\n<p>A row that never wins more than another, "
           "and a column that never costs less than another, is removed, round after round "
           "(by pure strategies only; of two equal strategies the first stays).</p>\n"));
    if (reduction.removalCount == 0) {
        putText(tr("<p>No strategy is dominated: the game stays as it is.</p>\n"));
        putText("</section>\n");
        return;
    }
    putText("<ol>\n");
    for (int32_t r = 0; r < reduction.removalCount; ++r) {
        const Removal& removal = reduction.removals[r];
        putFormatted(removal.duplicate
                         ? tr("<li>Strategy %d of %s is the same as strategy %d, which comes "
                              "first: removed.</li>\n")
                         : tr("<li>Strategy %d of %s is dominated by strategy %d: removed.</li>\n"),
                     removal.strategy + 1, htmlName(playerName(removal.player)).text,
                     removal.dominator + 1);
    }
    putText("</ol>\n");
    putReducedMatrix(steps);
    putText("</section>\n");
}

void putGraphicalText(const SolutionSteps& steps) {
    const GraphicalSolution& graph = steps.graph;
    const char* variable = graph.overRows ? "p" : "q";
    const char* mixer = graph.overRows ? game.playerOneName : game.playerTwoName;
    const char* other = graph.overRows ? game.playerTwoName : game.playerOneName;
    const HtmlName mixerName = htmlName(mixer);
    const HtmlName otherName = htmlName(other);
    putFormatted(tr("<p>%s plays strategy %d with probability %s and strategy %d with 1 &#8722; "
                    "%s. Each strategy of %s is a line over %s from 0 to 1:</p>\n"),
                 mixerName.text, graphMixedStrategy(steps, 0) + 1, variable,
                 graphMixedStrategy(steps, 1) + 1, variable, otherName.text, variable);
    putText("<ul>\n");
    char equation[64];
    for (int32_t line = 0; line < graph.lineCount; ++line) {
        formatLineEquation(graph.atZero[line], graph.atOne[line], variable, equation,
                           sizeof equation);
        putFormatted(tr("<li>strategy %d of %s: %s</li>\n"), graphLineStrategy(steps, line) + 1,
                     otherName.text, equation);
    }
    putText("</ul>\n<p>");
    putFormatted(graph.overRows
                     ? tr("%s answers with the lowest line: the lower envelope is highest at "
                          "<span class=\"value\">%s* = %s</span>, where <span "
                          "class=\"value\">v = %s</span>. ")
                     : tr("%s answers with the highest line: the upper envelope is lowest at "
                          "<span class=\"value\">%s* = %s</span>, where <span "
                          "class=\"value\">v = %s</span>. "),
                 otherName.text, variable, exactText(graph.p).text, exactText(graph.value).text);
    if (graph.activeCount == 1) {
        putFormatted(tr("Strategy %d of %s alone holds %s to the value there.</p>\n"),
                     graphLineStrategy(steps, graph.active[0]) + 1, otherName.text, mixerName.text);
        return;
    }
    putFormatted(tr("The lines of strategies %d and %d of %s cross there: they are the active "
                    "strategies, played with probabilities %s and %s.</p>\n"),
                 graphLineStrategy(steps, graph.active[0]) + 1,
                 graphLineStrategy(steps, graph.active[1]) + 1, otherName.text,
                 exactText(graph.activeWeight[0]).text, exactText(graph.activeWeight[1]).text);
}

}  // namespace

void putPureAndDominanceSections() {
    const SolutionSteps& steps = stepsOfGame();
    putPurePrices(steps.prices);
    putDominance(steps);
}

void putGraphicalSection() {
    const SolutionSteps& steps = stepsOfGame();
    putText(tr("<section>\n<h2>The graphical solution</h2>\n"));
    if (!steps.graphical && steps.reduction.rowCount == 1) {
        putFormatted(tr("<p>Dominance leaves each player one strategy: they are the solution, and "
                        "the value is the entry left, %d.</p>\n"),
                     steps.reduced[0][0]);
        putText("</section>\n");
        return;
    }
    if (!steps.graphical) {
        putText(
            tr("<p>After dominance each player keeps more than two strategies: the game has no "
               "graphical solution. The exact solution below solves it by the simplex "
               "method.</p>\n"));
        putText("</section>\n");
        return;
    }
    putGraphicalText(steps);
    putText("<figure>\n");
    putGraphPicture();
    putText(
        tr("<figcaption>Each line is a strategy of the player who answers; the bold envelope is "
           "what he holds the mixing player to, and the dot its best point.</figcaption>\n"));
    putText("</figure>\n</section>\n");
}
