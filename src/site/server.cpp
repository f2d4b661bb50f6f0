// The HTTP server on Beast: connections, framing, limits, the pool, stop and log.
#include "site/server.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <csignal>
#include <map>
#include <set>
#include <unordered_map>

#include "site/answer.h"
#include "site/clock.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using steady = std::chrono::steady_clock;
using asio::awaitable;
// Coroutines get errors as values. (GCC 12 mishandles structured bindings
// and co_await inside conditions: each result is a plain variable first.)
constexpr auto no_throw = asio::as_tuple(asio::use_awaitable);
using read_result = std::tuple<boost::system::error_code, size_t>;
using write_result = std::tuple<boost::system::error_code, size_t>;

struct connection {
    beast::tcp_stream stream;
    std::string address;
    bool idle = true;  // waiting for a request's first byte: a stop closes it at once
};

// One request and its answer, as far as the log line needs them.
struct exchange {
    steady::time_point started = steady::now();
    std::string method = "-";
    std::string path = "-";
};

std::string_view bytes_of(const beast::flat_buffer& buffer) {
    return {static_cast<const char*>(buffer.data().data()), buffer.size()};
}

std::string trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos
               ? std::string()
               : std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// The path of a request target: origin form ("/a?b"), or absolute form
// ("http://host/a?b") as RFC 9112 bids a server take.
std::string_view target_path(std::string_view target) {
    if (!target.starts_with('/')) {
        const size_t scheme = target.find("://");
        const size_t slash =
            scheme == std::string_view::npos ? std::string_view::npos : target.find('/', scheme + 3);
        target = slash == std::string_view::npos ? std::string_view("*") : target.substr(slash);
    }
    return target.substr(0, target.find('?'));
}

site_request request_of(const http::request_parser<http::empty_body>& parser, const std::string& address) {
    const auto& head = parser.get();
    site_request request;
    request.method = std::string(head.method_string());
    request.target = std::string(head.target());
    request.path = percent_decoded(target_path(request.target));
    if (const size_t query = request.target.find('?'); query != std::string::npos) {
        request.params = query_pairs(std::string_view(request.target).substr(query + 1));
    }
    for (const auto& field : head) {
        request.headers.emplace_back(std::string(field.name_string()), trimmed(field.value()));
    }
    request.remote_addr = address;
    return request;
}

// What a request's headers say wrong before any route sees it; status 0
// where nothing is.
std::pair<int, std::string> header_fault(const site_request& request, unsigned version) {
    size_t hosts = 0;
    size_t encodings = 0;
    for (const auto& [name, value] : request.headers) {
        hosts += same_name(name, "Host") ? 1 : 0;
        encodings += same_name(name, "Transfer-Encoding") ? 1 : 0;
    }
    if ((version == 11 && hosts == 0) || hosts > 1) {
        return {400, "An HTTP/1.1 request names its Host once."};
    }
    const std::string encoding = request.get_header_value("Transfer-Encoding");
    if (encodings > 1 || (encodings == 1 && (version != 11 || !same_name(encoding, "chunked")))) {
        return {400, "A body comes chunked or with a Content-Length; no other Transfer-Encoding is taken."};
    }
    return {0, {}};
}

}  // namespace

struct site_server::state {
    struct bucket {
        double tokens = 0;
        steady::time_point filled;
    };

    server_limits limits;
    std::FILE* log;
    route_table routes;
    // Declared before the network's objects, so that they outlive the
    // coroutines the io_context destroys.
    std::map<std::string, int> per_address;
    std::unordered_map<std::string, bucket> buckets;
    std::set<connection*> open;
    bool stopping = false;
    std::atomic<bool> serving = false;
    asio::thread_pool pool;
    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    asio::steady_timer stop_timer{io};
    asio::signal_set signals{io};

    state(const server_limits& given, std::FILE* given_log)
        : limits(given), log(given_log), pool(static_cast<size_t>(std::max(1, given.database_threads))) {}

