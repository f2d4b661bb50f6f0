// The viewer's icon, served as the site's favicon.
#pragma once

#include <string_view>

std::string_view favicon_bytes();
