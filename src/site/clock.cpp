// The time now, in UTC, as ISO 8601 text.
#include "site/clock.h"

#include <ctime>

std::string utc_now_text() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}