    awaitable<void> accept_loop();
    awaitable<void> serve(tcp::socket socket);
    awaitable<void> requests(connection& c);
    awaitable<bool> answer(connection& c, const exchange& done, site_response& response, unsigned version,
                           bool keep_alive, bool head);
    // (Its arguments are the caller's named values: GCC 12 may destroy a
    // temporary passed to a coroutine twice.)
    awaitable<void> refuse_and_close(connection& c, const exchange& done, int status,
                                     const std::string& sentence, unsigned version = 11);
    awaitable<void> close_gently(connection& c);
    awaitable<site_response> on_pool(site_request request, const route_handler& handler);
    bool admit(const std::string& address);
    void begin_stop();
    void write_log(const connection& c, const exchange& done, int status, size_t bytes);
};

site_server::site_server(const server_limits& limits, std::FILE* log)
    : state_(std::make_unique<state>(limits, log)) {
    raise_open_file_limit();
}

site_server::~site_server() {
    state_->pool.join();
}

route_table& site_server::routes() {
    return state_->routes;
}

const server_limits& site_server::limits() const {
    return state_->limits;
}

bool site_server::running() const {
    return state_->serving;
}

result<int> site_server::listen(const std::string& host, int port) {
    const std::string named =
        (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" + std::to_string(port);
    beast::error_code error;
    asio::ip::address address = asio::ip::make_address(host, error);
    if (error) {
        tcp::resolver resolver(state_->io);
        const auto found = resolver.resolve(host, std::to_string(port), error);
        if (error || found.empty()) {
            return reason{"Site", -1, "resolve", named + " names no address of this machine.", {}};
        }
        address = found.begin()->endpoint().address();
    }
    const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
    tcp::acceptor& acceptor = state_->acceptor;
    acceptor.open(endpoint.protocol(), error);
    // SO_REUSEADDR lets a restart bind past connections in TIME_WAIT; it never
    // lets two servers share the address (that would take SO_REUSEPORT).
    if (!error) {
        acceptor.set_option(tcp::acceptor::reuse_address(true), error);
    }
    if (!error) {
        acceptor.bind(endpoint, error);
    }
    if (!error) {
        acceptor.listen(511, error);
    }
    if (error) {
        acceptor.close();
        return reason{"Site",
                      -1,
                      "bind",
                      error == asio::error::address_in_use
                          ? named + " is already in use."
                          : named + " cannot be listened on: " + error.message() + ".",
                      {}};
    }
    return static_cast<int>(acceptor.local_endpoint().port());
}

void site_server::run(bool stop_on_signals) {
    state& s = *state_;
    if (stop_on_signals) {
        s.signals.add(SIGINT);
        s.signals.add(SIGTERM);
        s.signals.async_wait([&s](const beast::error_code& error, int) {
            if (!error) {
                s.begin_stop();
            }
        });
    }
    asio::co_spawn(s.io, s.accept_loop(), asio::detached);
    s.serving = true;
    s.io.run();
    s.serving = false;
}

void site_server::stop() {
    asio::post(state_->io, [s = state_.get()] { s->begin_stop(); });
}

void site_server::state::begin_stop() {
    if (stopping) {
        return;
    }
    stopping = true;
    beast::error_code ignored;
    acceptor.close(ignored);
    signals.cancel(ignored);
    for (connection* c : open) {
        if (c->idle) {
            c->stream.cancel();
        }
    }
    if (open.empty()) {
        return;
    }
    // Answers in flight get their time; then every connection closes.
    stop_timer.expires_after(limits.stop_time);
    stop_timer.async_wait([this](const beast::error_code& error) {
        if (!error) {
            for (connection* c : open) {
                beast::error_code ignored;
                c->stream.socket().close(ignored);
            }
        }
    });
}

awaitable<void> site_server::state::accept_loop() {
    while (!stopping) {
        std::tuple<beast::error_code, tcp::socket> accepted = co_await acceptor.async_accept(no_throw);
        beast::error_code error = std::get<0>(accepted);
        if (error) {
            if (stopping || error == asio::error::operation_aborted) {
                co_return;
            }
            // Out of descriptors, say: a pause, not a spin.
            asio::steady_timer pause(io, std::chrono::milliseconds(100));
            co_await pause.async_wait(no_throw);
            continue;
        }
        asio::co_spawn(io, serve(std::move(std::get<1>(accepted))), asio::detached);
    }
}

awaitable<void> site_server::state::serve(tcp::socket socket) {
    beast::error_code error;
    // Small answers on a kept-alive connection go out at once.
    socket.set_option(tcp::no_delay(true), error);
    const tcp::endpoint peer = socket.remote_endpoint(error);
    connection c{beast::tcp_stream(std::move(socket)), error ? "?" : peer.address().to_string()};
    open.insert(&c);
    const int held = ++per_address[c.address];
    try {
        if (held > limits.connections_per_address) {
            const exchange none;
            const std::string crowded = "Too many connections from this address: close one.";
            co_await refuse_and_close(c, none, 429, crowded);
        } else {
            co_await requests(c);
            co_await close_gently(c);
        }
    } catch (const std::exception& raised) {
        // A fault of the server's own: the connection ends, the server goes on.
        if (log != nullptr) {
            std::fprintf(log, "%s %s connection ended: %s\n", utc_now_text().c_str(), c.address.c_str(),
                         loggable(raised.what()).c_str());
        }
    }
    if (--per_address[c.address] <= 0) {
        per_address.erase(c.address);
    }
    open.erase(&c);
    if (stopping && open.empty()) {
        stop_timer.cancel();
    }
}

awaitable<void> site_server::state::requests(connection& c) {
    beast::flat_buffer buffer;
    for (bool first = true; !stopping; first = false) {
        if (buffer.size() == 0) {
            c.idle = true;
            c.stream.expires_after(first ? limits.first_request : limits.keep_alive);
            const read_result first_read = co_await c.stream.async_read_some(buffer.prepare(16384), no_throw);
            c.idle = false;
            if (std::get<0>(first_read)) {
                co_return;
            }
            buffer.commit(std::get<1>(first_read));
        }
        exchange done;
        // The headers arrive whole within their time of the first byte, however slowly.
        c.stream.expires_at(done.started + limits.header_time);
        header_block block = scan_header_block(bytes_of(buffer), limits.framing);
        while (block.verdict == header_block::state::incomplete) {
            const read_result more = co_await c.stream.async_read_some(buffer.prepare(16384), no_throw);
            if (std::get<0>(more)) {
                co_return;
            }
            buffer.commit(std::get<1>(more));
            block = scan_header_block(bytes_of(buffer), limits.framing);
        }
        if (block.verdict == header_block::state::refused) {
            co_await refuse_and_close(c, done, block.status, block.sentence);
            co_return;
        }
        buffer.consume(block.leading);
        http::request_parser<http::empty_body> head;
        head.header_limit(static_cast<std::uint32_t>(block.size + 1));
        head.body_limit(boost::none);  // each route's limit is held below, before the body is read
        beast::error_code error;
        const size_t parsed = head.put(asio::buffer(buffer.data().data(), block.size), error);
        if (error || !head.is_header_done()) {
            std::string lower(bytes_of(buffer).substr(0, block.size));
            std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
                return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            });
            const bool both = lower.find("\ntransfer-encoding:") != std::string::npos &&
                              lower.find("\ncontent-length:") != std::string::npos;
            const std::string sentence =
                both || error == http::error::bad_transfer_encoding
                    ? "A body comes chunked or with a Content-Length, never both."
                : error == http::error::bad_content_length || error == http::error::multiple_content_length
                    ? "The request's Content-Length is malformed, or given twice with different values."
                    : "The request's headers cannot be read: " + error.message() + ".";
            co_await refuse_and_close(c, done, 400, sentence);
            co_return;
        }
        buffer.consume(parsed);
        const unsigned version = head.get().version();
        site_request request = request_of(head, c.address);
        done.method = request.method;
        done.path = request.path;
        const bool chunked = head.chunked();
        const uint64_t length = head.content_length().value_or(0);
        const bool has_body = chunked || length > 0;
        const std::pair<int, std::string> fault = header_fault(request, version);
        if (fault.first != 0) {
            co_await refuse_and_close(c, done, fault.first, fault.second, version);
            co_return;
        }
        if (!admit(c.address)) {
            site_response slowed;
            answer_refusal(slowed, 429, "Too many requests from this address: wait a second.");
            slowed.set_header("Retry-After", "1");
            finish_answer(request, slowed);
            const bool written = co_await answer(c, done, slowed, version, !has_body, false);
            if (!written || has_body) {
                co_return;
            }
            continue;
        }
        const route_match match = routes.find(request.method, request.path);
        if (match.found == nullptr) {
            site_response missing;
            if (match.allow.empty()) {
                answer_refusal(missing, 404, "There is nothing at this address.");
            } else {
                answer_refusal(missing, 405, "This address takes " + match.allow + " only.");
                missing.set_header("Allow", match.allow);
            }
            finish_answer(request, missing);
            const bool keep = !has_body && head.keep_alive();
            const bool written = co_await answer(c, done, missing, version, keep, false);
            if (!written || !keep) {
                co_return;
            }
            continue;
        }
        const route& chosen = *match.found;
        request.matches = match.groups;
        const bool post = chosen.method == "POST";
        if (post && !chunked && !head.content_length()) {
            const std::string unsized = "A post says its length (Content-Length) or comes chunked.";
            co_await refuse_and_close(c, done, 411, unsized, version);
            co_return;
        }
        const size_t limit = post ? chosen.body_limit : limits.other_body;
        const std::string too_large = (post ? chosen.body_name : std::string("A request's body")) +
                                      " is at most " +
                                      (limit >= (1u << 20) ? std::to_string(limit >> 20) + " MiB."
                                                           : std::to_string(limit >> 10) + " KiB.");
        if (length > limit) {
            co_await refuse_and_close(c, done, 413, too_large, version);
            co_return;
        }
        if (has_body) {
            if (same_name(request.get_header_value("Expect"), "100-continue")) {
                http::response<http::empty_body> go_on{http::status::continue_, version};
                c.stream.expires_after(limits.write_time);
                const write_result written = co_await http::async_write(c.stream, go_on, no_throw);
                if (std::get<0>(written)) {
                    co_return;
                }
            }
            http::request_parser<http::string_body> whole{std::move(head)};
            whole.body_limit(limit);
            c.stream.expires_after(limits.body_time);
            const read_result body = co_await http::async_read(c.stream, buffer, whole, no_throw);
            const beast::error_code read = std::get<0>(body);
            if (read == http::error::body_limit) {
                co_await refuse_and_close(c, done, 413, too_large, version);
                co_return;
            }
            if (read == http::error::bad_chunk || read == http::error::bad_chunk_extension ||
                read == http::error::bad_content_length) {
                const std::string unframed = "The request's body is not framed as its headers say.";
                co_await refuse_and_close(c, done, 400, unframed, version);
                co_return;
            }
            if (read) {
                co_return;  // the client went, or was too slow
            }
            request.body = std::move(whole.get().body());
        }
        const bool keep_alive = head.keep_alive();
        const bool is_head = request.method == "HEAD";
        site_response response = co_await on_pool(std::move(request), chosen.handler);
        const bool written = co_await answer(c, done, response, version, keep_alive, is_head);
        if (!written || !keep_alive) {
            co_return;
        }
    }
}

