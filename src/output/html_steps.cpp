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

namespace {

const char* playerName(int32_t player) {
    return player == 1 ? game.playerOneName : game.playerTwoName;
}

void putExact(const Fraction& value) {
    char text[kFractionTextCapacity];
    formatFraction(value, text, sizeof text);
    putText(text);
    if (value.denominator == 1) return;
    formatFractionDecimals(value, 6, text, sizeof text);
    putText(" = ");
    putText(text);
}

void putMarked(const bool* marked, int32_t count) {
    char list[kMaxStrategies * 4 + 16];
    formatStrategyList(marked, count, list, sizeof list);
    putText(list);
}

void putPurePrices(const PurePrices& prices) {
    putText(
        "<section>\n<h2>Step 1: the prices in pure strategies</h2>\n<p>The lower price "
        "&#945; = max<sub>i</sub> min<sub>j</sub> GM[i][j] = ");
    putInteger(prices.lowerPrice);
    putText(", which ");
    putHtmlName(game.playerOneName);
    putText(" makes sure of with ");
    putMarked(prices.lowerRows, game.rowCount);
    putText(". The upper price &#946; = min<sub>j</sub> max<sub>i</sub> GM[i][j] = ");
    putInteger(prices.upperPrice);
    putText(", which ");
    putHtmlName(game.playerTwoName);
    putText(" makes sure of with ");
    putMarked(prices.upperColumns, game.columnCount);
    putFormatted(". So %d &#8804; v &#8804; %d.</p>\n", prices.lowerPrice, prices.upperPrice);
    if (prices.saddleCount == 0) {
        putText("<p>There is no saddle point: the players must mix their strategies.</p>\n");
    } else {
        putText(prices.saddleCount == 1 ? "<p>The saddle point (i, j):"
                                        : "<p>The saddle points (i, j):");
        for (int32_t i = 0; i < game.rowCount; ++i) {
            for (int32_t j = 0; j < game.columnCount; ++j) {
                if (prices.saddle[i][j]) putFormatted(" (%d, %d)", i + 1, j + 1);
            }
        }
        putFormatted(
            ". The value of the game is v = %d, and each player&#8217;s strategies of the "
            "saddle points are optimal: the iterations only confirm it.</p>\n",
            prices.lowerPrice);
    }
    putText("</section>\n");
}

void putReducedMatrix(const SolutionSteps& steps) {
    const Reduction& reduction = steps.reduction;
    putText(
        "<p>The reduced game, its strategies numbered as entered:</p>\n<table "
        "class=\"matrix reduced\">\n<thead>\n<tr><th scope=\"col\" rowspan=\"2\">");
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
        "<section>\n<h2>Step 2: dominance</h2>\n<p>A row that never wins more than another, "
        "and a column that never costs less than another, is removed, round after round "
        "(by pure strategies only; of two equal strategies the first stays).</p>\n");
    if (reduction.removalCount == 0) {
        putText("<p>No strategy is dominated: the game stays as it is.</p>\n</section>\n");
        return;
    }
    putText("<ol>\n");
    for (int32_t r = 0; r < reduction.removalCount; ++r) {
        const Removal& removal = reduction.removals[r];
        putFormatted("<li>Strategy %d of ", removal.strategy + 1);
        putHtmlName(playerName(removal.player));
        putFormatted(removal.duplicate
                         ? " is the same as strategy %d, which comes first: removed.</li>\n"
                         : " is dominated by strategy %d: removed.</li>\n",
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
    putText("<p>");
    putHtmlName(mixer);
    putFormatted(" plays strategy %d with probability %s and strategy %d with 1 &#8722; %s. ",
                 graphMixedStrategy(steps, 0) + 1, variable, graphMixedStrategy(steps, 1) + 1,
                 variable);
    putText("Each strategy of ");
    putHtmlName(other);
    putFormatted(" is a line over %s from 0 to 1:</p>\n<ul>\n", variable);
    char equation[64];
    for (int32_t line = 0; line < graph.lineCount; ++line) {
        formatLineEquation(graph.atZero[line], graph.atOne[line], variable, equation,
                           sizeof equation);
        putFormatted("<li>strategy %d of ", graphLineStrategy(steps, line) + 1);
        putHtmlName(other);
        putFormatted(": %s</li>\n", equation);
    }
    putText("</ul>\n<p>");
    putHtmlName(other);
    putFormatted(" answers with the %s line: the %s envelope is %s at <span class=\"value\">%s* = ",
                 graph.overRows ? "lowest" : "highest", graph.overRows ? "lower" : "upper",
                 graph.overRows ? "highest" : "lowest", variable);
    putExact(graph.p);
    putText("</span>, where <span class=\"value\">v = ");
    putExact(graph.value);
    putText("</span>. ");
    if (graph.activeCount == 1) {
        putFormatted("Strategy %d of ", graphLineStrategy(steps, graph.active[0]) + 1);
        putHtmlName(other);
        putText(" alone holds ");
        putHtmlName(mixer);
        putText(" to the value there.</p>\n");
        return;
    }
    putFormatted("The lines of strategies %d and %d of ",
                 graphLineStrategy(steps, graph.active[0]) + 1,
                 graphLineStrategy(steps, graph.active[1]) + 1);
    putHtmlName(other);
    putText(" cross there: they are the active strategies, played with probabilities ");
    putExact(graph.activeWeight[0]);
    putText(" and ");
    putExact(graph.activeWeight[1]);
    putText(".</p>\n");
}

}  // namespace

void putPureAndDominanceSections() {
    const SolutionSteps& steps = stepsOfGame();
    putPurePrices(steps.prices);
    putDominance(steps);
}

void putGraphicalSection() {
    const SolutionSteps& steps = stepsOfGame();
    putText("<section>\n<h2>The graphical solution</h2>\n");
    if (!steps.graphical && steps.reduction.rowCount == 1) {
        putFormatted(
            "<p>Dominance leaves each player one strategy: they are the solution, and the "
            "value is the entry left, %d.</p>\n</section>\n",
            steps.reduced[0][0]);
        return;
    }
    if (!steps.graphical) {
        putText(
            "<p>After dominance each player keeps more than two strategies: the game has no "
            "graphical solution. The exact solution below solves it by the simplex method.</p>\n"
            "</section>\n");
        return;
    }
    putGraphicalText(steps);
    putText("<figure>\n");
    putGraphPicture();
    putText(
        "<figcaption>Each line is a strategy of the player who answers; the bold envelope is "
        "what he holds the mixing player to, and the dot its best point.</figcaption>\n"
        "</figure>\n</section>\n");
}
