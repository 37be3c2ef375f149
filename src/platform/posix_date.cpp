// The day of the run on POSIX systems. The C library's localtime reads the
// time zone with buffers from the heap, which the program never uses, so
// the local offset is read here from the time zone file itself (TZif, as
// tzfile(5) describes it) into a static buffer.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "platform/platform.h"
#include "text/text_buffer.h"

namespace {

// Larger than the time zone files of the tz database (a few kilobytes).
constexpr int kZoneFileCapacity = 1 << 16;
constexpr int kPathCapacity = 512;

// The time zone file as read.
struct ZoneFile {
    unsigned char bytes[kZoneFileCapacity];  // its first bytes
    int length;                              // how many were read
};

ZoneFile zone;

int64_t bigEndian(const unsigned char* at, int size) {
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) value = value << 8 | at[i];
    if (size == 4) return static_cast<int32_t>(static_cast<uint32_t>(value));
    return static_cast<int64_t>(value);
}

// The file TZ names (a path, or a name below the system's zone folder),
// or /etc/localtime when TZ is not set. False when there is none.
bool readZoneFile() {
    const char* name = getenv("TZ");
    char path[kPathCapacity];
    TextBuffer out = boundedText(path, kPathCapacity);
    if (name == nullptr || *name == '\0') {
        appendText(&out, "/etc/localtime");
    } else {
        if (*name == ':') ++name;
        if (*name != '/') appendText(&out, "/usr/share/zoneinfo/");
        appendText(&out, name);
    }
    endText(&out);
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    zone.length = 0;
    while (zone.length < kZoneFileCapacity) {
        const ssize_t got = read(file, zone.bytes + zone.length, kZoneFileCapacity - zone.length);
        if (got <= 0) break;
        zone.length += static_cast<int>(got);
    }
    close(file);
    return zone.length >= 44 && zone.bytes[0] == 'T' && zone.bytes[1] == 'Z' &&
           zone.bytes[2] == 'i' && zone.bytes[3] == 'f';
}

// The offset from UTC at `now` of the data block at `at`, whose times take
// `timeSize` bytes; *next is set to where the block ends. False when the
// block does not fit in what was read.
bool blockOffset(int at, int timeSize, int64_t now, int64_t* offset, int* next) {
    if (at + 44 > zone.length) return false;
    const unsigned char* head = zone.bytes + at + 20;
    const int64_t utCount = bigEndian(head, 4);
    const int64_t stdCount = bigEndian(head + 4, 4);
    const int64_t leapCount = bigEndian(head + 8, 4);
    const int64_t timeCount = bigEndian(head + 12, 4);
    const int64_t typeCount = bigEndian(head + 16, 4);
    const int64_t charCount = bigEndian(head + 20, 4);
    const int64_t times = at + 44;
    const int64_t indices = times + timeCount * timeSize;
    const int64_t types = indices + timeCount;
    const int64_t end =
        types + typeCount * 6 + charCount + leapCount * (timeSize + 4) + stdCount + utCount;
    if (typeCount < 1 || timeCount < 0 || end > zone.length) return false;
    int64_t type = 0;
    for (int64_t t = 0; t < timeCount; ++t) {
        if (bigEndian(zone.bytes + times + t * timeSize, timeSize) > now) break;
        type = zone.bytes[indices + t];
    }
    if (type >= typeCount) return false;
    *offset = bigEndian(zone.bytes + types + type * 6, 4);
    *next = static_cast<int>(end);
    return true;
}

// Seconds east of UTC at `now`: from the file's 64-bit data when it has
// them (version 2 on), else from its 32-bit data; 0 without a file.
int64_t localOffset(int64_t now) {
    if (!readZoneFile()) return 0;
    int64_t offset = 0;
    int next = 0;
    if (!blockOffset(0, 4, now, &offset, &next)) return 0;
    int64_t wide = 0;
    if (zone.bytes[4] >= '2' && blockOffset(next, 8, now, &wide, &next)) return wide;
    return offset;
}

// The date of a day counted from 1970-01-01 (Howard Hinnant's algorithm
// for the proleptic Gregorian calendar).
void dateOfDay(int64_t days, int* year, int* month, int* day) {
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    *day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    *month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    *year = static_cast<int>(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

int64_t floorDivide(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

}  // namespace

bool platformToday(int* year, int* month, int* day) {
    const char* fixed = getenv("SOURCE_DATE_EPOCH");
    if (fixed != nullptr && *fixed != '\0') {
        char* end = nullptr;
        const long long seconds = strtoll(fixed, &end, 10);
        if (*end == '\0' && seconds >= 0) {
            dateOfDay(floorDivide(seconds, 86400), year, month, day);
            return true;
        }
    }
    const time_t now = time(nullptr);
    if (now == static_cast<time_t>(-1)) return false;
    const int64_t local = static_cast<int64_t>(now) + localOffset(now);
    dateOfDay(floorDivide(local, 86400), year, month, day);
    return true;
}
