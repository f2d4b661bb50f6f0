#ifdef _WIN32
// Winsock before anything that includes <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include "submit/http_post.h"

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include "base/platform.h"
#endif
#include "base/reason.h"
#include "base/text.h"

namespace {

using steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Each phase's own limit; the post's deadline cuts every one of them short.
constexpr milliseconds resolve_limit = std::chrono::seconds(15);
constexpr milliseconds connect_limit = std::chrono::seconds(15);
constexpr milliseconds send_limit = std::chrono::seconds(30);
constexpr milliseconds receive_limit = std::chrono::seconds(30);  // silence between two pieces of the answer

// The most the answer's head, one of its lines, and the piece of it held at
// a time may take.
constexpr size_t head_limit = 64 * 1024;
constexpr size_t line_limit = 8 * 1024;
constexpr size_t piece_size = 16 * 1024;

// Each phase's failure ends the post: the component's edge turns it into
// the reason post() hands back.
[[noreturn]] void fail(const std::string& what, const char* call = "", std::string status = {}) {
    throw failure(reason{{}, -1, call, what, std::move(status)});
}

// Winsock and BSD sockets, told apart only here.
#ifdef _WIN32
int last_socket_error() {
    return WSAGetLastError();
}
bool would_block(int error) {
    return error == WSAEWOULDBLOCK;
}
constexpr int timed_out = WSAETIMEDOUT;
constexpr int send_flags = 0;
void make_non_blocking(SOCKET socket) {
    u_long non_blocking = 1;
    ioctlsocket(socket, FIONBIO, &non_blocking);
}
// A socket error in the system's words: "No connection could be made
// because the target machine actively refused it".
std::string error_words(int error) {
    return system_error_words(static_cast<DWORD>(error));
}
std::string resolver_words(int error) {
    return error_words(error);
}
#else
using SOCKET = int;
constexpr SOCKET INVALID_SOCKET = -1;
constexpr int SOCKET_ERROR = -1;
int last_socket_error() {
    return errno;
}
bool would_block(int error) {
    return error == EINPROGRESS || error == EAGAIN || error == EWOULDBLOCK;
}
constexpr int timed_out = ETIMEDOUT;
constexpr int send_flags = MSG_NOSIGNAL;  // a closed peer is an error, not a signal
void make_non_blocking(SOCKET socket) {
    fcntl(socket, F_SETFL, fcntl(socket, F_GETFL, 0) | O_NONBLOCK);
}
int closesocket(SOCKET socket) {
    return close(socket);
}
std::string error_words(int error) {
    return std::strerror(error);
}
std::string resolver_words(int error) {
    return error == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(error);
}
#endif

[[noreturn]] void fail_socket(const std::string& what, const char* call, int error = last_socket_error()) {
    fail(what + ": " + error_words(error), call, std::to_string(error));
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The parts of "http://host[:port]/path" that the request needs.
struct http_address {
    std::string host;
    std::string port = "80";
    std::string authority;  // what the Host header says
    std::string path = "/";
};

http_address crack(const std::string& url) {
    constexpr std::string_view scheme = "http://";
    if (url.size() <= scheme.size() || lower(url.substr(0, scheme.size())) != scheme) {
        fail("not a plain HTTP address");
    }
    const size_t start = scheme.size();
    const size_t path = url.find_first_of("/?#", start);
    http_address address;
    address.authority = url.substr(start, path == std::string::npos ? std::string::npos : path - start);
    if (path != std::string::npos && url[path] != '#') {
        address.path = url.substr(path, url.find('#', path) - path);
        if (address.path[0] == '?') {
            address.path.insert(0, "/");
        }
    }
    const std::string& authority = address.authority;
    const size_t bracket = authority.rfind(']');
    const size_t colon = authority.rfind(':');
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        address.host = authority.substr(0, colon);
        address.port = authority.substr(colon + 1);
        if (address.port.empty() || address.port.find_first_not_of("0123456789") != std::string::npos) {
            fail("not a port: " + address.port);
        }
    } else {
        address.host = authority;
    }
    if (address.host.size() > 2 && address.host.front() == '[' && address.host.back() == ']') {
        address.host = address.host.substr(1, address.host.size() - 2);
    }
    if (address.host.empty()) {
        fail("no host in the address");
    }
    return address;
}

// The time left before a deadline, at most a phase's own limit; raises once
// nothing is left. Every wait is cut into slices, with the component's
// waiting call between them.
class post_clock {
public:
    post_clock(milliseconds deadline, const std::function<void()>& waiting)
        : end_(steady::now() + deadline), waiting_(waiting) {}

