// The picture of a run (-o FILE.svg): the estimates and the bounds against
// the iterations, and the gap between the bounds on logarithmic axes.
#pragma once

// Puts the whole standalone SVG file of the run in `game`.
void writeSvgPicture();
