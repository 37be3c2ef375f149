// What the report shows beyond its usual answer, as the command line asks.
#pragma once

struct ReportOptions {
    bool exact;  // the exact solution after the table (-x, --exact)
    bool wide;   // every strategy of both sides and both estimates in the table (-w, --wide)
};
