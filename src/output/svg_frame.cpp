// The frame of the picture of a run: the axes fitted to the lines
// gathered, their ticks, grid and labels, the panels' frames, the legends
// and the title. A label of either value axis is measured before anything
// is drawn, so that the plot starts right of the widest one.
#include <cmath>
#include <cstdint>

#include "game/game_record.h"
#include "output/output_text.h"
#include "output/picture_columns.h"
#include "output/picture_math.h"
#include "output/report_head.h"
#include "output/svg_layout.h"
#include "output/svg_text.h"
#include "text/fixed_point.h"
#include "text/text_buffer.h"
#include "text/text_format.h"
#include "text/translation.h"

namespace {

// ---- Axes -------------------------------------------------------------

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
    const double step = niceTickStep(high - low);
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

// ---- Labels -----------------------------------------------------------

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
        auto step = static_cast<int32_t>(niceTickStep(last - 1));
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
    putText(tr(label));
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
    putFormatted("/>\n<text x=\"%d\" y=\"%d\">", legendLeft() + 44, y + 4);
    putFormatted(tr("value %s"), valueText);
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
    putFormatted("<text x=\"%d\" y=\"30\" font-size=\"19\" font-weight=\"bold\">",
                 picture.plotLeft);
    const HtmlName one = isolatedName(game.playerOneName);
    putFormatted(tr("%s against %s: a %d &#215; %d game"), one.text,
                 isolatedName(game.playerTwoName).text, game.rowCount, game.columnCount);
    putText("</text>\n");
    putFormatted("<text x=\"%d\" y=\"54\" font-size=\"14\">", picture.plotLeft);
    const int32_t n = game.iterationCount;
    putFormatted(game.startChosen
                     ? trPlural("%s iteration of alternating fictitious play, %s opening with "
                                "strategy %d (chosen)",
                                "%s iterations of alternating fictitious play, %s opening with "
                                "strategy %d (chosen)",
                                n)
                     : trPlural("%s iteration of alternating fictitious play, %s opening with "
                                "strategy %d (the row of the largest entry)",
                                "%s iterations of alternating fictitious play, %s opening with "
                                "strategy %d (the row of the largest entry)",
                                n),
                 groupedNumber(n).text, one.text, game.startStrategy + 1);
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

}  // namespace

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

// A coordinate to a tenth of a pixel.
void putLineAttributes(const LineLook& look) {
    putFormatted(" stroke=\"%s\" stroke-width=\"%s\"", look.colour, look.width);
    if (look.dashes != nullptr) putFormatted(" stroke-dasharray=\"%s\"", look.dashes);
    if (look.roundCaps) putText(" stroke-linecap=\"round\"");
}

void fitAxes() {
    fitPayoffAxis();
    fitGapAxis();
    fitPlotLeft();
}

void putFrameAndAxes(const char* valueText) {
    putTitle();
    putPayoffAxis();
    putGapAxis();
    putKAxis();
    putFrame(kUpperTop, kUpperHeight);
    putFrame(kLowerTop, kLowerHeight);
    putSideLabel(kUpperTop, kUpperHeight, tr("payoff to player 1"));
    putSideLabel(kLowerTop, kLowerHeight, tr("gap (logarithmic)"));
    putFormatted("<text x=\"%d\" y=\"%d\" text-anchor=\"middle\">%s</text>\n",
                 picture.plotLeft + kPlotWidth / 2, kCanvasHeight - 12,
                 picture.logarithmic ? tr("iteration k (logarithmic)") : tr("iteration k"));
    putLegends(valueText);
}
