// The few pieces of SVG both pictures put the same way: coordinates to a
// tenth of a pixel, a text element's start, and the <svg> element itself.
#pragma once

// A coordinate to a tenth of a pixel.
void putCoordinate(double value);

// The start of a <text> element at (x, y), anchored "start", "middle" or
// "end"; the caller puts its content and the end tag.
void putTextAt(double x, double y, const char* anchor);

// The opening <svg> element of a picture `width` by `height` pixels, its
// viewBox the same.
void putSvgStart(int width, int height);
