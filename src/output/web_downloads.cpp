// What the web page offers for download: the program in a page keeps the
// files of -o in the page, which asks here which extensions there are.
// Built into the web program alone.
#include "output/output_formats.h"

// The extensions -o knows, as --help lists them ("a, b or c"): the page
// offers a download for each.
extern "C" __attribute__((export_name("output_extensions"))) const char* webOutputExtensions() {
    return outputExtensionList();
}
