// HTML escaping, names shortened and isolated, the page frame and the stylesheet.
#include "site/html.h"

std::string html_text(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string shortened(std::string_view text, size_t most) {
    size_t characters = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        // A character starts at each byte that is no UTF-8 continuation.
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && ++characters > most) {
            return std::string(text.substr(0, at)) + "\xE2\x80\xA6";
        }
    }
    return std::string(text);
}

std::string html_name(std::string_view text, size_t most) {
    return "<bdi>" + html_text(shortened(text, most)) + "</bdi>";
}

std::string url_value(std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~' || c == ':') {
            out += c;
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
    }
    return out;
}

std::string query_of(const std::vector<std::pair<std::string, std::string>>& parameters) {
    std::string query;
    for (const auto& [name, value] : parameters) {
        if (!value.empty()) {
            query += (query.empty() ? "?" : "&amp;") + name + "=" + url_value(value);
        }
    }
    return query;
}

std::string html_page(const page_frame& frame, std::string_view main) {
    const auto entry = [&frame](std::string_view href, std::string_view name) {
        return std::string("<li><a href=\"") + std::string(href) + "\"" +
               (name == frame.current ? " aria-current=\"page\"" : "") + ">" + std::string(name) +
               "</a></li>";
    };
    const std::string description = frame.description.empty()
                                        ? "What graphics adapters and their drivers offer through Direct3D, "
                                          "OpenGL and Vulkan, from reports "
                                          "sent by Cavio."
                                        : frame.description;
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        html_text(frame.title) + " \xE2\x80\x94 Cavio</title>\n<meta name=\"description\" content=\"" +
        html_text(shortened(description, 300)) +
        "\">\n<link rel=\"icon\" href=\"/favicon.ico\">\n<link rel=\"stylesheet\" href=\"/style.css\">\n"
        "</head>\n<body>\n<a class=\"skip\" href=\"#main\">Skip to the content</a>\n"
        "<header class=\"banner\"><span class=\"brand\">Cavio</span>\n<nav aria-label=\"Site\"><ul>" +
        entry("/", "Devices") + entry("/statistics", "Statistics") + entry("/listing", "Listings") +
        entry("/coverage", "Coverage") + entry("/compare", "Compare") +
        "</ul></nav></header>\n<main id=\"main\">\n";
    page += main;
    page += "</main>\n<footer><p>Reports sent by Cavio, the graphics adapter capabilities viewer.";
    if (!frame.json.empty()) {
        page += " <a href=\"" + frame.json + "\">The same in JSON</a>.";
    }
    page += "</p></footer>\n</body>\n</html>\n";
    return page;
}

const std::string& site_stylesheet() {
    // The viewer's colours: the face, white rows, grey section bands, green
    // for numbers and "yes", red for zeros and "no", amber for a difference.
    static const std::string sheet = R"(:root {
  --face: #f0f0f0; --text: #000; --window: #fff; --fixed: #c0c0c0; --fixed-text: #000;
  --number: #006b00; --zero: #c00000; --differs: #ffe28c; --link: #0060c0; --focus: #0060c0;
  --tab: #e4e4e4; --chosen: #fff; --border: #a0a0a0; --muted: #505050;
  color-scheme: light dark;
}
@media (prefers-color-scheme: dark) {
  :root {
    --face: #2b2b2b; --text: #ebebeb; --window: #1e1e1e; --fixed: #404040; --fixed-text: #f0f0f0;
    --number: #78dc78; --zero: #ff9e96; --differs: #4c3a00; --link: #82b9ff; --focus: #82b9ff;
    --tab: #3a3a3a; --chosen: #1e1e1e; --border: #606060; --muted: #c0c0c0;
  }
}
* { box-sizing: border-box; }
body { margin: 0; background: var(--face); color: var(--text); font: 14px/1.4 Tahoma, Verdana, "DejaVu Sans", sans-serif; }
a { color: var(--link); }
a:focus-visible, button:focus-visible, input:focus-visible, select:focus-visible, summary:focus-visible {
  outline: 3px solid var(--focus); outline-offset: 2px; }
