// The site's edge: failures said truly and logged, and what every answer carries.
#include "site/answer.h"

#include <cstdlib>
#include <random>

#include "site/database.h"
#include "site/html.h"
#include "site/clock.h"
#include "site/compression.h"
#include "site/digest.h"

namespace {

constexpr char text_type[] = "text/plain; charset=utf-8";

// Whether Accept-Encoding takes gzip: named, or "*", with a weight above 0.
bool takes_gzip(const std::string& accepted) {
    size_t start = 0;
    while (start < accepted.size()) {
        size_t end = accepted.find(',', start);
        end = end == std::string::npos ? accepted.size() : end;
        std::string coding = accepted.substr(start, end - start);
        start = end + 1;
        std::string weight;
        if (const size_t semicolon = coding.find(';'); semicolon != std::string::npos) {
            weight = coding.substr(semicolon + 1);
            coding.resize(semicolon);
        }
        const auto trim = [](std::string& text) {
            text.erase(0, text.find_first_not_of(" \t"));
            text.erase(text.find_last_not_of(" \t") + 1);
        };
        trim(coding);
        trim(weight);
        if (same_name(coding, "gzip") || coding == "*") {
            const size_t q = weight.find('=');
            return q == std::string::npos || std::strtod(weight.c_str() + q + 1, nullptr) > 0;
        }
    }
    return false;
}

bool compressible(const std::string& type) {
    return type.starts_with("text/") || type.starts_with("application/json");
}

// A browser's error: the sentence on a page of the site, with its navigation.
void as_page(site_response& response) {
    std::string sentence = response.body;
    while (!sentence.empty() && sentence.back() == '\n') {
        sentence.pop_back();
    }
    const int status = response.status;
    const std::string title = status == 404   ? "Not found"
                              : status == 405 ? "Not taken here"
                              : status == 410 ? "Removed"
                              : status == 413 ? "Too large"
                              : status == 429 ? "Too many requests"
                              : status == 500 ? "The site failed"
                              : status == 503 ? "Not available now"
                                              : "Not understood";
    response.set_content(html_page({title, "", sentence, ""},
                                   "<h1>" + html_text(title) + "</h1>\n<p>" + html_text(sentence) + "</p>\n"),
                         "text/html; charset=utf-8");
}

// Whether the request's If-None-Match names the tag, or "*".
bool holds(const site_request& request, const std::string& tag) {
    const std::string held = request.get_header_value("If-None-Match");
    if (held.find('*') != std::string::npos) {
        return true;
    }
    // Weak comparison: whether W/ stands before either tag does not matter.
    return held.find(tag.substr(2)) != std::string::npos;
}

// A cause for the log: one line, its control characters as "?".
std::string log_sentence(std::string text) {
    for (char& c : text) {
        c = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    }
    return text;
}

}  // namespace

void answer_refusal(site_response& response, int status, const std::string& sentence) {
    response.status = status;
    response.set_content(sentence + "\n", text_type);
}

void answer_failure(std::exception_ptr error, const site_request& request, site_response& response,
                    std::FILE* log) {
    reason why;
    try {
        std::rethrow_exception(error);
    } catch (const failure& raised) {
        why = raised.why();
    } catch (const std::exception& raised) {
        why = reason{"Site", -1, {}, raised.what(), {}};
    } catch (...) {
        why = reason{"Site", -1, {}, "an exception of no known type", {}};
    }
    response.headers.clear();
    std::string incident;
    if (why.part == database_away) {
        answer_refusal(response, 503, "The site's database does not answer; try again in a few seconds.");
        response.set_header("Retry-After", "5");
    } else if (why.part == database_full) {
        answer_refusal(response, 503, "The site's disk is full; nothing can be kept now. Try again later.");
        response.set_header("Retry-After", "60");
    } else {
        static thread_local std::mt19937 random{std::random_device{}()};
        incident = std::to_string(100000000 + random() % 900000000);
        answer_refusal(response, 500, "The site failed on this request; it is logged as " + incident + ".");
    }
    if (log != nullptr) {
        std::fprintf(log, "%s %s %s %s: %d%s%s: %s\n", utc_now_text().c_str(),
                     loggable(request.remote_addr).c_str(), loggable(request.method).c_str(),
                     loggable(request.path).c_str(), response.status, incident.empty() ? "" : " incident ",
                     incident.c_str(), log_sentence(why.text()).c_str());
        std::fflush(log);
    }
}

void finish_answer(const site_request& request, site_response& response) {
    if (response.status >= 400 && response.content_type.starts_with("text/plain") && request.wants_html()) {
        as_page(response);
    }
    // No page runs script or loads anything from elsewhere, whatever a
    // report's texts hold, and no answer is read as another type.
    response.set_header("Content-Security-Policy",
                        "default-src 'none'; style-src 'self'; img-src 'self'; form-action 'self'; "
                        "base-uri 'none'; frame-ancestors 'none'");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("Referrer-Policy", "same-origin");
    const bool got = request.method == "GET" || request.method == "HEAD";
    if (got && response.status == 200) {
        if (response.get_header_value("Cache-Control").empty()) {
            response.set_header("Cache-Control", "no-cache");
        }
        const std::string tag = "W/\"" + sha256_hex(response.body).substr(0, 32) + "\"";
        response.set_header("ETag", tag);
        if (holds(request, tag)) {
            response.status = 304;
            response.body.clear();
            return;
        }
    } else if (response.status >= 400) {
        response.set_header("Cache-Control", "no-store");
    }
    if (compressible(response.content_type)) {
        response.set_header("Vary", "Accept-Encoding");
        if (response.body.size() >= 1024 && takes_gzip(request.get_header_value("Accept-Encoding"))) {
            std::string packed = gzipped(response.body);
            if (!packed.empty()) {
                response.body = std::move(packed);
                response.set_header("Content-Encoding", "gzip");
            }
        }
    }
}

const char* status_phrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 201:
            return "Created";
        case 304:
            return "Not Modified";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 409:
            return "Conflict";
        case 410:
            return "Gone";
        case 411:
            return "Length Required";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Not Served";
    }
}

std::string loggable(std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text.substr(0, 300)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '%') {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out.empty() ? "-" : out;
}
