// The picture of a run. The game is played again from the start with
// playIteration, once, and every line's values are gathered per pixel
// column as they come (see picture_columns.h); the axes are then fitted to
// what was gathered and everything is put out in one go. The upper panel
// shows the estimates in the game as entered, the lower one the gap
// between the bounds on a logarithmic scale.
#include "output/svg_picture.h"

#include <cmath>
#include <cstdint>

#include "game/exact_solution.h"
#include "game/fraction.h"
#include "game/game_record.h"
#include "game/iteration.h"
#include "game/mean_price.h"
#include "output/output_text.h"
#include "output/picture_columns.h"
#include "output/picture_math.h"
#include "output/report_head.h"
#include "text/fixed_point.h"
#include "text/fraction_text.h"
#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

// The canvas and its panels, in pixels (a 4:3-ish slide). The plot starts
// where the widest label of its value axes leaves room, at least at
// kLeastPlotLeft; the canvas grows by as much to its right.
constexpr int kCanvasHeight = 732;
constexpr int kLeastPlotLeft = 72;
constexpr int kPlotWidth = 700;  // also the number of pixel columns a line keeps
constexpr int kHeadY = 76;  // the baseline of the authors and the date
constexpr int kUpperTop = 98;
constexpr int kUpperHeight = 330;
constexpr int kLowerTop = 482;
constexpr int kLowerHeight = 190;
constexpr int kLegendGap = 18;     // between the plot and the legend
constexpr int kLegendWidth = 230;  // the legend and the margin after it
// The axes' names run up the left edge, their glyphs 10 pixels left and 3
// right of their baseline at kSideLabelX; a tick label ends kLabelGap
// pixels left of the plot and keeps kLabelClearance from those glyphs.
constexpr int kSideLabelX = 20;
constexpr int kSideLabelRight = kSideLabelX + 3;
constexpr int kLabelGap = 8;
constexpr int kLabelClearance = 6;
constexpr double kLabelFontSize = 13;
constexpr int kLabelCapacity = 64;

// The lines gathered per column. The best bounds are two of them drawn as
// one element.
enum Line {
    kUpper,      // V^ = max A / k
    kLower,      // V_ = min B / k
    kMidpoint,   // V*, as the table shows it
    kMeanPrice,  // the average of V* up to k
    kBestLower,  // the largest V_ up to k
    kBestUpper,  // the smallest V^ up to k
    kGap,        // V^ - V_
    kBestGap,    // the smallest V^ less the largest V_, up to k
    kLineCount
};

// How a line is drawn: colour (from a palette that colour-blind readers
// tell apart) and dash pattern both differ, so a black-and-white print
// keeps the lines apart as well.
struct LineLook {
    const char* colour;  // stroke
    const char* width;   // stroke-width
    const char* dashes;  // stroke-dasharray, nullptr for a solid line
    bool roundCaps;      // round ends: the dots of a dotted line
    const char* title;   // the element's <title>
    const char* legend;  // its entry in the legend (character references allowed)
};

// clang-format off
const LineLook kUpperLook =    {"#D55E00", "1.6", nullptr,     false, "V^, the upper estimate max A / k",
                                "V^ upper estimate"};
const LineLook kLowerLook =    {"#0072B2", "1.6", "7 3",       false, "V_, the lower estimate min B / k",
                                "V_ lower estimate"};
const LineLook kMidpointLook = {"#E69F00", "1.2", "7 2 2 2",   false, "V*, the midpoint of the estimates",
                                "V* their midpoint"};
const LineLook kMeanLook =     {"#009E73", "2.6", nullptr,     false, "mean price so far (average of V*)",
                                "mean price so far"};
const LineLook kBestLook =     {"#CC79A7", "2.2", "3 2",       false, "best bounds so far (largest V_, smallest V^)",
                                "best bounds so far"};
const LineLook kValueLook =    {"#000000", "1.6", "10 5",      false, "value of the game", nullptr};
const LineLook kGapLook =      {"#D55E00", "1.6", nullptr,     false, "gap V^ - V_",
                                "gap V^ &#8722; V_"};
const LineLook kBestGapLook =  {"#CC79A7", "2.2", "3 2",       false, "gap between the best bounds",
                                "gap of the best bounds"};
