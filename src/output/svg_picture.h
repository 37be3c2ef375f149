// The picture of a run (-o FILE.svg): the estimates and the bounds against
// the iterations, and the gap between the bounds on logarithmic axes.
#pragma once

// Puts the picture of the run in `game` as one <svg> element, without an
// XML declaration, as a web page holds it inline.
void putSvgPicture();

// Puts the whole standalone SVG file: the declaration and the picture.
void writeSvgPicture();