awaitable<site_response> site_server::state::on_pool(site_request request, const route_handler& handler) {
    // The route's work owns what it reads: the request moves to the pool's thread.
    auto job = std::make_shared<site_request>(std::move(request));
    std::FILE* to = log;
    auto work = [job, &handler, to]() -> awaitable<site_response> {
        site_response response;
        try {
            handler(*job, response);
        } catch (...) {
            answer_failure(std::current_exception(), *job, response, to);
        }
        finish_answer(*job, response);
        co_return response;
    };
    site_response answered = co_await asio::co_spawn(pool, std::move(work), asio::use_awaitable);
    co_return answered;
}

awaitable<bool> site_server::state::answer(connection& c, const exchange& done, site_response& response,
                                           unsigned version, bool keep_alive, bool head) {
    http::response<http::string_body> out{static_cast<http::status>(response.status), version};
    if (!response.content_type.empty() && response.status != 304) {
        out.set(http::field::content_type, response.content_type);
    }
    for (const auto& [name, value] : response.headers) {
        out.insert(name, value);
    }
    const size_t bytes = response.body.size();
    if (response.status != 304) {
        out.content_length(bytes);
    }
    if (!head && response.status != 304) {
        out.body() = std::move(response.body);
    }
    out.keep_alive(keep_alive && !stopping);
    c.stream.expires_after(limits.write_time);
    const write_result written = co_await http::async_write(c.stream, out, no_throw);
    write_log(c, done, response.status, head ? 0 : bytes);
    co_return !std::get<0>(written);
}

