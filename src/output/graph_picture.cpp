// The graphical solution drawn as a course draws it: p from 0 to 1 across,
// the payoff to player 1 up, one straight line per strategy of the player
// who answers, the envelope he picks from drawn bold, and the optimum
// marked. The numbers beside it come exact from game/solution_steps.h;
// the drawing itself needs only doubles.
#include "output/graph_picture.h"

#include <cmath>
#include <cstdint>

#include "game/fraction.h"
#include "game/game_record.h"
#include "game/solution_steps.h"
#include "output/output_text.h"
#include "output/picture_math.h"
#include "output/svg_text.h"
#include "text/fraction_text.h"
#include "text/line_equation.h"
#include "text/translation.h"

namespace {

constexpr int kCanvasHeight = 560;
constexpr int kPlotTop = 84;
constexpr int kPlotWidth = 460;
constexpr int kPlotHeight = 390;
// Room for the widest payoff label and line label is measured: a digit
// of the 13-pixel sans-serif face is about 7.4 pixels wide.
constexpr double kCharacterWidth = 7.4;
constexpr int kAxisTitleRoom = 40;  // the turned axis title, left of the labels
constexpr int kLabelSpacing = 17;   // between the labels of the lines, at least

// Colours a colour-blind reader tells apart, and dash patterns, so that
// ten lines differ in both and a black-and-white print keeps them apart.
const char* const kColours[] = {"#0072B2", "#D55E00", "#009E73", "#CC79A7",
                                "#E69F00", "#56B4E9", "#000000", "#999999"};
const char* const kDashes[] = {nullptr, "8 4", "2 3", "10 3 2 3", "5 2"};

// The picture's scale and what is drawn on it.
struct Graph {
    const SolutionSteps* steps;  // the game solved step by step
    const GraphicalSolution* solution;
    const char* variable;  // "p" when player 1 mixes, "q" when player 2 does
    double low;            // the payoff at the bottom of the plot
    double high;           // and at its top
    double step;           // between the payoff axis's labels
    int decimals;          // of those labels
    int plotLeft;          // the plot's left edge, right of the payoff labels
    int labelLeft;         // where the lines' labels start
    int canvasWidth;       // out to the widest line label
};

Graph graph;

double xOf(double p) { return graph.plotLeft + p * kPlotWidth; }

double yOf(double payoff) {
    return kPlotTop + (graph.high - payoff) / (graph.high - graph.low) * kPlotHeight;
}

double lineAt(int32_t line, double p) {
    const GraphicalSolution& s = *graph.solution;
    return s.atZero[line] + p * (static_cast<double>(s.atOne[line]) - s.atZero[line]);
}

// The envelope the other player picks from: the least line when player 1
// mixes, the greatest when player 2 does.
double envelopeAt(double p) {
    const GraphicalSolution& s = *graph.solution;
    double best = lineAt(0, p);
    for (int32_t line = 1; line < s.lineCount; ++line) {
        const double height = lineAt(line, p);
        if (s.overRows ? height < best : height > best) best = height;
    }
    return best;
}

// The payoff axis reaches over every line's ends, out to whole ticks.
void fitPayoffAxis() {
    const GraphicalSolution& s = *graph.solution;
    int32_t lowest = s.atZero[0];
    int32_t highest = lowest;
    for (int32_t line = 0; line < s.lineCount; ++line) {
        for (const int32_t end : {s.atZero[line], s.atOne[line]}) {
            if (end < lowest) lowest = end;
            if (end > highest) highest = end;
        }
    }
    double low = lowest;
    double high = highest;
    if (high - low < 0.5) {  // every line level at one height
        low -= 1;
        high += 1;
    }
    graph.step = niceTickStep(high - low);
    graph.low = roundedDown(low / graph.step) * graph.step;
    graph.high = roundedUp(high / graph.step) * graph.step;
    const int decimals = static_cast<int>(-roundedDown(decimalLog(graph.step) + 1e-9));
    graph.decimals = decimals > 0 ? decimals : 0;
}

// Characters in a payoff label: the sign, the whole digits, the point
// and the decimals.
int labelLength(double value) {
    int length = value < 0 ? 2 : 1;
    // The axis ends are whole ticks within 2 * 10^7 of nought.
    for (auto whole = static_cast<int64_t>(std::fabs(value)); whole >= 10; whole /= 10) ++length;
    return length + (graph.decimals > 0 ? graph.decimals + 1 : 0);
}

// The widest label "j = 10: -10000000 + 20000000p" of any line.
int lineLabelLength() {
    const GraphicalSolution& s = *graph.solution;
    int widest = 0;
    for (int32_t line = 0; line < s.lineCount; ++line) {
        char equation[64];
        const int length = formatLineEquation(s.atZero[line], s.atOne[line], graph.variable,
                                              equation, sizeof equation);
        if (length + 8 > widest) widest = length + 8;
    }
    return widest;
}

// Characters of a name as shown: UTF-8 continuation bytes add none.
int shownLength(const char* name) {
    int length = 0;
    for (const char* c = name; *c != '\0'; ++c) length += (*c & 0xC0) == 0x80 ? 0 : 1;
    return length;
}

// The subtitle: who mixes which strategies, and how the other answers.
const char* subtitleEnglish() {
    return graph.solution->overRows
               ? markedText(
                     "%s mixes strategies %d and %d as (%s, 1 &#8722; %s); %s answers "
                     "with the lowest line")
               : markedText(
                     "%s mixes strategies %d and %d as (%s, 1 &#8722; %s); %s answers "
                     "with the highest line");
}

void layOut() {
    int widest = labelLength(graph.low);
    if (labelLength(graph.high) > widest) widest = labelLength(graph.high);
    graph.plotLeft = kAxisTitleRoom + static_cast<int>(roundedUp(widest * kCharacterWidth)) + 12;
    graph.labelLeft = graph.plotLeft + kPlotWidth + 14;
    graph.canvasWidth =
        graph.labelLeft + static_cast<int>(roundedUp(lineLabelLength() * kCharacterWidth)) + 12;
    // The subtitle, in 14-pixel type, names both players and about 66
    // characters more.
    // A translation longer than the English takes as many characters more.
    const int longer = shownLength(tr(subtitleEnglish())) - shownLength(subtitleEnglish());
    const int subtitle = shownLength(game.playerOneName) + shownLength(game.playerTwoName) + 66 +
                         (longer > 0 ? longer : 0);
    const int subtitleEnd = graph.plotLeft + static_cast<int>(roundedUp(subtitle * 8.0)) + 12;
    if (subtitleEnd > graph.canvasWidth) graph.canvasWidth = subtitleEnd;
}

void putPoint(const char* command, double x, double y) {
    putText(command);
    putCoordinate(x);
    putText(" ");
    putCoordinate(y);
}

void putExact(const Fraction& value) {
    char text[kFractionTextCapacity];
    formatFraction(value, text, sizeof text);
    putText(text);
}

// The strategy a line stands for, numbered as entered: "j = 3".
void putLineName(int32_t line) {
    putFormatted("%s = %d", graph.solution->overRows ? "j" : "i",
                 graphLineStrategy(*graph.steps, line) + 1);
}

void putLineEquation(int32_t line) {
    char equation[64];
    formatLineEquation(graph.solution->atZero[line], graph.solution->atOne[line], graph.variable,
                       equation, sizeof equation);
    putText(equation);
}

void putAxes() {
    for (int t = 0; t <= 4; ++t) {
        const double x = xOf(t / 4.0);
        if (t > 0 && t < 4)
            putFormatted("<path d=\"M%.1f %dv%d\" stroke=\"#e4e4e4\"/>\n", x, kPlotTop,
                         kPlotHeight);
        putPoint("<path d=\"M", x, kPlotTop + kPlotHeight);
        putText("v5\" stroke=\"#000\"/>\n");
        putTextAt(x, kPlotTop + kPlotHeight + 20, "middle");
        putText(t == 0 ? "0" : t == 4 ? "1" : t == 2 ? "0.5" : t == 1 ? "0.25" : "0.75");
        putText("</text>\n");
    }
    const auto ticks = static_cast<int>(roundedToNearest((graph.high - graph.low) / graph.step));
    for (int t = 0; t <= ticks; ++t) {
        double value = graph.low + t * graph.step;
        if (std::fabs(value) < graph.step * 1e-6) value = 0;  // no "-0.0"
        const double y = yOf(value);
        if (t > 0 && t < ticks) {
            putPoint("<path d=\"M", graph.plotLeft, y);
            putFormatted("h%d\" stroke=\"#e4e4e4\"/>\n", kPlotWidth);
        }
        putPoint("<path d=\"M", graph.plotLeft - 5, y);
        putText("h5\" stroke=\"#000\"/>\n");
        putTextAt(graph.plotLeft - 8, y + 4, "end");
        putFixed(value, graph.decimals);
        putText("</text>\n");
    }
    putFormatted(
        "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"#000\"/>\n",
        graph.plotLeft, kPlotTop, kPlotWidth, kPlotHeight);
    const int middle = kPlotTop + kPlotHeight / 2;
    putFormatted(
        "<text x=\"18\" y=\"%d\" text-anchor=\"middle\" transform=\"rotate(-90 18 %d)\">"
        "%s</text>\n",
        middle, middle, tr("payoff to player 1"));
    putTextAt(graph.plotLeft + kPlotWidth / 2.0, kPlotTop + kPlotHeight + 44, "middle");
    putFormatted(
        tr("%s, the probability of %s&#8217;s strategy %d"), graph.variable,
        isolatedName(graph.solution->overRows ? game.playerOneName : game.playerTwoName).text,
        graphMixedStrategy(*graph.steps, 0) + 1);
    putText("</text>\n");
}

// The envelope bends only where two lines cross: through the ends and
// every crossing in between, in order, it is drawn exactly.
void putEnvelope() {
    const GraphicalSolution& s = *graph.solution;
    double points[2 + kMaxStrategies * (kMaxStrategies - 1) / 2];
    int count = 0;
    points[count++] = 0;
    points[count++] = 1;
    for (int32_t a = 0; a < s.lineCount; ++a) {
        for (int32_t b = a + 1; b < s.lineCount; ++b) {
            const double slopes = (static_cast<double>(s.atOne[a]) - s.atZero[a]) -
                                  (static_cast<double>(s.atOne[b]) - s.atZero[b]);
            if (slopes == 0) continue;
            const double p = (static_cast<double>(s.atZero[b]) - s.atZero[a]) / slopes;
            if (p > 0 && p < 1) points[count++] = p;
        }
    }
    for (int i = 1; i < count; ++i) {  // a few dozen at most: insertion sort
        for (int j = i; j > 0 && points[j - 1] > points[j]; --j) {
            const double held = points[j];
            points[j] = points[j - 1];
            points[j - 1] = held;
        }
    }
    putText("<path stroke=\"#000\" stroke-width=\"6\" stroke-opacity=\"0.3\" d=\"");
    for (int i = 0; i < count; ++i)
        putPoint(i == 0 ? "M" : "L", xOf(points[i]), yOf(envelopeAt(points[i])));
    putText("\"><title>");
    putFormatted(s.overRows ? tr("the lower envelope: what %s holds %s to")
                            : tr("the upper envelope: what %s holds %s to"),
                 isolatedName(s.overRows ? game.playerTwoName : game.playerOneName).text,
                 isolatedName(s.overRows ? game.playerOneName : game.playerTwoName).text);
    putText("</title></path>\n");
}

void putLines() {
    const GraphicalSolution& s = *graph.solution;
    for (int32_t line = 0; line < s.lineCount; ++line) {
        putFormatted("<path stroke=\"%s\" stroke-width=\"2\"", kColours[line % 8]);
        if (kDashes[line % 5] != nullptr)
            putFormatted(" stroke-dasharray=\"%s\"", kDashes[line % 5]);
        putPoint(" d=\"M", xOf(0), yOf(s.atZero[line]));
        putPoint("L", xOf(1), yOf(s.atOne[line]));
        putText("\"><title>");
        putLineName(line);
        putText(": ");
        putLineEquation(line);
        putText("</title></path>\n");
    }
}

// Each line's label beside its right end, pushed apart where ends crowd,
// with a short stroke from the end to a label that moved.
void putLineLabels() {
    const GraphicalSolution& s = *graph.solution;
    int32_t order[kMaxStrategies];
    double labelY[kMaxStrategies];
    for (int32_t line = 0; line < s.lineCount; ++line) order[line] = line;
    for (int32_t i = 1; i < s.lineCount; ++i) {  // top to bottom, the lower number first
        for (int32_t j = i; j > 0 && s.atOne[order[j - 1]] < s.atOne[order[j]]; --j) {
            const int32_t held = order[j];
            order[j] = order[j - 1];
            order[j - 1] = held;
        }
    }
    for (int32_t i = 0; i < s.lineCount; ++i) {
        const double wanted = yOf(s.atOne[order[i]]) + 4;
        labelY[i] = i > 0 && wanted < labelY[i - 1] + kLabelSpacing ? labelY[i - 1] + kLabelSpacing
                                                                    : wanted;
    }
    const double overflow = labelY[s.lineCount - 1] - (kCanvasHeight - 8);
    for (int32_t i = 0; i < s.lineCount && overflow > 0; ++i) labelY[i] -= overflow;
    for (int32_t i = 0; i < s.lineCount; ++i) {
        const int32_t line = order[i];
        putFormatted("<path fill=\"none\" stroke=\"%s\" stroke-width=\"2\"", kColours[line % 8]);
        putPoint(" d=\"M", xOf(1), yOf(s.atOne[line]));
        putPoint("L", graph.labelLeft - 4, labelY[i] - 4);
        putText("\"/>\n");
        putTextAt(graph.labelLeft, labelY[i], "start");
        putLineName(line);
        putText(": ");
        putLineEquation(line);
        putText("</text>\n");
    }
}

// The optimum: a dot on the envelope's best point, a dashed drop to the
// p axis, and p* and v beside it, kept inside the plot.
void putOptimum() {
    const GraphicalSolution& s = *graph.solution;
    const double p = fractionToDouble(s.p);
    const double x = xOf(p);
    const double y = yOf(fractionToDouble(s.value));
    putPoint("<path stroke=\"#000\" stroke-width=\"1.2\" stroke-dasharray=\"4 3\" d=\"M", x, y);
    putFormatted("V%d\"/>\n", kPlotTop + kPlotHeight);
    putText("<circle cx=\"");
    putCoordinate(x);
    putText("\" cy=\"");
    putCoordinate(y);
    putText("\" r=\"5.5\" fill=\"#000\"><title>");
    putText(tr("the optimum: "));
    putText(graph.variable);
    putText("* = ");
    putExact(s.p);
    putText(", v = ");
    putExact(s.value);
    putText("</title></circle>\n");
    const char* anchor = p < 0.2 ? "start" : p > 0.8 ? "end" : "middle";
    const double labelY = y - kPlotTop < 40 ? y + 26 : y - 14;
    putTextAt(p < 0.2 ? x + 6 : p > 0.8 ? x - 6 : x, labelY, anchor);
    // A white halo keeps the label legible across the lines.
    putFormatted(
        "<tspan font-weight=\"bold\" stroke=\"#fff\" stroke-width=\"4\" "
        "paint-order=\"stroke\">%s* = ",
        graph.variable);
    putExact(s.p);
    putText(", v = ");
    putExact(s.value);
    putText("</tspan></text>\n");
}

void putTitle() {
    const GraphicalSolution& s = *graph.solution;
    const char* mixer = s.overRows ? game.playerOneName : game.playerTwoName;
    const char* other = s.overRows ? game.playerTwoName : game.playerOneName;
    putFormatted("<text x=\"%d\" y=\"32\" font-size=\"19\" font-weight=\"bold\">", graph.plotLeft);
    putFormatted(tr("%s against %s: the graphical solution"), isolatedName(game.playerOneName).text,
                 isolatedName(game.playerTwoName).text);
    putText("</text>\n");
    putFormatted("<text x=\"%d\" y=\"56\" font-size=\"14\">", graph.plotLeft);
    putFormatted(tr(subtitleEnglish()), isolatedName(mixer).text,
                 graphMixedStrategy(*graph.steps, 0) + 1, graphMixedStrategy(*graph.steps, 1) + 1,
                 graph.variable, graph.variable, isolatedName(other).text);
    putText("</text>\n");
}

}  // namespace

