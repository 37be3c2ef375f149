// The translations, compiled from po/*.po by tools/po_catalog.py: the
// English texts in byte order, each with its translations. Generated:
// edit the .po files, then run `make po-catalog`.
#pragma once

#include <cstdint>

struct CatalogEntry {
    const char* english;       // the text as the code writes it (msgid)
    const char* englishMany;   // its plural as the code writes it, or nullptr
    const char* russian[3];    // the forms for 1, 2-4 and 5 or more; one form when not plural
    const char* ukrainian[3];  // likewise
};

extern const CatalogEntry kCatalog[];
extern const int32_t kCatalogSize;
