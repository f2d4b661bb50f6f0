// The site's HTTP server: cpp-httplib with every limit set, because anyone
// can post. A connection lives a bounded time whatever its client does; an
// address holds a bounded number of connections and requests a second; each
// request is one log line.
#pragma once

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

struct server_limits {
    size_t json_body = 64u << 20;           // POST /api/reports
    size_t form_body = 4u << 20;            // POST /submitter.php
    std::chrono::seconds connection{60};    // the longest a connection lives, slow clients included
    std::chrono::seconds read_timeout{10};  // silence while a request is read
    int threads = 16;                       // requests served at once
    int connections_per_address = 32;
    int requests_per_second = 50;  // per address, over a burst of twice that
};

class site_server : public httplib::Server {
public:
    explicit site_server(const server_limits& limits, std::FILE* log = stderr);

    const server_limits& limits() const { return limits_; }
    // Whether the address may make one more request now; false: answer 429.
    bool admit(const std::string& address);

private:
    // Serves one connection's requests through a stream whose every read
    // and write meets the connection's deadline.
    bool process_and_close_socket(socket_t sock) override;
    bool serve(socket_t sock);

    struct bucket {
        double tokens = 0;
        std::chrono::steady_clock::time_point filled;
    };

    server_limits limits_;
    std::FILE* log_;
    std::mutex lock_;
    std::map<std::string, int> per_address_;
    std::map<std::string, bucket> buckets_;
};

// The peer's address of a socket, as text.
std::string peer_address(socket_t sock);
