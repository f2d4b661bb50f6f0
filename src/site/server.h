// The site's HTTP server: Boost.Beast on Asio. One network thread carries
// every connection, however slow its client; the routes' work (the database,
// the pages, compression) runs on a pool of its own, so a slow query never
// holds a connection's reads and writes. Anyone can post, so every limit is
// set: a request's headers arrive whole in a bounded time, an address holds
// a bounded number of connections and makes a bounded number of requests a
// second, bodies are refused past their limit before they are read, and the
// framing is held to RFC 9112. Each request is one log line.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "base/reason.h"
#include "site/http_framing.h"
#include "site/routes.h"

struct server_limits {
    size_t json_body = 64u << 20;            // POST /api/reports
    size_t form_body = 4u << 20;             // POST /submitter.php
    size_t other_body = 64u << 10;           // any other request's body, read and dropped
    std::chrono::seconds header_time{10};    // a request's headers, from its first byte
    std::chrono::seconds first_request{10};  // a new connection's wait for its first byte
    std::chrono::seconds keep_alive{5};      // a kept-alive connection's wait for the next request
    std::chrono::seconds body_time{60};      // a request's body
    std::chrono::seconds write_time{60};     // an answer
    std::chrono::seconds stop_time{10};      // answers in flight at a stop
    int database_threads = 8;                // the pool the routes run on
    int connections_per_address = 16;
    int requests_per_second = 50;  // per address, over a burst of twice that; 0: no limit
    framing_limits framing;
};

class site_server {
public:
    explicit site_server(const server_limits& limits, std::FILE* log = stderr);
    ~site_server();
    site_server(const site_server&) = delete;
    site_server& operator=(const site_server&) = delete;

    route_table& routes();
    const server_limits& limits() const;

    // Listens on host:port (port 0: one that is free) with a queue of 511,
    // and gives the port; why not where it cannot ("127.0.0.1:8080 is
    // already in use").
    result<int> listen(const std::string& host, int port);
    // Serves until stop (or SIGINT or SIGTERM, where stop_on_signals), then
    // returns once every answer in flight is written, at most stop_time later.
    void run(bool stop_on_signals = false);
    // Stops taking connections and requests; from any thread.
    void stop();
    // Whether run is serving.
    bool running() const;

private:
    struct state;
    std::unique_ptr<state> state_;
};

// Raises the process's open-file limit to the most the system allows: each
// connection is a descriptor.
void raise_open_file_limit();
