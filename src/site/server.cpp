#include "site/server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

#include "site/report_facts.h"

namespace {

// When the request started and whose it is, for its log line: a connection
// is served on one thread, from reading each request to logging it (also one
// that could not be read).
thread_local std::chrono::steady_clock::time_point request_start;
thread_local std::string request_peer;

// A text for the log: its control characters as "?", at most 200 bytes.
std::string loggable(const std::string& text) {
    std::string out = text.substr(0, 200);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return out;
}

using steady = std::chrono::steady_clock;

// A connection's socket as httplib reads it, each wait cut short by the
// connection's deadline: a client that sends a byte a second never meets a
// read time-out, but it meets this.
class deadline_stream final : public httplib::Stream {
public:
    deadline_stream(socket_t sock, steady::time_point deadline, std::chrono::milliseconds silence)
        : sock_(sock), deadline_(deadline), silence_(silence) {}

    bool is_readable() const override { return start_ < buffer_.size() || ready(POLLIN); }
    bool is_writable() const override { return ready(POLLOUT); }

    ssize_t read(char* ptr, size_t size) override {
        if (start_ == buffer_.size()) {
            if (!ready(POLLIN)) {
                return -1;
            }
            buffer_.resize(16384);
            const ssize_t got = recv(sock_, buffer_.data(), buffer_.size(), 0);
            if (got <= 0) {
                buffer_.clear();
                start_ = 0;
                return got;
            }
            buffer_.resize(static_cast<size_t>(got));
            start_ = 0;
        }
        const size_t taken = std::min(size, buffer_.size() - start_);
        std::copy_n(buffer_.data() + start_, taken, ptr);
        start_ += taken;
        return static_cast<ssize_t>(taken);
    }

    ssize_t write(const char* ptr, size_t size) override {
        if (!ready(POLLOUT)) {
            return -1;
        }
        return send(sock_, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        address_of(getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        address_of(getsockname, ip, port);
    }
    socket_t socket() const override { return sock_; }

    // Waits for the next request of a kept-alive connection.
    bool next_request(std::chrono::seconds keep_alive) const { return ready(POLLIN, keep_alive); }

private:
    bool ready(short event, std::chrono::milliseconds most = std::chrono::milliseconds::max()) const {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - steady::now());
        const auto wait = std::min({left, silence_, most});
        if (wait.count() <= 0) {
            return false;
        }
        pollfd polled{sock_, event, 0};
        return poll(&polled, 1, static_cast<int>(wait.count())) > 0 &&
               (polled.revents & (event | POLLHUP)) != 0;
    }

    void address_of(int (*get)(int, sockaddr*, socklen_t*), std::string& ip, int& port) const {
        sockaddr_storage address{};
        socklen_t size = sizeof address;
        ip.clear();
        port = 0;
        if (get(sock_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            return;
        }
        char text[INET6_ADDRSTRLEN] = {};
        if (address.ss_family == AF_INET) {
            const auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
            inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
            port = ntohs(v4->sin_port);
        } else if (address.ss_family == AF_INET6) {
            const auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
            inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
            port = ntohs(v6->sin6_port);
        }
        ip = text;
    }

    socket_t sock_;
    steady::time_point deadline_;
    std::chrono::milliseconds silence_;
    std::vector<char> buffer_;
    size_t start_ = 0;
};

}  // namespace

std::string peer_address(socket_t sock) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getpeername(sock, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        return "?";
    }
    char text[INET6_ADDRSTRLEN] = "?";
    if (address.ss_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&address)->sin_addr, text, sizeof text);
    } else if (address.ss_family == AF_INET6) {
        inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&address)->sin6_addr, text, sizeof text);
    }
    return text;
}

