#include "output/report_head.h"

ReportHead reportHead;