awaitable<void> site_server::state::refuse_and_close(connection& c, const exchange& done, int status,
                                                     const std::string& sentence, unsigned version) {
    site_response refused;
    answer_refusal(refused, status, sentence);
    if (status == 429) {
        refused.set_header("Retry-After", "1");
    }
    site_request unread;
    unread.method = done.method;
    finish_answer(unread, refused);
    co_await answer(c, done, refused, version, false, false);
    co_await close_gently(c);
}

awaitable<void> site_server::state::close_gently(connection& c) {
    beast::error_code ignored;
    c.stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
    // A lingering close: what the client still sends (the body of a refused
    // post) is read a moment and dropped, so that the answer reaches it
    // rather than a reset.
    c.stream.expires_after(std::chrono::seconds(1));
    char drained[16384];
    for (size_t total = 0; total < (4u << 20) && c.stream.socket().is_open();) {
        const read_result got = co_await c.stream.async_read_some(asio::buffer(drained), no_throw);
        if (std::get<0>(got)) {
            break;
        }
        total += std::get<1>(got);
    }
    c.stream.socket().close(ignored);
}

bool site_server::state::admit(const std::string& address) {
    if (limits.requests_per_second <= 0) {
        return true;
    }
    const auto now = steady::now();
    const double burst = 2.0 * limits.requests_per_second;
    if (buckets.size() > 100000) {
        // Forget the addresses whose buckets have filled again: they lose nothing.
        std::erase_if(buckets, [&](const auto& held) {
            return std::chrono::duration<double>(now - held.second.filled).count() *
                       limits.requests_per_second >=
                   burst;
        });
    }
    auto [found, fresh] = buckets.try_emplace(address, bucket{burst, now});
    bucket& held = found->second;
    held.tokens = std::min(burst, held.tokens + std::chrono::duration<double>(now - held.filled).count() *
                                                    limits.requests_per_second);
    held.filled = now;
    if (held.tokens < 1.0) {
        return false;
    }
    held.tokens -= 1.0;
    return true;
}

void site_server::state::write_log(const connection& c, const exchange& done, int status, size_t bytes) {
    if (log == nullptr) {
        return;
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(steady::now() - done.started);
    std::fprintf(log, "%s %s %s %s %d %zu %lld\n", utc_now_text().c_str(), c.address.c_str(),
                 loggable(done.method).c_str(), loggable(done.path).c_str(), status, bytes,
                 static_cast<long long>(took.count()));
    std::fflush(log);
}

void raise_open_file_limit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}
