#include "output/svg_text.h"

#include "output/output_text.h"
#include "output/picture_math.h"

void putCoordinate(double value) { putFixed(roundedToNearest(value * 10) / 10, 1); }

void putTextAt(double x, double y, const char* anchor) {
    putText("<text x=\"");
    putCoordinate(x);
    putText("\" y=\"");
    putCoordinate(y);
    putFormatted("\" text-anchor=\"%s\">", anchor);
}

void putSvgStart(int width, int height) {
    putFormatted(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%d\" "
        "height=\"%d\" viewBox=\"0 0 %d %d\">\n",
        width, height, width, height);
}
