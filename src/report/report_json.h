// The whole report as one JSON document: for scripts, and as the saved
// report that the viewer and cavio-report open again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "base/reason.h"
#include "report/document.h"

// The saved-report format this program writes and reads.
inline constexpr int report_format = 1;
// A larger file is refused unread.
inline constexpr uintmax_t largest_report_file = 64ull << 20;

// {"format": 1, "program", "version", "adapters": [{"index", "description",
// "read": [group...], "directx": [page...], "opengl": [page...], "vulkan":
// [page...]}], "problems": [text...], "reasons": [{"part", "adapter", "call",
// "sentence", "status"}...]}, each page {"marker", "caption",
// "rows": [{"name", "value", "description", "kind"}...]}, a section row with
// "section": true too. A row whose submitted text differs from the shown one
// has "wire"; a page shown in another order than written, "written_order".
// "read" names the groups whose record was read. UTF-8, indented by two
// spaces, with a final line end.
std::string report_json(const report_document& document, const std::string& program,
                        const std::string& version);

// Reads a document that report_json wrote: the document, or a reason whose
// sentence names the file and says what is wrong with it. Strict: text that
// is not UTF-8 JSON, another format number, a missing field, a field of the
// wrong type, an unknown page or row kind, or more than largest_report_file
// bytes are refused; name is the file's name in the sentence. A file
// without "reasons" (an older one) has each problem's text as its sentence.
result<report_document> read_report_json(const std::string& text, const std::string& name);

// Reads the file at path (a UTF-8 path) as read_report_json does; a file that
// cannot be read, or is too large, is refused unread.
result<report_document> read_report_file(const std::string& path);

// One page as report_json writes it, on one line: for a store that keeps each
// distinct page once.
std::string page_json_text(const report_page& page);

// A page that page_json_text wrote, of a page of group, read as strictly as a
// saved report's.
result<report_page> read_page_json(const std::string& text, page_group group);

// "report.json": the file name of a UTF-8 path, for titles and sentences.
std::string report_file_name(const std::string& path);