site_server::site_server(const server_limits& limits, std::FILE* log) : limits_(limits), log_(log) {
    const int threads = limits_.threads;
    new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    set_read_timeout(limits_.read_timeout);
    set_write_timeout(limits_.read_timeout);
    // The larger of the two bodies; each route holds its own to its limit.
    set_payload_max_length(std::max(limits_.json_body, limits_.form_body));
    // No page runs script or loads anything from elsewhere, whatever a
    // report's texts hold, and no answer is read as another type.
    set_default_headers({{"Content-Security-Policy",
                          "default-src 'none'; style-src 'self'; img-src 'self'; form-action 'self'; "
                          "base-uri 'none'; frame-ancestors 'none'"},
                         {"X-Content-Type-Options", "nosniff"},
                         {"Referrer-Policy", "same-origin"}});
    set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        // Each post's limit, said before its body is read.
        const bool form = request.path == "/submitter.php";
        const size_t limit = form ? limits_.form_body : limits_.json_body;
        if (request.get_header_value<uint64_t>("Content-Length") > limit) {
            response.status = 413;
            response.set_header("Connection", "close");
            response.set_content(std::string(form ? "A submission" : "A report") + " is at most " +
                                     std::to_string(limit >> 20) + " MiB.\n",
                                 "text/plain; charset=utf-8");
            return HandlerResponse::Handled;
        }
        if (!admit(request.remote_addr)) {
            response.status = 429;
            response.set_header("Retry-After", "1");
            response.set_content("Too many requests from this address: wait a second.\n",
                                 "text/plain; charset=utf-8");
            return HandlerResponse::Handled;
        }
        return HandlerResponse::Unhandled;
    });
    set_logger([this](const httplib::Request& request, const httplib::Response& response) {
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - request_start);
        if (log_ != nullptr) {
            std::fprintf(log_, "%s %s %s %s %d %zu %lld\n", utc_now_text().c_str(),
                         (request.remote_addr.empty() ? request_peer : request.remote_addr).c_str(),
                         loggable(request.method.empty() ? "-" : request.method).c_str(),
                         loggable(request.path.empty() ? "-" : request.path).c_str(), response.status,
                         response.body.size(), static_cast<long long>(took.count()));
            std::fflush(log_);
        }
    });
}

bool site_server::admit(const std::string& address) {
    const auto now = std::chrono::steady_clock::now();
    const std::lock_guard<std::mutex> hold(lock_);
    const double burst = 2.0 * limits_.requests_per_second;
    bucket& held = buckets_[address];
    if (held.filled.time_since_epoch().count() == 0) {
        held = {burst, now};
    }
    held.tokens = std::min(burst, held.tokens + std::chrono::duration<double>(now - held.filled).count() *
                                                    limits_.requests_per_second);
    held.filled = now;
    if (held.tokens < 1.0) {
        return false;
    }
    held.tokens -= 1.0;
    return true;
}

bool site_server::process_and_close_socket(socket_t sock) {
    const std::string address = peer_address(sock);
    bool admitted = false;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        // One address cannot hold every thread: its further connections close at once.
        admitted = per_address_[address] < limits_.connections_per_address;
        if (admitted) {
            ++per_address_[address];
        }
    }
    const bool served = admitted && serve(sock);
    // A lingering close: what the client still sends (the body of a refused
    // post) is read a moment and dropped, so that the answer reaches it
    // instead of a reset.
    shutdown(sock, SHUT_WR);
    char drained[16384];
    const auto until = steady::now() + std::chrono::seconds(1);
    for (size_t total = 0; total < (4u << 20) && steady::now() < until;) {
        pollfd polled{sock, POLLIN, 0};
        if (poll(&polled, 1, 100) <= 0) {
            break;
        }
        const ssize_t got = recv(sock, drained, sizeof drained, 0);
        if (got <= 0) {
            break;
        }
        total += static_cast<size_t>(got);
    }
    close(sock);
    if (admitted) {
        const std::lock_guard<std::mutex> hold(lock_);
        if (--per_address_[address] <= 0) {
            per_address_.erase(address);
        }
    }
    return served;
}

bool site_server::serve(socket_t sock) {
    request_peer = peer_address(sock);
    deadline_stream stream(sock, steady::now() + limits_.connection, limits_.read_timeout);
    constexpr int most_requests = 20;
    for (int served = 0; served < most_requests; ++served) {
        if (served > 0 && !stream.next_request(std::chrono::seconds(5))) {
            return true;
        }
        bool closed = false;
        request_start = steady::now();
        if (!process_request(stream, served + 1 == most_requests, closed, {}) || closed) {
            return !closed;
        }
    }
    return true;
}
