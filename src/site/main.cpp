// cavio-site: the product's web site. Keeps every report that viewers and
// scripts post, and answers for them.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "site/api.h"
#include "site/pages.h"
#include "site/server.h"
#include "site/store.h"

#ifndef CAVIO_VERSION
#define CAVIO_VERSION "0"
#endif

namespace {

constexpr char usage[] =
    "usage: cavio-site [--listen ADDRESS:PORT] [--database DATABASE]\n"
    "\n"
    "Serves the Cavio report site: viewers post to /submitter.php, scripts to\n"
    "/api/reports; /api/reports, /api/devices, /api/coverage and /api/compare\n"
    "answer in JSON. One line per request goes to standard error.\n"
    "\n"
    "  --listen ADDRESS:PORT   where to listen (default 127.0.0.1:8080)\n"
    "  --database DATABASE     sqlite:FILE (default sqlite:cavio.db) or\n"
    "                          postgresql://USER@HOST:PORT/NAME\n"
    "  --help                  this text\n"
    "  --version               the program's version\n";

site_server* running = nullptr;

void stop(int) {
    if (running != nullptr) {
        running->stop();
    }
}

int usage_error(const std::string& what) {
    std::fprintf(stderr, "cavio-site: %s\n%s", what.c_str(), usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string listen = "127.0.0.1:8080";
    std::string database = "sqlite:cavio.db";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("cavio-site %s\n", CAVIO_VERSION);
            return 0;
        }
        if ((arg == "--listen" || arg == "--database") && i + 1 < argc) {
            (arg == "--listen" ? listen : database) = argv[++i];
        } else {
            return usage_error("unknown option " + arg);
        }
    }
    const size_t colon = listen.rfind(':');
    const int port = colon == std::string::npos ? 0 : std::atoi(listen.c_str() + colon + 1);
    if (port <= 0 || port > 65535) {
        return usage_error("--listen needs ADDRESS:PORT, such as 127.0.0.1:8080");
    }
    std::string host = listen.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    result<std::unique_ptr<report_store>> store = report_store::open(database);
    if (!store) {
        std::fprintf(stderr, "cavio-site: %s\n", store.why().text().c_str());
        return 1;
    }
    site_server server{server_limits{}};
    install_routes(server, **store);
    install_pages(server, **store);
    if (!server.bind_to_port(host, port)) {
        std::fprintf(stderr, "cavio-site: cannot listen on %s: %s\n", listen.c_str(), std::strerror(errno));
        return 1;
    }
    running = &server;
    std::signal(SIGINT, stop);
    std::signal(SIGTERM, stop);
    std::signal(SIGPIPE, SIG_IGN);
    std::fprintf(stderr, "cavio-site %s: listening on %s, %s\n", CAVIO_VERSION, listen.c_str(),
                 database.c_str());
    server.listen_after_bind();
    running = nullptr;
    return 0;
}
