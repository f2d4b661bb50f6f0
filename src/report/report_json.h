// The whole report as one JSON document, for scripts: every page of every
// adapter, row by row, with the texts the window shows.
#pragma once

#include <string>

#include "report/document.h"

// {"program", "version", "adapters": [{"index", "description", "directx": [page...],
// "opengl": [page...], "vulkan": [page...]}]}, each page {"marker", "caption", "rows": [{"name", "value",
// "description"}...]}, a section row with "section": true. A group the
// capture could not read has no pages. UTF-8, indented by two spaces, with
// a final line end.
std::string report_json(const report_document& document, const std::string& program,
                        const std::string& version);
