// A small HTTP server on 127.0.0.1 for tests: it answers a fixed list of
// connections, one each, records every raw request, and stops by itself.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace fakes {

struct http_request {
    std::string method;
    std::string path;
    std::string version;
    std::map<std::string, std::string> headers;  // names as sent
    std::string body;
};

inline http_request parse_request(const std::string& raw) {
    http_request request;
    const size_t head_end = raw.find("\r\n\r\n");
    const std::string head = raw.substr(0, head_end);
    request.body = head_end == std::string::npos ? "" : raw.substr(head_end + 4);
    size_t line_end = head.find("\r\n");
    const std::string first = head.substr(0, line_end);
    const size_t space1 = first.find(' ');
    const size_t space2 = first.find(' ', space1 + 1);
    request.method = first.substr(0, space1);
    request.path = first.substr(space1 + 1, space2 - space1 - 1);
    request.version = first.substr(space2 + 1);
    while (line_end != std::string::npos) {
        const size_t start = line_end + 2;
        line_end = head.find("\r\n", start);
        const std::string line =
            head.substr(start, line_end == std::string::npos ? std::string::npos : line_end - start);
        const size_t colon = line.find(':');
        if (colon != std::string::npos) {
            request.headers[line.substr(0, colon)] = line.substr(line.find_first_not_of(' ', colon + 1));
        }
    }
    return request;
}

// The answer to give one connection: raw bytes, then a hang-up, an orderly
// close, or a connection held open (at most 30 s) until the client leaves.
struct http_answer {
    http_answer(std::string bytes = {}, bool reset = false) : raw(std::move(bytes)), hang_up(reset) {}

    std::string raw;
    bool hang_up = false;              // a reset rather than an orderly close
    size_t filler = 0;                 // after raw, this many more bytes, sent piece by piece
    bool hold = false;                 // after all that, keep the connection open
    int trickle_ms = 0;                // while held, one more byte every trickle_ms
    std::function<void()> on_request;  // called once the request is in, before answering

    static http_answer status(int code, const std::string& extra_headers = "",
                              const std::string& body = "ok") {
        return {"HTTP/1.1 " + std::to_string(code) +
                " Status\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n" + extra_headers + "\r\n" + body};
    }
    static http_answer silent() {
        http_answer answer;
        answer.hold = true;
        return answer;
    }
};

class loopback_server {
public:
    explicit loopback_server(std::vector<http_answer> answers) : answers_(std::move(answers)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;  // a free port
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 4);
        int size = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~loopback_server() {
        stop_ = true;
        thread_.join();
        closesocket(listener_);
        WSACleanup();
    }
    loopback_server(const loopback_server&) = delete;
    loopback_server& operator=(const loopback_server&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path = "/submitter.php") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // How many bytes of each answer reached the client.
    std::vector<size_t> delivered() {
        requests();
        return delivered_;
    }
    // The raw requests received so far; complete once the server stopped.
    std::vector<std::string> requests() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
            thread_ = std::thread([] {});
        }
        return requests_;
    }

private:
    // Waits at most ten seconds for each connection and each read.
    bool wait_readable(SOCKET socket) {
        for (int waited = 0; waited < 100 && !(stop_ && socket == listener_); ++waited) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(socket, &set);
            timeval tick{0, 100000};
            if (select(0, &set, nullptr, nullptr, &tick) > 0) {
                return true;
            }
        }
        return false;
    }

    void serve() {
        for (const http_answer& answer : answers_) {
            if (!wait_readable(listener_)) {
                return;
            }
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) {
                return;
            }
            std::string raw;
            char buffer[8192];
            size_t wanted = std::string::npos;
            while ((wanted == std::string::npos || raw.size() < wanted) && wait_readable(client)) {
                const int got = recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    break;
                }
                raw.append(buffer, static_cast<size_t>(got));
                const size_t head_end = raw.find("\r\n\r\n");
                if (wanted == std::string::npos && head_end != std::string::npos) {
                    const http_request request = parse_request(raw);
                    const auto length = request.headers.find("Content-Length");
                    wanted =
                        head_end + 4 + (length != request.headers.end() ? std::stoul(length->second) : 0);
                }
            }
            requests_.push_back(raw);
            if (answer.on_request) {
                answer.on_request();
            }
            delivered_.push_back(deliver(client, answer));
            if (answer.hang_up) {
                // A reset rather than an orderly close.
                linger abort{1, 0};
                setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                           sizeof abort);
            } else {
                shutdown(client, SD_SEND);
            }
            closesocket(client);
        }
    }

    static size_t deliver(SOCKET client, const http_answer& answer) {
        size_t sent = 0;
        const auto send_some = [&](const char* data, size_t size) {
            const int count = send(client, data, static_cast<int>(size), 0);
            sent += count > 0 ? static_cast<size_t>(count) : 0;
            return count == static_cast<int>(size);
        };
        bool open = answer.raw.empty() || send_some(answer.raw.data(), answer.raw.size());
        const std::string piece(64 * 1024, 'x');
        for (size_t left = answer.filler; open && left > 0; left -= std::min(left, piece.size())) {
            open = send_some(piece.data(), std::min(left, piece.size()));
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (open && answer.hold && std::chrono::steady_clock::now() < until) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(client, &set);
            const long wait_ms = answer.trickle_ms > 0 ? answer.trickle_ms : 100;
            timeval tick{wait_ms / 1000, wait_ms % 1000 * 1000};
            if (select(0, &set, nullptr, nullptr, &tick) > 0) {
                char byte;
                open = recv(client, &byte, 1, 0) > 0;  // the client left
            } else if (answer.trickle_ms > 0) {
                open = send_some("x", 1);
            }
        }
        return sent;
    }

    std::vector<http_answer> answers_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::vector<std::string> requests_;
    std::vector<size_t> delivered_;
    std::thread thread_;
};

}  // namespace fakes
