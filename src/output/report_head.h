// The head of the report to hand in: who hands it in and the day of the
// run, shown at the top of the page (-o FILE.html) and in the picture's
// subtitle.
#pragma once

constexpr int kMaxAuthors = 4;        // --author given at most this often
constexpr int kMaxAuthorLength = 40;  // bytes of one --author
constexpr int kDateCapacity = 11;     // "2026-12-09" and its terminating zero

struct ReportHead {
    const char* authors[kMaxAuthors];  // the texts of --author, in the order given
    int authorCount;                   // how many there are
    char date[kDateCapacity];          // the day of the run, "YYYY-MM-DD"; empty when unknown
};

// Empty at start (static storage): no author, no date.
extern ReportHead reportHead;