    // The time left, at most limit; zero once the deadline has passed.
    milliseconds rest(milliseconds limit) const {
        const auto left = std::chrono::duration_cast<milliseconds>(end_ - steady::now());
        return std::clamp(left, milliseconds(0), limit);
    }

    milliseconds left(milliseconds limit, const char* phase) const {
        const milliseconds time = rest(limit);
        if (time.count() <= 0) {
            fail(std::string("no answer in time (") + phase + ")");
        }
        return time;
    }

    // Asks ready() slice by slice until it says yes or time is over; false
    // when the time ran out.
    template <typename Ready>
    bool wait(milliseconds time, Ready ready) const {
        const auto until = steady::now() + time;
        for (;;) {
            const auto rest = std::chrono::duration_cast<milliseconds>(until - steady::now());
            if (ready(std::clamp(rest, milliseconds(0), slice))) {
                return true;
            }
            if (steady::now() >= until) {
                return false;
            }
            if (waiting_) {
                waiting_();
            }
        }
    }

private:
    static constexpr milliseconds slice{100};
    steady::time_point end_;
    const std::function<void()>& waiting_;
};

// getaddrinfo has no time-out of its own: it runs on a thread of its own,
// which is left to finish alone when the wait is over.
struct resolution {
    std::mutex mutex;
    std::condition_variable done_signal;
    bool done = false;
    bool abandoned = false;
    addrinfo* addresses = nullptr;
    int error = 0;
};

using address_list = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

address_list resolve(const http_address& address, const post_clock& clock) {
    auto state = std::make_shared<resolution>();
    std::thread([state, host = address.host, port = address.port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* found = nullptr;
        const int error = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
        const std::lock_guard<std::mutex> lock(state->mutex);
        if (state->abandoned) {
            if (found != nullptr) {
                freeaddrinfo(found);
            }
            return;
        }
        state->addresses = found;
        state->error = error;
        state->done = true;
        state->done_signal.notify_one();
    }).detach();
    std::unique_lock<std::mutex> lock(state->mutex, std::defer_lock);
    const bool resolved = clock.wait(clock.left(resolve_limit, "resolve"), [&](milliseconds slice) {
        lock.lock();
        const bool done = state->done_signal.wait_for(lock, slice, [&] { return state->done; });
        if (!done) {
            lock.unlock();
        }
        return done;
    });
    if (!resolved) {
        lock.lock();
        state->abandoned = true;
        fail("the host's name was not resolved in time");
    }
    if (state->error != 0 || state->addresses == nullptr) {
        fail("cannot find the host " + address.host + ": " + resolver_words(state->error), "getaddrinfo",
             std::to_string(state->error));
    }
    return address_list(state->addresses, freeaddrinfo);
}

// A connected, non-blocking socket, closed with its owner.
class http_socket {
public:
    http_socket(const http_address& address, const post_clock& clock) {
        const address_list addresses = resolve(address, clock);
        int error = 0;  // the last candidate's
        for (const addrinfo* candidate = addresses.get(); candidate != nullptr && socket_ == INVALID_SOCKET;
             candidate = candidate->ai_next) {
            socket_ = socket(candidate->ai_family, candidate->ai_socktype, candidate->ai_protocol);
            if (socket_ == INVALID_SOCKET) {
                error = last_socket_error();
                continue;
            }
            make_non_blocking(socket_);
            bool connected = false;
            try {
                if (connect(socket_, candidate->ai_addr, static_cast<int>(candidate->ai_addrlen)) == 0) {
                    connected = true;
                } else if (would_block(error = last_socket_error())) {
                    // A refusal shows as an exceptional socket, with its error pending.
                    if (wait(false, clock.left(connect_limit, "connect"), clock)) {
                        error = pending_error();
                        connected = error == 0;
                    } else {
                        error = timed_out;
                    }
                }
            } catch (const failure&) {
                closesocket(socket_);  // out of time: the constructor ends here
                throw;
            }
            if (!connected) {
                closesocket(socket_);
                socket_ = INVALID_SOCKET;
            }
        }
        if (socket_ == INVALID_SOCKET) {
            fail_socket("cannot connect to " + address.authority, "connect", error);
        }
    }
    ~http_socket() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
    }
    http_socket(const http_socket&) = delete;
    http_socket& operator=(const http_socket&) = delete;

    void send_all(std::string_view data, const post_clock& clock) {
        while (!data.empty()) {
            if (!wait(false, clock.left(send_limit, "send"), clock)) {
                fail("the server took nothing in time");
            }
            const int sent = send(socket_, data.data(),
                                  static_cast<int>(std::min<size_t>(data.size(), 1 << 20)), send_flags);
            if (sent == SOCKET_ERROR) {
                if (would_block(last_socket_error())) {
                    continue;
                }
                fail_socket("the post broke off", "send");
            }
            data.remove_prefix(static_cast<size_t>(sent));
        }
    }

