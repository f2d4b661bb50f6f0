// The whole report as one JSON document, for scripts: every page of every
// adapter, row by row, with the texts the window's grids show.
#pragma once

#include <string>

#include "probe/d3d_common.h"
#include "probe/gl_probe.h"
#include "report/report.h"

// {"program", "version", "adapters": [{"index", "description", "directx": [page...],
// "opengl": [page...]}]}, each page {"marker", "caption", "rows": [{"name", "value",
// "description"}...]}, a section row with "section": true. An adapter without
// an OpenGL record has an empty "opengl". UTF-8, indented by two spaces, with
// a final line end. Leaves the pages filled with the last adapter's report.
std::string report_json(report& pages, const direct3d_probe& direct3d, const gl_probe* opengl,
                        const std::string& program, const std::string& version);

// Text in the system's code page, as the probes read it, in UTF-8.
std::string utf8_of(const std::string& text);
