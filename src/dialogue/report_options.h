// What the report shows beyond its usual answer, as the command line asks.
#pragma once

struct ReportOptions {
    bool exact;  // the exact solution after the table (-x, --exact)
    bool wide;   // every strategy of both sides and both estimates in the table (-w, --wide)
    bool steps = false;                  // the solution step by step after the table (-s, --steps)
    const char* accuracyText = nullptr;  // the accuracy played to, as typed (-e); null for none
    bool accuracyReached = true;         // with accuracyText: the last iteration was within it
};
