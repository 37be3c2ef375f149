// The picture of a run. The game is played again from the start with
// playIteration, once, and every line's values are gathered per pixel
// column as they come (see picture_columns.h); the axes are then fitted to
// what was gathered (svg_frame.cpp) and everything is put out in one go.
// The upper panel shows the estimates in the game as entered, the lower
// one the gap between the bounds on a logarithmic scale.
#include "output/svg_picture.h"

#include <cstdint>

#include "game/exact_solution.h"
#include "game/fraction.h"
#include "game/game_record.h"
#include "game/iteration.h"
#include "game/mean_price.h"
#include "output/output_text.h"
#include "output/picture_columns.h"
#include "output/picture_math.h"
#include "output/svg_layout.h"
#include "output/svg_text.h"
#include "text/fixed_point.h"
#include "text/fraction_text.h"
#include "text/text_buffer.h"
#include "text/text_format.h"
#include "text/translation.h"

// clang-format off
const LineLook kUpperLook =    {"#D55E00", "1.6", nullptr,     false, markedText("V^, the upper estimate max A / k"),
                                markedText("V^ upper estimate")};
const LineLook kLowerLook =    {"#0072B2", "1.6", "7 3",       false, markedText("V_, the lower estimate min B / k"),
                                markedText("V_ lower estimate")};
const LineLook kMidpointLook = {"#E69F00", "1.6", "7 2 2 2",   false, markedText("V*, the midpoint of the estimates"),
                                markedText("V* their midpoint")};
const LineLook kMeanLook =     {"#009E73", "2.6", nullptr,     false, markedText("mean price so far (average of V*)"),
                                markedText("mean price so far")};
const LineLook kBestLook =     {"#CC79A7", "2.2", "3 2",       false, markedText("best bounds so far (largest V_, smallest V^)"),
                                markedText("best bounds so far")};
const LineLook kValueLook =    {"#000000", "1.6", "10 5",      false, markedText("value of the game"), nullptr};
const LineLook kGapLook =      {"#D55E00", "1.6", nullptr,     false, markedText("gap V^ - V_"),
                                markedText("gap V^ &#8722; V_")};
const LineLook kBestGapLook =  {"#CC79A7", "2.2", "3 2",       false, markedText("gap between the best bounds"),
                                markedText("gap of the best bounds")};
const LineLook kReferenceLook = {"#000000", "1.8", "0.1 4.5",  true,  markedText("reference line falling like 1 / sqrt(k)"),
                                markedText("falling like 1/&#8730;k")};
// clang-format on

Picture picture;

namespace {

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
    putText(tr(look.title));
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
    char price[64];
    formatFixed(static_cast<double>(meanPrice()), 6, price, sizeof price);
    putText("\"><title>");
    putFormatted(tr("%s, at the end %s"), tr(kMeanLook.title), price);
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
    putText("\"><title>");
    putFormatted(tr("value of the game %s"), valueText);
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
    fitAxes();

    putSvgStart(picture.canvasWidth, kCanvasHeight);
    putText("<title>");
    putFormatted(tr("Fictitious play: %s against %s"), isolatedName(game.playerOneName).text,
                 isolatedName(game.playerTwoName).text);
    putText("</title>\n");
    // The font on a group rather than on the <svg> element, where a page's
    // HTML validator takes it for an attribute HTML does not have.
    putText("<g font-family=\"sans-serif\" font-size=\"13\">\n");
    putFormatted("<rect width=\"%d\" height=\"%d\" fill=\"#fff\"/>\n", picture.canvasWidth,
                 kCanvasHeight);
    putFrameAndAxes(valueText);

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