const LineLook kReferenceLook = {"#000000", "1.8", "0.1 4.5",  true,  "reference line falling like 1 / sqrt(k)",
                                "falling like 1/&#8730;k"};
// clang-format on

// Everything the picture is drawn from.
struct Picture {
    ColumnExtremes columns[kPlotWidth][kLineCount];  // per pixel column, per line
    int32_t n;                                       // iterations of the run
    bool logarithmic;                                // the k axis: powers of ten beyond 99
    bool reduced;                                    // columns hold many iterations
    double value;                                    // the exact value, as entered
    double payoffLow;                                // bottom of the upper panel
    double payoffHigh;                               // top of the upper panel
    double payoffStep;                               // between its ticks
    int payoffDecimals;                              // of its tick labels
    int gapLowDecade;                                // the lower panel's bottom is 10^this
    int gapHighDecade;                               // and its top 10^this
    double referenceScale;                           // the reference line is this / sqrt(k)
    int plotLeft;                                    // the panels' left edge
    int canvasWidth;                                 // the whole picture's width
};

Picture picture;

// ---- Gathering --------------------------------------------------------

void clearColumns() {
    for (auto& column : picture.columns) {
        for (ColumnExtremes& line : column) line.count = 0;
    }
}

// Plays the run again and adds every iteration's values to its column.
void gatherRun() {
    const int32_t n = picture.n;
    const bool logarithmic = picture.logarithmic;
    const double shift = game.negativeShift;
    PlayState state;
    startPlay(&state, game.startStrategy);
    double estimateSum = 0.0;
    double bestLower = 0.0;
    double bestUpper = 0.0;
    int32_t column = 0;
    int32_t nextColumnAt = firstIterationAfterColumn(0, n, kPlotWidth, logarithmic);
    for (int32_t k = 1; k <= n; ++k) {
        playIteration(&state);
        if (k >= nextColumnAt) {
            column = pictureColumnOf(k, n, kPlotWidth, logarithmic);
            nextColumnAt = firstIterationAfterColumn(column, n, kPlotWidth, logarithmic);
        }
        const double lower = lowerEstimate(state) - shift;
        const double upper = upperEstimate(state) - shift;
        estimateSum += state.vStar;
        if (k == 1 || lower > bestLower) bestLower = lower;
        if (k == 1 || upper < bestUpper) bestUpper = upper;
        ColumnExtremes* lines = picture.columns[column];
        addToColumn(&lines[kUpper], upper);
        addToColumn(&lines[kLower], lower);
        addToColumn(&lines[kMidpoint], static_cast<double>(state.vStar) - shift);
        addToColumn(&lines[kMeanPrice], estimateSum / k - shift);
        addToColumn(&lines[kBestLower], bestLower);
        addToColumn(&lines[kBestUpper], bestUpper);
        addToColumn(&lines[kGap], upper - lower);
        addToColumn(&lines[kBestGap], bestUpper - bestLower);
    }
}

// ---- Axes -------------------------------------------------------------

// 1, 2 or 5 times a power of ten, about a sixth of `range`.
double niceStep(double range) {
    const double rough = range / 6;
    const double power = tenToThe(static_cast<int>(roundedDown(decimalLog(rough))));
    const double scaled = rough / power;
    if (scaled < 1.5) return power;
    if (scaled < 3.5) return 2 * power;
    if (scaled < 7.5) return 5 * power;
    return 10 * power;
}

// The upper panel reaches from the smallest to the largest value any of
// its lines takes, out to whole ticks.
void fitPayoffAxis() {
    double low = picture.value;
    double high = picture.value;
    for (const auto& column : picture.columns) {
        for (int line = kUpper; line <= kBestUpper; ++line) {
            if (column[line].count == 0) continue;
            if (column[line].smallest < low) low = column[line].smallest;
            if (column[line].largest > high) high = column[line].largest;
        }
    }
    if (high - low < 1e-9 * (1 + std::fabs(high))) {
        // One value throughout (a saddle point found at once): a band around it.
        low -= 1;
        high += 1;
    }
    const double step = niceStep(high - low);
    picture.payoffStep = step;
    picture.payoffLow = roundedDown(low / step) * step;
    picture.payoffHigh = roundedUp(high / step) * step;
    const int decimals = static_cast<int>(-roundedDown(decimalLog(step) + 1e-9));
    picture.payoffDecimals = decimals > 0 ? decimals : 0;
}

