// Pages as readable text, for the clipboard: a forum post or a bug report.
#pragma once

#include <string>

#include "report/document.h"

// "DirectX - Device", "OpenGL - Stacks".
std::string page_title(const page_info& page);

// The page's title, then its rows in columns: names and values padded to the
// page's widest, then the descriptions, below a header row of "DirectX name",
// "Value" and "Description". A Summary page has two columns and no header.
// A blank row is an empty line; lines end with "\r\n".
std::string page_text(const report_page& page);

// Every page of every group the adapter has, in tab order, with an empty line
// between pages.
std::string adapter_text(const adapter_report& adapter);

// The whole report as readable text: for each adapter a line "Adapter 1 of
// 2: NVIDIA GeForce GTX 470", an empty line and its pages, with an empty line
// between adapters. What the window's Copy report copies and cavio-report
// prints.
std::string document_text(const report_document& document);