    // Appends what arrives to buffer, at most room bytes; false at the
    // answer's end (the server closed).
    bool receive(std::string& buffer, size_t room, const post_clock& clock) {
        for (;;) {
            // The deadline reached just after a piece arrived reads as the
            // silence it would have met in the wait: the same words whenever
            // the last piece came. The time is read once, so that no moment
            // falls between a check and the wait.
            const milliseconds time = clock.rest(receive_limit);
            if (time.count() <= 0 || !wait(true, time, clock)) {
                fail("the server went silent");
            }
            char piece[4096];
            const int got = recv(socket_, piece, static_cast<int>(std::min(room, sizeof piece)), 0);
            if (got > 0) {
                buffer.append(piece, static_cast<size_t>(got));
                return true;
            }
            if (got == 0) {
                return false;
            }
            if (!would_block(last_socket_error())) {
                fail_socket("the answer broke off", "recv");
            }
        }
    }

private:
    // Waits until the socket can be read (or written); false when the time
    // ran out.
    bool wait(bool readable, milliseconds time, const post_clock& clock) const {
        return clock.wait(time, [&](milliseconds slice) {
            fd_set ready;
            fd_set failed;
            FD_ZERO(&ready);
            FD_ZERO(&failed);
            FD_SET(socket_, &ready);
            FD_SET(socket_, &failed);
            timeval limit{static_cast<long>(slice.count() / 1000),
                          static_cast<long>(slice.count() % 1000 * 1000)};
            // Winsock ignores the first argument; BSD sockets need it.
            const int count = select(static_cast<int>(socket_) + 1, readable ? &ready : nullptr,
                                     readable ? nullptr : &ready, &failed, &limit);
            if (count == SOCKET_ERROR) {
                fail_socket("cannot wait for the server", "select");
            }
            return count > 0;
        });
    }

    int pending_error() const {
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(socket_, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
        return error;
    }

    SOCKET socket_ = INVALID_SOCKET;
};

// Reads the answer piece by piece, holding at most one piece and one line.
class answer_reader {
public:
    answer_reader(http_socket& socket, const post_clock& clock) : socket_(socket), clock_(clock) {}

    // One line without its CR LF; raises at the end of the answer.
    std::string line() {
        for (;;) {
            const size_t end = buffer_.find('\n', start_);
            if (end != std::string::npos) {
                std::string text = buffer_.substr(start_, end - start_);
                start_ = end + 1;
                if (!text.empty() && text.back() == '\r') {
                    text.pop_back();
                }
                return text;
            }
            if (buffer_.size() - start_ > line_limit) {
                fail("a line of the answer is too long");
            }
            if (!more()) {
                fail("the answer was cut short");
            }
        }
    }

    // Reads and discards count bytes; raises when the answer ends first.
    void skip(uint64_t count) {
        while (count > 0) {
            if (start_ == buffer_.size() && !more()) {
                fail("the answer was cut short");
            }
            const size_t taken = static_cast<size_t>(std::min<uint64_t>(count, buffer_.size() - start_));
            start_ += taken;
            count -= taken;
        }
    }

    // Reads and discards everything up to the server's close.
    void skip_to_end() {
        while (more()) {
            start_ = buffer_.size();
        }
    }

private:
    bool more() {
        buffer_.erase(0, start_);
        start_ = 0;
        return socket_.receive(buffer_, piece_size, clock_);
    }

    http_socket& socket_;
    const post_clock& clock_;
    std::string buffer_;
    size_t start_ = 0;
};

struct answer_head {
    int status = 0;
    std::string words;                                         // the status line's: "Internal Server Error"
    std::vector<std::pair<std::string, std::string>> headers;  // names in lower case
};

answer_head read_head(answer_reader& reader) {
    answer_head head;
    const std::string status_line = reader.line();
    // "HTTP/1.1 200 OK"
    if (status_line.compare(0, 5, "HTTP/") != 0 || status_line.size() < 12 || status_line[8] != ' ' ||
        status_line.find_first_not_of("0123456789", 9) < 12) {
        fail("not an HTTP answer: " + status_line.substr(0, 40));
    }
    head.status = std::stoi(status_line.substr(9, 3));
    head.words = status_line.size() > 13 ? status_line.substr(13, 80) : std::string();
    size_t size = status_line.size();
    for (std::string line = reader.line(); !line.empty(); line = reader.line()) {
        size += line.size();
        if (size > head_limit) {
            fail("the answer's head is too long");
        }
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            fail("not a header: " + line.substr(0, 40));
        }
        head.headers.emplace_back(lower(trimmed(line.substr(0, colon))), trimmed(line.substr(colon + 1)));
    }
    return head;
}