// The lower panel spans whole decades around every positive gap kept and
// the reference line, which starts from the first gap.
void fitGapAxis() {
    double largest = 0.0;
    double smallestPositive = 0.0;
    for (const auto& column : picture.columns) {
        for (int line = kGap; line <= kBestGap; ++line) {
            double points[4];
            const int count = columnPoints(column[line], points);
            for (int p = 0; p < count; ++p) {
                if (points[p] > largest) largest = points[p];
                if (points[p] > 0 && (smallestPositive == 0 || points[p] < smallestPositive)) {
                    smallestPositive = points[p];
                }
            }
        }
    }
    const double firstGap = picture.columns[0][kGap].first;
    picture.referenceScale = firstGap > 0 ? firstGap : largest > 0 ? largest : 1.0;
    const double referenceEnd = picture.referenceScale / squareRoot(static_cast<double>(picture.n));
    if (largest < picture.referenceScale) largest = picture.referenceScale;
    if (smallestPositive == 0 || referenceEnd < smallestPositive) smallestPositive = referenceEnd;
    picture.gapHighDecade = static_cast<int>(roundedUp(decimalLog(largest) - 1e-9));
    picture.gapLowDecade = static_cast<int>(roundedDown(decimalLog(smallestPositive) + 1e-9));
    if (picture.gapLowDecade >= picture.gapHighDecade)
        picture.gapLowDecade = picture.gapHighDecade - 1;
}

int legendLeft() { return picture.plotLeft + kPlotWidth + kLegendGap; }

double xOfK(double k) {
    return picture.plotLeft + kAxisPosition(k, picture.n, kPlotWidth, picture.logarithmic);
}

// Where the line of a column is drawn: at its iteration while each has a
// column of its own, else in the middle of the pixel.
double xOfColumn(int32_t column) {
    if (picture.reduced) return picture.plotLeft + column + 0.5;
    return xOfK(column + 1);
}

double yOfPayoff(double value) {
    const double share = (picture.payoffHigh - value) / (picture.payoffHigh - picture.payoffLow);
    return kUpperTop + share * kUpperHeight;
}

// A gap of 0 (or any below the panel) lies on its bottom edge.
double yOfGap(double gap) {
    const double bottom = kLowerTop + kLowerHeight;
    if (gap <= 0) return bottom;
    const double decades = picture.gapHighDecade - picture.gapLowDecade;
    const double y = bottom - (decimalLog(gap) - picture.gapLowDecade) / decades * kLowerHeight;
    return y > bottom ? bottom : y;
}

// ---- Putting text -----------------------------------------------------

// A coordinate to a tenth of a pixel.
void putCoordinate(double value) { putFixed(roundedToNearest(value * 10) / 10, 1); }

// The label of a tick of the payoff axis: the value with the axis'
// decimals, its whole part grouped.
void payoffLabel(double value, TextBuffer* label) {
    char plain[kLabelCapacity];
    char grouped[kLabelCapacity];
    formatFixed(value, picture.payoffDecimals, plain, sizeof plain);
    groupDigits(plain, grouped, sizeof grouped);
    appendText(label, grouped);
}

// 10 to the power e: as a decimal from 0.001 to 1,000,000, beyond that as
// 10 with a superscript exponent.
void gapLabel(int e, TextBuffer* label) {
    char plain[kLabelCapacity];
    char grouped[kLabelCapacity];
    if (e >= 0 && e <= 6) {
        formatInteger(static_cast<int64_t>(tenToThe(e)), plain);
        groupDigits(plain, grouped, sizeof grouped);
        appendText(label, grouped);
    } else if (e < 0 && e >= -3) {
        formatFixed(tenToThe(e), -e, plain, sizeof plain);
        appendText(label, plain);
    } else {
        static const char* const kSuperscripts[] = {"&#8304;", "&#185;",  "&#178;",  "&#179;",
                                                    "&#8308;", "&#8309;", "&#8310;", "&#8311;",
                                                    "&#8312;", "&#8313;"};
        appendText(label, "10");
        if (e < 0) appendText(label, "&#8315;");
        const int magnitude = e < 0 ? -e : e;
        if (magnitude >= 10) appendText(label, kSuperscripts[magnitude / 10]);
        appendText(label, kSuperscripts[magnitude % 10]);
    }
}

