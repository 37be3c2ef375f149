// Placeholder while the picture is drawn: an empty canvas.
#include "output/svg_picture.h"

#include "output/output_text.h"

void putSvgPicture() {
    putText(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"10\" height=\"10\" "
        "viewBox=\"0 0 10 10\"></svg>\n");
}

void writeSvgPicture() {
    putText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    putSvgPicture();
}
