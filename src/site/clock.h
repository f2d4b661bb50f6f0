// The time as the site writes it: in received reports and its log.
#pragma once

#include <string>

// The time now, in UTC: "2026-12-09T13:33:45Z".
std::string utc_now_text();