// How wide a label is drawn, in pixels, erring wide: a digit of the
// widest common sans-serif face (DejaVu Sans) takes 0.64 em, a point or
// comma 0.32, a minus 0.37, a superscript (a character reference) 0.42.
double labelWidth(const char* label) {
    double em = 0;
    for (const char* c = label; *c != '\0'; ++c) {
        if (*c == '&') {
            while (c[1] != '\0' && *c != ';') ++c;
            em += 0.42;
        } else if (*c == '.' || *c == ',') {
            em += 0.32;
        } else if (*c == '-') {
            em += 0.37;
        } else {
            em += 0.64;
        }
    }
    return em * kLabelFontSize;
}


void putLineAttributes(const LineLook& look) {
    putFormatted(" stroke=\"%s\" stroke-width=\"%s\"", look.colour, look.width);
    if (look.dashes != nullptr) putFormatted(" stroke-dasharray=\"%s\"", look.dashes);
    if (look.roundCaps) putText(" stroke-linecap=\"round\"");
}

void putTextAt(double x, double y, const char* anchor) {
    putText("<text x=\"");
    putCoordinate(x);
    putText("\" y=\"");
    putCoordinate(y);
    putFormatted("\" text-anchor=\"%s\">", anchor);
}

// ---- The lines --------------------------------------------------------

// The path through one line's columns: each column's points, at most four
// and one above the other when the column holds many iterations.
void putColumnsPath(int line, bool onGapPanel) {
    bool started = false;
    for (int32_t column = 0; column < kPlotWidth; ++column) {
        double points[4];
        const int count = columnPoints(picture.columns[column][line], points);
        double previousY = -1;
        for (int p = 0; p < count; ++p) {
            const double y = onGapPanel ? yOfGap(points[p]) : yOfPayoff(points[p]);
            const double rounded = roundedToNearest(y * 10) / 10;
            if (p > 0 && rounded == previousY) continue;
            if (p == 0) {
                putText(started ? "L" : "M");
                putCoordinate(xOfColumn(column));
                putText(" ");
            } else {
                putText("V");
            }
            putCoordinate(rounded);
            previousY = rounded;
            started = true;
        }
    }
}

void openLine(const LineLook& look) {
    putText("<path");
    putLineAttributes(look);
    putText(" d=\"");
}

void closeLine(const LineLook& look) {
    putText("\"><title>");
    putText(look.title);
    putText("</title></path>\n");
}

void putGatheredLine(int line, const LineLook& look, bool onGapPanel) {
    openLine(look);
    putColumnsPath(line, onGapPanel);
    closeLine(look);
}

// The mean price's line, its title ending on the report's mean price.
void putMeanPriceLine() {
    openLine(kMeanLook);
    putColumnsPath(kMeanPrice, false);
    putText("\"><title>");
    putText(kMeanLook.title);
    putText(", at the end ");
    putFixed(static_cast<double>(meanPrice()), 6);
    putText("</title></path>\n");
}

void putBestBounds() {
    openLine(kBestLook);
    putColumnsPath(kBestLower, false);
    putText(" ");
    putColumnsPath(kBestUpper, false);
    closeLine(kBestLook);
}

void putValueLine(const char* valueText) {
    openLine(kValueLook);
    putText("M");
    putCoordinate(picture.plotLeft);
    putText(" ");
    putCoordinate(yOfPayoff(picture.value));
    putText("H");
    putCoordinate(picture.plotLeft + kPlotWidth);
    putText("\"><title>value of the game ");
    putText(valueText);
    putText("</title></path>\n");
}

// Sampled every two pixels: straight on logarithmic axes, a curve on a
// linear k axis.
void putReferenceLine() {
    openLine(kReferenceLook);
    for (int x = 0; x <= kPlotWidth; x += 2) {
        const double k = kAtAxisPosition(x, picture.n, kPlotWidth, picture.logarithmic);
        putText(x == 0 ? "M" : "L");
        putCoordinate(picture.plotLeft + x);
        putText(" ");
        putCoordinate(yOfGap(picture.referenceScale / squareRoot(k)));
    }
    closeLine(kReferenceLook);
}

// ---- Axes, frame, legend and title ------------------------------------

