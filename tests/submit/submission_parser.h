// The receiving side's view of a submission text: a header, then cards, each
// with a DirectX group and maybe an OpenGL group of page blocks of rows.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace submission {

// One line of a page block: a blank row, or a name and a value.
struct row {
    bool blank = false;
    std::string name;
    std::string value;
    bool operator==(const row& other) const = default;
};

// Readable in test failures.
inline void PrintTo(const row& line, std::ostream* out) {
    *out << (line.blank ? std::string("<blank>") : "\"" + line.name + "\" = \"" + line.value + "\"");
}

struct page {
    std::string id;  // "dx_summary", ...
    std::vector<row> rows;
};

struct card {
    std::vector<page> directx;
    std::optional<std::vector<page>> opengl;
};

struct document {
    std::string header;
    std::vector<card> cards;
};

// Parses text; on a malformed text, error says what and where, and the
// result holds what came before.
inline document parse(const std::string& text, std::string& error) {
    document doc;
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            error = "the text does not end with CR LF";
            return doc;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (lines.empty() || lines[0] != "%2.00%") {
        error = "no %2.00% header";
        return doc;
    }
    doc.header = lines[0];
    std::vector<page>* group = nullptr;
    page* current = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string where = " at line " + std::to_string(i + 1);
        if (line == "|card|") {
            doc.cards.emplace_back();
            group = nullptr;
            current = nullptr;
        } else if (line == "@directx@" || line == "@opengl@") {
            if (doc.cards.empty()) {
                error = "group outside a card" + where;
                return doc;
            }
            card& owner = doc.cards.back();
            if (line == "@directx@") {
                group = &owner.directx;
            } else {
                owner.opengl.emplace();
                group = &*owner.opengl;
            }
            current = nullptr;
        } else if (line.empty() && i + 1 < lines.size() && lines[i + 1].size() > 2 &&
                   lines[i + 1].front() == '!' && lines[i + 1].back() == '!') {
            // The empty line before a marker belongs to the block.
            if (group == nullptr) {
                error = "page outside a group" + where;
                return doc;
            }
            group->push_back({lines[i + 1].substr(1, lines[i + 1].size() - 2), {}});
            current = &group->back();
            ++i;
        } else if (current == nullptr) {
            error = "row outside a page" + where;
            return doc;
        } else if (line.empty()) {
            current->rows.push_back({true, "", ""});
        } else {
            const size_t tab = line.find('\t');
            if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos) {
                error = "a row without exactly one TAB" + where;
                return doc;
            }
            current->rows.push_back({false, line.substr(0, tab), line.substr(tab + 1)});
        }
    }
    return doc;
}

}  // namespace submission
