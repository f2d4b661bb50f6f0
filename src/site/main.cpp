// cavio-site: the product's web site. Keeps every report that viewers and
// scripts post, and answers for them; an operator removes a report from the
// command line.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/build_info.h"
#include "site/api.h"
#include "site/landscape_pages.h"
#include "site/pages.h"
#include "site/server.h"
#include "site/store.h"

namespace {

constexpr char usage[] =
    "usage: cavio-site [--listen ADDRESS:PORT] [--database DATABASE] [--requests-per-second N]\n"
    "       cavio-site [--database DATABASE] --remove-report ID --reason TEXT\n"
    "\n"
    "Serves the Cavio report site: viewers post to /submitter.php, scripts to\n"
    "/api/reports; /api/reports, /api/devices, /api/coverage and /api/compare\n"
    "answer in JSON. One line per request goes to standard error. SIGTERM or\n"
    "SIGINT stops it once the answers in flight are written.\n"
    "\n"
    "  --listen ADDRESS:PORT   where to listen (default 127.0.0.1:8080)\n"
    "  --database DATABASE     sqlite:FILE (default sqlite:cavio.db) or\n"
    "                          postgresql://USER@HOST:PORT/NAME\n"
    "  --requests-per-second N the most requests an address makes a second,\n"
    "                          over a burst of twice that (default 50; 0: no\n"
    "                          limit, for a site behind a proxy that limits)\n"
    "  --remove-report ID      removes report ID, keeping when and why; its\n"
    "                          address then answers 410 with the reason\n"
    "  --reason TEXT           why, as its address will say it\n"
    "  --help                  this text\n"
    "  --version               the program's version\n";

int usage_error(const std::string& what) {
    std::fprintf(stderr, "cavio-site: %s\n%s", what.c_str(), usage);
    return 2;
}

int remove_report(report_store& store, const std::string& id_text, const std::string& why) {
    const int64_t id = id_text.find_first_not_of("0123456789") == std::string::npos && !id_text.empty() &&
                               id_text.size() <= 12
                           ? std::stoll(id_text)
                           : 0;
    if (id <= 0) {
        return usage_error("--remove-report takes the number of a report");
    }
    try {
        const result<removed_report> removed = store.remove(id, why);
        if (!removed) {
            std::fprintf(stderr, "cavio-site: %s\n", removed.why().sentence.c_str());
            return 1;
        }
        std::printf("Report %lld removed on %s: %s\n", static_cast<long long>(id), removed->removed.c_str(),
                    why.c_str());
        return 0;
    } catch (const failure& error) {
        std::fprintf(stderr, "cavio-site: report %lld was not removed: %s\n", static_cast<long long>(id),
                     error.why().text().c_str());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string listen = "127.0.0.1:8080";
    std::string database = "sqlite:cavio.db";
    std::string removed;
    std::string why;
    bool removing = false;
    server_limits limits;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("cavio-site %s\n", program_version);
            return 0;
        }
        if (arg == "--requests-per-second" && i + 1 < argc) {
            const std::string rate = argv[++i];
            if (rate.empty() || rate.size() > 6 ||
                rate.find_first_not_of("0123456789") != std::string::npos) {
                return usage_error("--requests-per-second takes a number");
            }
            limits.requests_per_second = std::stoi(rate);
            continue;
        }
        if ((arg == "--listen" || arg == "--database" || arg == "--remove-report" || arg == "--reason") &&
            i + 1 < argc) {
            removing = removing || arg == "--remove-report";
            (arg == "--listen"     ? listen
             : arg == "--database" ? database
             : arg == "--reason"   ? why
                                   : removed) = argv[++i];
        } else {
            return usage_error("unknown option " + arg);
        }
    }
    if (removing && why.empty()) {
        return usage_error("--remove-report needs --reason TEXT: the removal keeps why");
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
        std::fprintf(stderr, "cavio-site: %s\n", store.why().message().c_str());
        return 1;
    }
    if (removing) {
        return remove_report(**store, removed, why);
    }
    std::signal(SIGPIPE, SIG_IGN);
    site_server server{limits};
    install_routes(server.routes(), **store, server.limits());
    install_pages(server.routes(), **store);
    install_landscape(server.routes(), **store);
    const result<int> bound = server.listen(host, port);
    if (!bound) {
        std::fprintf(stderr, "cavio-site: %s\n", bound.why().message().c_str());
        return 1;
    }
    std::fprintf(stderr, "cavio-site %s: listening on %s, %s\n", program_version, listen.c_str(),
                 database.c_str());
    server.run(true);
    std::fprintf(stderr, "cavio-site: stopped\n");
    return 0;
}
