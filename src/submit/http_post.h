// The form post of the submission: field encoding, the identifier, and the
// HTTP component that posts them.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Percent-encodes a form value byte by byte: bytes 0x00 to 0x20 and 0x81 to
// 0xFF, and "#%*<>[]&=+", become "%" and two upper-case hex digits; every
// other byte stays as it is.
std::string encode_form_value(std::string_view value);

// "name=value&name=value" in the given order, values encoded, names not; a
// field with an empty value is left out.
std::string form_body(const std::vector<std::pair<std::string, std::string>>& fields);

// r * 4096 + (r XOR 0x6B9) for r from 0 to 4095: the two twelve-bit halves
// of every identifier XOR to 0x6B9.
uint32_t submission_identifier(uint32_t r);

// A fresh identifier, from a generator seeded from the system clock.
uint32_t draw_submission_identifier();

// The HTTP component: one plain-HTTP form post at a time, no proxy, no
// authentication, the fixed Accept and User-Agent headers, and the server's
// cookies kept between posts. It speaks HTTP/1.1 over Winsock itself, so that
// it sees the framing of the answer: an answer counts only when it arrived
// whole.
class http_component {
public:
    http_component();
    ~http_component();
    http_component(const http_component&) = delete;
    http_component& operator=(const http_component&) = delete;

    // The longest a post may take, from its start to the last byte of the
    // answer, whatever the server does; each phase also has a limit of its
    // own (see http_post.cpp).
    std::chrono::milliseconds deadline = std::chrono::seconds(60);

    // Called about ten times a second while a post waits on the network, as
    // long as it waits: the window repaints itself here.
    std::function<void()> waiting;

    // Posts the url-encoded fields to url and reads the answer, discarding
    // its body as it comes. Raises for any transport failure, an answer that
    // is cut short or that does not end before the deadline, and any status
    // other than 2xx; the body of such a status is not read.
    void post(const std::string& url, const std::vector<std::pair<std::string, std::string>>& fields);

private:
    // host -> cookie name -> value, from the Set-Cookie headers of answers
    std::map<std::string, std::map<std::string, std::string>> cookies_;
    bool winsock_ = false;
};

inline constexpr char http_user_agent[] = "Mozilla/3.0 (compatible; Indy Library)";
inline constexpr char http_accept[] = "text/html, */*";
