// What the site's tests run against: a real SQLite file, a real PostgreSQL
// server started for the test program (as the postgres user: the server
// refuses root), and a site serving on loopback.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "site/api.h"
#include "site/database.h"
#include "site/landscape_pages.h"
#include "site/pages.h"
#include "site/server.h"
#include "site/store.h"

namespace site_fixtures {

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline int free_port() {
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(sock, reinterpret_cast<sockaddr*>(&address), &size);
    close(sock);
    return ntohs(address.sin_port);
}

// A client socket connected to the site on loopback, bound first to from
// (any address of 127.0.0.0/8 reaches loopback: many visitors on one
// machine); -1 where it cannot connect.
inline int connect_to(int port, const std::string& from = "127.0.0.1") {
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(sock);
        return -1;
    }
    return sock;
}

// Sends raw bytes on a new connection and reads until the site closes it or
// the wait is over; what came back (and, where given, whether the site closed).
inline std::string raw_exchange(int port, const std::string& request, std::chrono::milliseconds wait,
                                bool* closed = nullptr) {
    const int sock = connect_to(port);
    send(sock, request.data(), request.size(), MSG_NOSIGNAL);
    timeval limit{static_cast<time_t>(wait.count() / 1000),
                  static_cast<suseconds_t>(wait.count() % 1000 * 1000)};
    setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string answer;
    char piece[4096];
    ssize_t got = 0;
    while ((got = recv(sock, piece, sizeof piece, 0)) > 0) {
        answer.append(piece, static_cast<size_t>(got));
    }
    if (closed != nullptr) {
        *closed = got == 0 || (got < 0 && errno == ECONNRESET);
    }
    close(sock);
    return answer;
}

inline int shell(const std::string& command) {
    return std::system(command.c_str());
}

// One PostgreSQL server for the whole test program, in a folder of its own,
// stopped when the program ends. A server that cannot start fails the tests
// that need it: they never skip.
class postgres_server {
public:
    static postgres_server& shared() {
        static postgres_server server;
        return server;
    }
    bool running() const { return running_; }
    // A new, empty database on the server.
    std::string fresh_database() {
        const std::string name = "cavio_test_" + std::to_string(++databases_);
        const std::string server = "postgresql://postgres@127.0.0.1:" + std::to_string(port_) + "/";
        open_postgresql(server + "postgres")->run("CREATE DATABASE " + name, {});
        return server + name;
    }
    ~postgres_server() {
        if (running_) {
            shell("runuser -u postgres -- " + bin_ + "/pg_ctl -D " + folder_ +
                  "/data -m immediate stop >/dev/null 2>&1");
        }
        shell("rm -rf " + folder_);
    }

    // Stops the server at once, as a crash or a restart would; start brings
    // it back on the same port.
    void stop() {
        shell(as_postgres_ + bin_ + "/pg_ctl -D " + folder_ + "/data -m fast -w stop >/dev/null 2>&1");
    }
    bool start() {
        return shell(as_postgres_ + bin_ + "/pg_ctl -D " + folder_ + "/data -w -o \"-p " +
                     std::to_string(port_) + " -k " + folder_ +
                     " -c listen_addresses=127.0.0.1 -c fsync=off\" -l " + folder_ +
                     "/log start >/dev/null 2>&1") == 0;
    }

private:
    postgres_server() {
        char folder[] = "/tmp/cavio-postgres-XXXXXX";
        folder_ = mkdtemp(folder);
        port_ = free_port();
        running_ = shell("chown postgres " + folder_) == 0 &&
                   shell(as_postgres_ + bin_ + "/initdb -D " + folder_ + "/data -A trust -U postgres >" +
                         folder_ + "/initdb.log 2>&1") == 0 &&
                   start();
    }

    const std::string as_postgres_ = "runuser -u postgres -- ";
    std::string bin_ = "/usr/lib/postgresql/15/bin";
    std::string folder_;
    int port_ = 0;
    int databases_ = 0;
    bool running_ = false;
};

// "sqlite:" a new file, or a new database on the shared PostgreSQL server.
inline std::string fresh_database(const std::string& engine) {
    if (engine == "postgresql") {
        EXPECT_TRUE(postgres_server::shared().running()) << "PostgreSQL did not start";
        return postgres_server::shared().fresh_database();
    }
    static int files = 0;
    const std::string path =
        "/tmp/cavio-site-test-" + std::to_string(getpid()) + "-" + std::to_string(++files) + ".db";
    std::remove(path.c_str());
    return "sqlite:" + path;
}

// A site serving on a free loopback port, in this process, until it goes.
class running_site {
public:
    explicit running_site(const std::string& database, server_limits limits = {}, std::FILE* log = nullptr)
        : server_(limits, log) {
        result<std::unique_ptr<report_store>> opened = report_store::open(database);
        EXPECT_TRUE(opened) << (opened ? "" : opened.why().text());
        if (!opened) {
            return;
        }
        store_ = std::move(*opened);
        install_routes(server_.routes(), *store_, server_.limits());
        install_pages(server_.routes(), *store_);
        install_landscape(server_.routes(), *store_);
        const result<int> bound = server_.listen("127.0.0.1", 0);
        EXPECT_TRUE(bound) << (bound ? "" : bound.why().text());
        port_ = bound ? *bound : 0;
        thread_ = std::thread([this] { server_.run(); });
        for (int wait = 0; wait < 2000 && !server_.running(); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~running_site() {
        server_.stop();
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    int port() const { return port_; }
    report_store& store() { return *store_; }

private:
    site_server server_;
    std::unique_ptr<report_store> store_;
    int port_ = 0;
    std::thread thread_;
};

// The golden submission with its CR LF line ends, as the viewer sends it.
inline std::string golden_submission() {
    std::string text;
    for (const char c : read_file(std::string(CAVIO_GOLDEN_DIR) + "/submission.txt")) {
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return text;
}

// The viewer's form encoding: "&", "=" and "+" stay raw inside the text.
inline std::string viewer_form(const std::string& text, const std::string& id = "1721") {
    std::string body = "textlist=";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x81 ||
            std::string_view("#%*<>[]&=+").find(c) != std::string_view::npos) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            body += escaped;
        } else {
            body += c;
        }
    }
    return body + "&id=" + id;
}

inline const std::string engines[] = {"sqlite", "postgresql"};

}  // namespace site_fixtures
