// The translations, compiled from po/*.po by tools/po_catalog.py: the
// English texts in byte order, each with its translations. Generated:
// edit the .po files, then run `make po-catalog`.
//
// Every text is an offset into one array of characters rather than a
// pointer: a table of pointers would be relocated, page by page, at every
// start of the program, in English too.
#pragma once

#include <cstdint>

constexpr int32_t kNoText = -1;  // an offset that names no text

struct CatalogEntry {
    int32_t english;       // the text as the code writes it (msgid)
    int32_t englishMany;   // its plural as the code writes it, or kNoText
    int32_t russian[3];    // the forms for 1, 2-4 and 5 or more; one form when not plural
    int32_t ukrainian[3];  // likewise
};

// On Linux the texts have a section of their own at the end of the
// program's read-only data, on a boundary of 64 KiB: the pages the kernel
// maps around each one a run touches then never include them, and an
// English run keeps the resident size it had before there were any.
#if defined(__linux__)
#define BR_CATALOG_PLACE alignas(65536) __attribute__((section("br_catalog")))
#else
#define BR_CATALOG_PLACE
#endif

extern const char kCatalogText[];  // every text, each ended by a zero
extern const CatalogEntry kCatalog[];
extern const int32_t kCatalogSize;

// The text at an offset of kCatalogText; nullptr for kNoText.
inline const char* catalogText(int32_t offset) {
    return offset == kNoText ? nullptr : kCatalogText + offset;
}
