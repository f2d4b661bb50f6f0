// The HTTP component that posts the submission's form.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/reason.h"
#include "submit/form_fields.h"

// A whole answer with a 2xx status: its headers (names in lower case); its
// body is read to its end and dropped.
struct http_reply {
    int status = 0;
    std::vector<std::pair<std::string, std::string>> headers;

    // The value of the first header of that name, or empty.
    std::string header(std::string_view name) const;
};

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
    // its body as it comes. The answer when it arrived whole with a 2xx
    // status; otherwise why not: any transport failure, an answer that is
    // cut short or that does not end before the deadline, and any other
    // status (whose body is not read).
    result<http_reply> post(const std::string& url,
                            const std::vector<std::pair<std::string, std::string>>& fields);

    // The same with a body of the given type, as it is.
    result<http_reply> post_body(const std::string& url, const std::string& content_type,
                                 const std::string& body);

private:
    http_reply exchange(const std::string& url, const std::string& content_type, const std::string& body);

    // host -> cookie name -> value, from the Set-Cookie headers of answers
    std::map<std::string, std::map<std::string, std::string>> cookies_;
    enum class winsock_state { not_asked, started, failed };
    winsock_state winsock_ = winsock_state::not_asked;
};

inline constexpr char http_user_agent[] = "Mozilla/3.0 (compatible; Indy Library)";
inline constexpr char http_accept[] = "text/html, */*";