void putHorizontalRule(double y, const char* colour) {
    putText("<path d=\"M");
    putCoordinate(picture.plotLeft);
    putText(" ");
    putCoordinate(y);
    putFormatted("h%d\" stroke=\"%s\"/>\n", kPlotWidth, colour);
}

// A k tick under both panels, with a grid line up both when `major`.
void putKTick(double k, bool major) {
    const double x = xOfK(k);
    const int panelTops[2] = {kUpperTop, kLowerTop};
    const int panelHeights[2] = {kUpperHeight, kLowerHeight};
    for (int p = 0; p < 2; ++p) {
        const double bottom = panelTops[p] + panelHeights[p];
        if (major) {
            putText("<path d=\"M");
            putCoordinate(x);
            putFormatted(" %dV", panelTops[p]);
            putCoordinate(bottom);
            putText("\" stroke=\"#e4e4e4\"/>\n");
        }
        putText("<path d=\"M");
        putCoordinate(x);
        putText(" ");
        putCoordinate(bottom);
        putFormatted("v%d\" stroke=\"#000\"/>\n", major ? 5 : 3);
        if (major) {
            putTextAt(x, bottom + 18, "middle");
            putGrouped(static_cast<int64_t>(roundedToNearest(k)));
            putText("</text>\n");
        }
    }
}

// Linear: 1 and the multiples of a step of 1, 2 or 5 times a power of ten.
// Logarithmic: the powers of ten, and their multiples as small ticks.
void putKAxis() {
    const int32_t n = picture.n;
    if (!picture.logarithmic) {
        const int32_t last = n > 1 ? n : 2;
        auto step = static_cast<int32_t>(niceStep(last - 1));
        if (step < 1) step = 1;
        putKTick(1, true);
        for (int32_t k = step; k <= last; k += step) {
            if (k > 1 && k - 1 >= step / 2) putKTick(k, true);
        }
        return;
    }
    for (int64_t power = 1; power <= n; power *= 10) {
        putKTick(static_cast<double>(power), true);
        for (int64_t multiple = 2 * power; multiple < 10 * power && multiple <= n;
             multiple += power) {
            putKTick(static_cast<double>(multiple), false);
        }
    }
}

void putTickLabel(double y, const char* label) {
    putText("<path d=\"M");
    putCoordinate(picture.plotLeft - 5);
    putText(" ");
    putCoordinate(y);
    putText("h5\" stroke=\"#000\"/>\n");
    putTextAt(picture.plotLeft - kLabelGap, y + 4, "end");
    putText(label);
    putText("</text>\n");
}

int payoffTickCount() {
    return static_cast<int>(
        roundedToNearest((picture.payoffHigh - picture.payoffLow) / picture.payoffStep));
}

double payoffTick(int t) {
    const double value = picture.payoffLow + t * picture.payoffStep;
    return std::fabs(value) < picture.payoffStep * 1e-6 ? 0 : value;  // no "-0.0"
}

// A label at every decade, or every second or third one when they crowd.
bool gapLabelShown(int e) {
    const int every = (picture.gapHighDecade - picture.gapLowDecade + 7) / 8;
    return (picture.gapHighDecade - e) % every == 0;
}

// How wide the line of the authors and the date may be drawn, in pixels:
// a byte of UTF-8 counts as a character, so that no letter is counted
// short, each about 0.62 em of the head's size.
double headWidth() {
    int characters = textLength(reportHead.date);
    for (int a = 0; a < reportHead.authorCount; ++a) {
        characters += textLength(reportHead.authors[a]) + 3;
    }
    return characters * 0.62 * 13;
}

// The plot starts right of its widest tick label, and the canvas widens by
// as much as the plot moved, so that no label is cut at the picture's edge
// or drawn over an axis' name.
void fitPlotLeft() {
    double widest = 0;
    char text[kLabelCapacity];
    for (int t = 0; t <= payoffTickCount(); ++t) {
        TextBuffer label = boundedText(text, kLabelCapacity);
        payoffLabel(payoffTick(t), &label);
        endText(&label);
        if (labelWidth(text) > widest) widest = labelWidth(text);
    }
    for (int e = picture.gapLowDecade; e <= picture.gapHighDecade; ++e) {
        if (!gapLabelShown(e)) continue;
        TextBuffer label = boundedText(text, kLabelCapacity);
        gapLabel(e, &label);
        endText(&label);
        if (labelWidth(text) > widest) widest = labelWidth(text);
    }
    const int needed =
        static_cast<int>(roundedUp(kSideLabelRight + kLabelClearance + widest + kLabelGap));
    picture.plotLeft = needed > kLeastPlotLeft ? needed : kLeastPlotLeft;
    picture.canvasWidth = legendLeft() + kLegendWidth;
    const int headRight = static_cast<int>(roundedUp(picture.plotLeft + headWidth())) + 20;
    if (headRight > picture.canvasWidth) picture.canvasWidth = headRight;
}

