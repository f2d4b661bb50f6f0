// The submission text: the whole report in the line format the product's
// site reads.
#pragma once

#include <string>

#include "report/document.h"

// "%2.00%", then per adapter "|card|", "@directx@" and its DirectX pages,
// and "@opengl@" and its OpenGL pages where its OpenGL record was read. Each
// page is "!marker!" and its rows as written, "name TAB value" on one line
// (a TAB, CR or LF inside a text becomes a blank), a blank row an empty
// line; lines end with "\r\n". The pages go in the order the site has always
// received them, and only those it knows. The text is in the system's code
// page, as the site reads it.
std::string submission_text(const report_document& document);