.skip { position: absolute; left: -999px; } .skip:focus { left: 8px; top: 8px; background: var(--window); padding: 4px; }
.banner { display: flex; flex-wrap: wrap; align-items: center; gap: 16px; padding: 8px 16px; background: var(--fixed); color: var(--fixed-text); }
.brand { font-weight: bold; font-size: 18px; }
.banner ul { display: flex; flex-wrap: wrap; gap: 4px 16px; list-style: none; margin: 0; padding: 0; }
.banner a { color: var(--fixed-text); font-weight: bold; }
.banner a[aria-current] { text-decoration: none; border-bottom: 3px solid var(--fixed-text); }
main { padding: 8px 16px 24px; max-width: 1400px; }
h1 { font-size: 20px; margin: 12px 0; } h2 { font-size: 16px; margin: 16px 0 8px; }
footer { padding: 8px 16px; color: var(--muted); font-size: 12px; }
form.filters { display: flex; flex-wrap: wrap; gap: 8px 16px; align-items: end; margin: 8px 0; }
form.filters label { display: flex; flex-direction: column; font-size: 12px; }
form.filters label.check { flex-direction: row; align-items: center; gap: 6px; font-size: 14px; }
input, select, button { font: inherit; color: var(--text); background: var(--window); border: 1px solid var(--border); padding: 3px 6px; }
button { background: var(--tab); cursor: pointer; }
.table-wrap { overflow-x: auto; }
table { border-collapse: collapse; background: var(--window); width: 100%; }
caption { text-align: left; font-weight: bold; padding: 4px 0; }
th, td { text-align: left; vertical-align: top; padding: 2px 8px; border-bottom: 1px solid var(--face); overflow-wrap: break-word; }
tbody th { font-weight: normal; }
td:nth-child(2) { min-width: 9ch; }
thead th { background: var(--fixed); color: var(--fixed-text); }
tr.section th { background: var(--fixed); color: var(--fixed-text); font-weight: bold; padding-top: 6px; }
td.yes, td.number { color: var(--number); }
td.no, td.zero { color: var(--zero); }
td.na { color: var(--muted); font-style: italic; }
tr.differs td, tr.differs th { background: var(--differs); }
tr.only td, tr.only th { background: var(--differs); font-style: italic; }
td.description { color: var(--muted); }
.tabs { display: flex; flex-wrap: wrap; gap: 2px; margin: 8px 0 0; padding: 0; list-style: none; }
.tabs a { display: block; padding: 4px 10px; background: var(--tab); color: var(--text); text-decoration: none; border: 1px solid var(--border); border-bottom: none; }
.tabs a[aria-current] { background: var(--chosen); font-weight: bold; }
.groups a { font-size: 15px; font-weight: bold; }
.facts { display: grid; grid-template-columns: max-content 1fr; gap: 2px 12px; margin: 8px 0; }
.facts dt { color: var(--muted); } .facts dd { margin: 0; }
.bar { display: inline-block; height: 10px; background: var(--number); vertical-align: middle; }
.paging ul { display: flex; flex-wrap: wrap; gap: 4px 12px; list-style: none; margin: 8px 0; padding: 0; }
.paging a[aria-current] { font-weight: bold; text-decoration: none; }
.tabs .aside { margin-left: auto; }
.tabs .aside a { background: none; border: none; text-decoration: underline; color: var(--link); }
ul.words, ul.pages { display: flex; flex-wrap: wrap; gap: 4px 16px; list-style: none; padding: 0; margin: 4px 0 8px; }
td.values small, td.share { color: var(--muted); }
td.values small { font-size: 12px; }
td.share { white-space: nowrap; }
meter { width: 80px; }
a.action { align-self: center; }
table.compared { table-layout: fixed; }
table.compared th:first-child { width: 24%; }
table.compared thead th { vertical-align: bottom; font-weight: normal; }
table.compared thead th a { color: var(--fixed-text); font-weight: bold; }
.driver { font-size: 12px; }
input.number { width: 7em; }
@media (max-width: 700px) {
  main { padding: 4px 8px; }
  .description, th.description { display: none; }
  tbody th, td { overflow-wrap: anywhere; }
  th, td { padding: 2px 4px; }
  meter { width: 40px; }
  td.share { white-space: normal; }
  table.listing .share { display: none; }
  table.listing, table.compact { font-size: 12px; }
  table.listing th, table.listing td, table.compact th, table.compact td { padding: 2px 3px; }
  table.listing tbody th { min-width: 11ch; }
  .tabs .aside { margin-left: 0; }
}
)";
    return sheet;
}