void putPayoffAxis() {
    char text[kLabelCapacity];
    const int ticks = payoffTickCount();
    for (int t = 0; t <= ticks; ++t) {
        const double y = yOfPayoff(payoffTick(t));
        if (t > 0 && t < ticks) putHorizontalRule(y, "#e4e4e4");
        TextBuffer label = boundedText(text, kLabelCapacity);
        payoffLabel(payoffTick(t), &label);
        endText(&label);
        putTickLabel(y, text);
    }
}

void putGapAxis() {
    char text[kLabelCapacity];
    for (int e = picture.gapLowDecade; e <= picture.gapHighDecade; ++e) {
        const double y = yOfGap(tenToThe(e));
        if (e > picture.gapLowDecade && e < picture.gapHighDecade) putHorizontalRule(y, "#e4e4e4");
        if (!gapLabelShown(e)) continue;
        TextBuffer label = boundedText(text, kLabelCapacity);
        gapLabel(e, &label);
        endText(&label);
        putTickLabel(y, text);
    }
}

void putFrame(int top, int height) {
    putFormatted(
        "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"#000\"/>\n",
        picture.plotLeft, top, kPlotWidth, height);
}

// The name of an axis, turned to run up its side.
void putSideLabel(int top, int height, const char* label) {
    const int y = top + height / 2;
    putFormatted(
        "<text x=\"%d\" y=\"%d\" text-anchor=\"middle\" transform=\"rotate(-90 %d "
        "%d)\">%s</text>\n",
        kSideLabelX, y, kSideLabelX, y, label);
}

void putLegendEntry(int row, int top, const LineLook& look, const char* label) {
    const int y = top + 14 + row * 22;
    putFormatted("<path d=\"M%d %dh36\"", legendLeft(), y);
    putLineAttributes(look);
    putText("/>\n");
    putFormatted("<text x=\"%d\" y=\"%d\">", legendLeft() + 44, y + 4);
    putText(label);
    putText("</text>\n");
}

void putLegends(const char* valueText) {
    const LineLook* upper[] = {&kUpperLook, &kLowerLook, &kMidpointLook, &kMeanLook, &kBestLook};
    int row = 0;
    for (const LineLook* look : upper) {
        putLegendEntry(row++, kUpperTop, *look, look->legend);
    }
    const int y = kUpperTop + 14 + row * 22;
    putFormatted("<path d=\"M%d %dh36\"", legendLeft(), y);
    putLineAttributes(kValueLook);
    putFormatted("/>\n<text x=\"%d\" y=\"%d\">value ", legendLeft() + 44, y + 4);
    putText(valueText);
    putText("</text>\n");
    const LineLook* lower[] = {&kGapLook, &kBestGapLook, &kReferenceLook};
    row = 0;
    for (const LineLook* look : lower) {
        putLegendEntry(row++, kLowerTop, *look, look->legend);
    }
}

// "Alice against Bob: a 3 × 3 game" and the run: how many iterations, and
// how player 1 opened.
void putTitle() {
    putFormatted("<text x=\"%d\" y=\"30\" font-size=\"19\" font-weight=\"bold\">", picture.plotLeft);
    putIsolatedXml(game.playerOneName);
    putText(" against ");
    putIsolatedXml(game.playerTwoName);
    putFormatted(": a %d &#215; %d game</text>\n", game.rowCount, game.columnCount);
    putFormatted("<text x=\"%d\" y=\"54\" font-size=\"14\">", picture.plotLeft);
    putGrouped(game.iterationCount);
    putText(game.iterationCount == 1 ? " iteration" : " iterations");
    putText(" of alternating fictitious play, ");
    putIsolatedXml(game.playerOneName);
    putFormatted(" opening with strategy %d", game.startStrategy + 1);
    putText(game.startChosen ? " (chosen)" : " (the row of the largest entry)");
    putText("</text>\n");
    if (reportHead.authorCount == 0 && reportHead.date[0] == '\0') return;
    putFormatted("<text x=\"%d\" y=\"%d\" font-size=\"13\" fill=\"#333\">", picture.plotLeft,
                 kHeadY);
    for (int a = 0; a < reportHead.authorCount; ++a) {
        if (a > 0) putText(" &#183; ");
        putIsolatedXml(reportHead.authors[a]);
    }
    if (reportHead.authorCount > 0 && reportHead.date[0] != '\0') putText(" &#183; ");
    putText(reportHead.date);
    putText("</text>\n");
}


