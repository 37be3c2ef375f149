// The parts of the picture of a run (-o FILE.svg) and what they share:
// the canvas and its panels, the lines and how each is drawn, the record
// the picture is drawn from, and where a value lies on the canvas. The
// frame (svg_frame.cpp) fits the axes and draws them, the labels, the
// legend and the title; the picture (svg_picture.cpp) gathers the run and
// draws its lines over the frame.
#pragma once

#include <cstdint>

#include "output/picture_columns.h"

// The canvas and its panels, in pixels (a 4:3-ish slide). The plot starts
// where the widest label of its value axes leaves room, at least at
// kLeastPlotLeft; the canvas grows by as much to its right.
constexpr int kCanvasHeight = 732;
constexpr int kLeastPlotLeft = 72;
constexpr int kPlotWidth = 700;  // also the number of pixel columns a line keeps
constexpr int kHeadY = 76;       // the baseline of the authors and the date
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

extern const LineLook kUpperLook;
extern const LineLook kLowerLook;
extern const LineLook kMidpointLook;
extern const LineLook kMeanLook;
extern const LineLook kBestLook;
extern const LineLook kValueLook;
extern const LineLook kGapLook;
extern const LineLook kBestGapLook;
extern const LineLook kReferenceLook;

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

// The one picture being drawn (static storage).
extern Picture picture;

// Fits the panels to the lines gathered: the payoff axis' range and
// ticks, the gap axis' decades, and the plot's left edge and the canvas'
// width from the widest label and the head.
void fitAxes();

// Where iteration k, a column's line, a payoff and a gap lie on the canvas.
double xOfK(double k);
double xOfColumn(int32_t column);
double yOfPayoff(double value);
double yOfGap(double gap);

// The stroke of a line: colour, width and dashes.
void putLineAttributes(const LineLook& look);

// The title with the authors and the day, the axes with their ticks, grid
// and labels, the panels' frames, the axes' names and the legends (the
// value's entry naming `valueText`): everything but the lines.
void putFrameAndAxes(const char* valueText);