bool hasGraphPicture(const TypedGame& typed) {
    Reduction reduction;
    reduceByDominance(typed.entries, typed.rowCount, typed.columnCount, &reduction);
    return reduction.rowCount == 2 || reduction.columnCount == 2;
}

void putGraphPicture() {
    graph.steps = &stepsOfGame();
    graph.solution = &graph.steps->graph;
    graph.variable = graph.solution->overRows ? "p" : "q";
    fitPayoffAxis();
    layOut();

    putSvgStart(graph.canvasWidth, kCanvasHeight);
    putText("<title>");
    putFormatted(tr("The graphical solution: %s against %s"), isolatedName(game.playerOneName).text,
                 isolatedName(game.playerTwoName).text);
    putText("</title>\n<g font-family=\"sans-serif\" font-size=\"13\">\n");
    putFormatted("<rect width=\"%d\" height=\"%d\" fill=\"#fff\"/>\n", graph.canvasWidth,
                 kCanvasHeight);
    putTitle();
    putAxes();
    putText("<g fill=\"none\" stroke-linejoin=\"round\">\n");
    putEnvelope();
    putLines();
    putText("</g>\n");
    putLineLabels();
    putOptimum();
    putText("</g>\n</svg>\n");
}

void writeGraphPicture() {
    putText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    putGraphPicture();
}