// The exact value as "10/3 = 3.333333", a whole number as "3", and its
// decimals alone when the fraction is too long for the legend.
void formatValue(const Fraction& value, char* text, int capacity) {
    char fraction[kFractionTextCapacity];
    char plain[kFractionTextCapacity];
    char decimals[kFractionTextCapacity + kFractionTextCapacity / 3];
    const int fractionLength = formatFraction(value, fraction, sizeof fraction);
    formatFractionDecimals(value, 6, plain, sizeof plain);
    groupDigits(plain, decimals, sizeof decimals);
    TextBuffer out = boundedText(text, capacity);
    bool whole = true;
    for (const char* c = fraction; *c != '\0'; ++c) whole = whole && *c != '/';
    if (whole || fractionLength <= 9) appendText(&out, fraction);
    if (!whole) {
        if (fractionLength <= 9) appendText(&out, " = ");
        appendText(&out, decimals);
    }
    endText(&out);
}

}  // namespace

void putSvgPicture() {
    char valueText[64];
    const ExactSolution& solution = solutionOfGame();
    picture.value = fractionToDouble(solution.value);
    formatValue(solution.value, valueText, sizeof valueText);
    picture.n = game.iterationCount;
    picture.logarithmic = picture.n > kMaxIterations;
    picture.reduced = columnsAreReduced(picture.n, kPlotWidth);
    clearColumns();
    gatherRun();
    fitPayoffAxis();
    fitGapAxis();
    fitPlotLeft();

    putFormatted(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%d\" "
        "height=\"%d\" viewBox=\"0 0 %d %d\">\n",
        picture.canvasWidth, kCanvasHeight, picture.canvasWidth, kCanvasHeight);
    putText("<title>Fictitious play: ");
    putIsolatedXml(game.playerOneName);
    putText(" against ");
    putIsolatedXml(game.playerTwoName);
    putText("</title>\n");
    // The font on a group rather than on the <svg> element, where a page's
    // HTML validator takes it for an attribute HTML does not have.
    putText("<g font-family=\"sans-serif\" font-size=\"13\">\n");
    putFormatted("<rect width=\"%d\" height=\"%d\" fill=\"#fff\"/>\n", picture.canvasWidth,
                 kCanvasHeight);
    putTitle();
    putPayoffAxis();
    putGapAxis();
    putKAxis();
    putFrame(kUpperTop, kUpperHeight);
    putFrame(kLowerTop, kLowerHeight);
    putSideLabel(kUpperTop, kUpperHeight, "payoff to player 1");
    putSideLabel(kLowerTop, kLowerHeight, "gap (logarithmic)");
    putFormatted("<text x=\"%d\" y=\"%d\" text-anchor=\"middle\">iteration k%s</text>\n",
                 picture.plotLeft + kPlotWidth / 2, kCanvasHeight - 12,
                 picture.logarithmic ? " (logarithmic)" : "");
    putLegends(valueText);

    // The lines, the most telling ones last so that they lie on top.
    putText("<g fill=\"none\" stroke-linejoin=\"round\">\n");
    putGatheredLine(kMidpoint, kMidpointLook, false);
    putGatheredLine(kLower, kLowerLook, false);
    putGatheredLine(kUpper, kUpperLook, false);
    putBestBounds();
    putMeanPriceLine();
    putValueLine(valueText);
    putReferenceLine();
    putGatheredLine(kGap, kGapLook, true);
    putGatheredLine(kBestGap, kBestGapLook, true);
    putText("</g>\n</g>\n</svg>\n");
}

void writeSvgPicture() {
    putText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    putSvgPicture();
}