uint64_t decimal(const std::string& text) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) {
        fail("not a length: " + text.substr(0, 40));
    }
    return std::stoull(text);
}

// Reads a chunked body to its last chunk and its trailer.
void skip_chunked(answer_reader& reader) {
    for (;;) {
        const std::string line = reader.line();
        const std::string size = trimmed(line.substr(0, line.find(';')));
        if (size.empty() || size.size() > 15 ||
            size.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            fail("not a chunk size: " + line.substr(0, 40));
        }
        const uint64_t count = std::stoull(size, nullptr, 16);
        if (count == 0) {
            while (!reader.line().empty()) {
            }
            return;
        }
        reader.skip(count);
        if (!reader.line().empty()) {
            fail("a chunk is longer than it said");
        }
    }
}

}  // namespace

// Winsock starts with the first post, not with the component: the window
// holds one from its start and would load the network stack before it can
// take input.
http_component::http_component() = default;

http_component::~http_component() {
#ifdef _WIN32
    if (winsock_ == winsock_state::started) {
        WSACleanup();
    }
#endif
}

std::string http_reply::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (key == lower(std::string(name))) {
            return value;
        }
    }
    return {};
}

result<http_reply> http_component::post(const std::string& url,
                                        const std::vector<std::pair<std::string, std::string>>& fields) {
    return post_body(url, "application/x-www-form-urlencoded", form_body(fields));
}

result<http_reply> http_component::post_body(const std::string& url, const std::string& content_type,
                                             const std::string& body) {
    try {
        return exchange(url, content_type, body);
    } catch (const failure& error) {
        return error.why();
    }
}

http_reply http_component::exchange(const std::string& url, const std::string& content_type,
                                    const std::string& body) {
    if (winsock_ == winsock_state::not_asked) {
#ifdef _WIN32
        WSADATA data;
        winsock_ = WSAStartup(MAKEWORD(2, 2), &data) == 0 ? winsock_state::started : winsock_state::failed;
#else
        winsock_ = winsock_state::started;  // BSD sockets need no start
#endif
    }
    if (winsock_ != winsock_state::started) {
        fail("no sockets", "WSAStartup");
    }
    const post_clock clock(deadline, waiting);
    const http_address address = crack(url);
    std::string request = "POST " + address.path + " HTTP/1.1\r\nHost: " + address.authority +
                          "\r\nUser-Agent: " + http_user_agent + "\r\nAccept: " + http_accept +
                          "\r\nContent-Type: " + content_type +
                          "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n";
    auto& cookies = cookies_[lower(address.host)];
    if (!cookies.empty()) {
        request += "Cookie: ";
        for (auto cookie = cookies.begin(); cookie != cookies.end(); ++cookie) {
            request += (cookie == cookies.begin() ? "" : "; ") + cookie->first + "=" + cookie->second;
        }
        request += "\r\n";
    }
    request += "\r\n";

    http_socket socket(address, clock);
    socket.send_all(request, clock);
    socket.send_all(body, clock);

    answer_reader reader(socket, clock);
    answer_head head = read_head(reader);
    while (head.status >= 100 && head.status < 200) {  // "100 Continue" and the like come first
        head = read_head(reader);
    }
    const std::string* length = nullptr;
    bool chunked = false;
    for (const auto& [name, value] : head.headers) {
        if (name == "set-cookie") {
            const std::string pair = value.substr(0, value.find(';'));
            const size_t equals = pair.find('=');
            if (equals != std::string::npos && !trimmed(pair.substr(0, equals)).empty()) {
                const std::string cookie = trimmed(pair.substr(0, equals));
                const std::string attributes = lower(value);
                if (attributes.find("max-age=0") != std::string::npos ||
                    attributes.find("max-age=-") != std::string::npos) {
                    cookies.erase(cookie);
                } else {
                    cookies[cookie] = trimmed(pair.substr(equals + 1));
                }
            }
        } else if (name == "content-length") {
            length = &value;
        } else if (name == "transfer-encoding") {
            const std::string codings = lower(value);
            chunked = codings.size() >= 7 && codings.compare(codings.size() - 7, 7, "chunked") == 0;
        }
    }
    // Checked before the body: an error's body is never read. A redirect is
    // not followed: the report did not arrive where it was sent.
    if (head.status < 200 || head.status >= 300) {
        fail("the server answered " + std::to_string(head.status) +
             (head.words.empty() ? "" : " " + head.words));
    }
    if (head.status != 204) {
        if (chunked) {
            skip_chunked(reader);
        } else if (length != nullptr) {
            reader.skip(decimal(*length));
        } else {
            reader.skip_to_end();
        }
    }
    return {head.status, std::move(head.headers)};
}
