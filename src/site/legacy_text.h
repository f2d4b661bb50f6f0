// The legacy submission as the viewer posts it to /submitter.php: the form's
// fields, and the submission text read into a report of its DirectX and
// OpenGL pages.
#pragma once

#include <string>
#include <string_view>

#include "base/reason.h"
#include "report/document.h"

// The two fields of the legacy form, as they came.
struct legacy_form {
    std::string text;  // "textlist", %XX decoded: the submission's bytes, in the viewer's code page
    std::string id;    // "id": decimal digits
};

// Reads the form's body. The viewer leaves "&", "=" and "+" raw inside the
// text, so a standard form decoder would cut it: the body must start with
// "textlist=", the identifier is taken from the end ("&id=" and digits
// alone), and only %XX is decoded, never "+". A malformed %XX, or a body
// that is not this form, is refused.
result<legacy_form> read_legacy_form(std::string_view body);

// Windows-1252, the code page of the viewers that post, to UTF-8; the five
// bytes the code page leaves undefined become U+FFFD.
std::string utf8_of_windows_1252(std::string_view bytes);

// Reads a submission text strictly: "%2.00%", then per adapter "|card|",
// "@directx@" and its pages, and "@opengl@" and its pages; each page an
// empty line, "!marker!" of a page the submission carries, and its rows,
// "name TAB value" (a blank row an empty line). Lines end with CR LF or LF.
// The rows keep their names and values (in UTF-8) and get the kind their
// text shows; descriptions are not in the text. Refused, with one sentence:
// no header, no card, a group or page marker out of place or unknown, a
// page twice in one group.
result<report_document> read_legacy_text(std::string_view bytes);

// A legacy report's vendor, device, sub-system and revision IDs as every
// other report shows them, in hexadecimal ("NVIDIA Corporation (0x10DE)",
// "0x06CD"); the decimal text the form carried stays as the rows' wire value.
void show_legacy_ids_in_hex(report_document& document);
