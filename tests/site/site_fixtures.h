// What the site's tests run against: a real SQLite file, a real PostgreSQL
// server started for the test program (as the postgres user: the server
// refuses root), and a site serving on loopback.
#pragma once

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "site/api.h"
#include "site/database.h"
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

private:
    postgres_server() {
        char folder[] = "/tmp/cavio-postgres-XXXXXX";
        folder_ = mkdtemp(folder);
        port_ = free_port();
        const std::string as_postgres = "runuser -u postgres -- ";
        running_ =
            shell("chown postgres " + folder_) == 0 &&
            shell(as_postgres + bin_ + "/initdb -D " + folder_ + "/data -A trust -U postgres >" + folder_ +
                  "/initdb.log 2>&1") == 0 &&
            shell(as_postgres + bin_ + "/pg_ctl -D " + folder_ + "/data -w -o \"-p " + std::to_string(port_) +
                  " -k " + folder_ + " -c listen_addresses=127.0.0.1 -c fsync=off\" -l " + folder_ +
                  "/log start >/dev/null 2>&1") == 0;
    }

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
    explicit running_site(const std::string& database, server_limits limits = {}) : server_(limits, nullptr) {
        result<std::unique_ptr<report_store>> opened = report_store::open(database);
        EXPECT_TRUE(opened) << (opened ? "" : opened.why().text());
        if (!opened) {
            return;
        }
        store_ = std::move(*opened);
        install_routes(server_, *store_);
        install_pages(server_, *store_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int wait = 0; wait < 2000 && !server_.is_running(); ++wait) {
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
