// The site as the open internet and its operators meet it: a crowd of slow
// clients beside a visitor, a database that restarts or vanishes, two
// processes on one database, an address already taken, a stop, a failure of
// its own, and a report an operator removes.
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <regex>

#include "site/site_fixtures.h"

extern char** environ;

namespace {

using namespace site_fixtures;
using std::chrono::milliseconds;
using std::chrono::seconds;
using std::chrono::steady_clock;

const std::string golden_report() {
    return read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json");
}

// What a log file holds, from its start; the file is closed.
std::string everything_in(std::FILE* log) {
    std::rewind(log);
    std::string text;
    char line[4096];
    while (std::fgets(line, sizeof line, log) != nullptr) {
        text += line;
    }
    std::fclose(log);
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// cavio-site itself, started with arguments, its standard error in a file.
class site_program {
public:
    explicit site_program(const std::vector<std::string>& arguments) {
        log_ = "/tmp/cavio-site-program-" + std::to_string(getpid()) + "-" + std::to_string(++started_);
        std::vector<std::string> words = {CAVIO_SITE_PROGRAM};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 2, log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
    }
    ~site_program() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::remove(log_.c_str());
    }
    // Whether it answers on port within a few seconds.
    static bool answers(int port) {
        httplib::Client client("127.0.0.1", port);
        for (int wait = 0; wait < 100; ++wait) {
            if (client.Get("/style.css")) {
                return true;
            }
            std::this_thread::sleep_for(milliseconds(50));
        }
        return false;
    }
    void signal(int number) const { kill(pid_, number); }
    // Its exit status, once it ended within the wait; -1 where it did not.
    int exit_status(seconds wait = seconds(15)) {
        const auto until = steady_clock::now() + wait;
        int status = 0;
        while (steady_clock::now() < until) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(milliseconds(20));
        }
        return -1;
    }
    std::string log() const { return read_file(log_); }

private:
    static inline int started_ = 0;
    pid_t pid_ = 0;
    std::string log_;
};

TEST(SiteUnderLoad, SlowAndIdleCrowdsDelayNobodyAndAreCutOff) {
    server_limits limits;
    limits.header_time = seconds(3);
    limits.first_request = seconds(6);
    running_site site(fresh_database("sqlite"), limits);
    httplib::Client visitor("127.0.0.1", site.port());
    ASSERT_EQ(201, visitor.Post("/api/reports", golden_report(), "application/json")->status);
    // 1,000 connections from 100 addresses: half send nothing, half send a
    // request's headers a byte at a time.
    std::vector<int> idle;
    std::vector<int> slow;
    for (int i = 0; i < 1000; ++i) {
        const int sock = connect_to(site.port(), "127.0.3." + std::to_string(1 + i % 100));
        ASSERT_GE(sock, 0) << "connection " << i;
        (i % 2 == 0 ? idle : slow).push_back(sock);
    }
    const std::string trickle = "GET / HTTP/1.1\r\nHost: x\r\nX-Slow: " + std::string(200, 'a');
    std::atomic<bool> done = false;
    std::thread trickler([&] {
        for (size_t at = 0; !done; at = (at + 1) % trickle.size()) {
            for (const int sock : slow) {
                send(sock, &trickle[at], 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            }
            std::this_thread::sleep_for(milliseconds(500));
        }
    });
    // Meanwhile a visitor gets every page: a server whose workers the crowd
    // held would leave it waiting past its client's time-out.
    visitor.set_read_timeout(5, 0);
    for (int i = 0; i < 20; ++i) {
        const httplib::Result page = visitor.Get(i % 2 == 0 ? "/" : "/reports/1?page=vk_features");
        EXPECT_TRUE(page && page->status == 200) << i;
    }
    // One of those addresses, which holds ten, is refused a seventeenth.
    std::vector<int> crowd;
    for (int i = 0; i < 7; ++i) {
        crowd.push_back(connect_to(site.port(), "127.0.3.7"));
    }
    char buffer[512] = {};
    pollfd last{crowd.back(), POLLIN, 0};
    EXPECT_EQ(1, poll(&last, 1, 3000));
    const ssize_t got = recv(crowd.back(), buffer, sizeof buffer - 1, MSG_DONTWAIT);
    EXPECT_EQ(0u, std::string(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0))).find("HTTP/1.1 429"))
        << buffer;
    // The headers' time cuts off the slow ones; the wait for a first request the idle ones.
    const auto closed_by_site = [](const std::vector<int>& socks, milliseconds within) {
        size_t closed = 0;
        const auto until = steady_clock::now() + within;
        for (const int sock : socks) {
            pollfd polled{sock, POLLIN, 0};
            const int left = static_cast<int>(std::max<int64_t>(
                0, std::chrono::duration_cast<milliseconds>(until - steady_clock::now()).count()));
            char byte;
            closed += poll(&polled, 1, left) == 1 && recv(sock, &byte, 1, 0) <= 0 ? 1 : 0;
        }
        return closed;
    };
    EXPECT_EQ(slow.size(), closed_by_site(slow, seconds(5)));
    done = true;
    trickler.join();
    EXPECT_EQ(idle.size(), closed_by_site(idle, seconds(6)));
    for (const auto* socks : {&idle, &slow, &crowd}) {
        for (const int sock : *socks) {
            close(sock);
        }
    }
    // A flood from one address is slowed.
    server_limits strict;
    strict.requests_per_second = 2;
    running_site flooded(fresh_database("sqlite"), strict);
    httplib::Client flooder("127.0.0.1", flooded.port());
    int slowed = 0;
    for (int i = 0; i < 30; ++i) {
        const httplib::Result answer = flooder.Get("/api/devices");
        slowed += answer && answer->status == 429 && answer->get_header_value("Retry-After") == "1" ? 1 : 0;
    }
    EXPECT_GT(slowed, 20);
}

TEST(SiteDatabase, PostgresqlRestartedIsServedAgainWithoutTheSite) {
    postgres_server& server = postgres_server::shared();
    running_site site(fresh_database("postgresql"));
    httplib::Client client("127.0.0.1", site.port());
    const std::string report = golden_report();
    ASSERT_EQ(201, client.Post("/api/reports", report, "application/json")->status);
    server.stop();
    const httplib::Result away =
        client.Post("/api/reports", replaced(report, "Golden Board 470", "B2"), "application/json");
    ASSERT_TRUE(away);
    EXPECT_EQ(503, away->status);
    EXPECT_EQ("5", away->get_header_value("Retry-After"));
    EXPECT_EQ(503, client.Get("/")->status);
    ASSERT_TRUE(server.start());
    const auto back = steady_clock::now();
    int status = 0;
    while (status != 200 && steady_clock::now() - back < seconds(10)) {
        const httplib::Result page = client.Get("/reports/1");
        status = page ? page->status : 0;
    }
    EXPECT_EQ(200, status);
    std::printf(
        "PostgreSQL back: pages served again after %lld ms\n",
        static_cast<long long>(std::chrono::duration_cast<milliseconds>(steady_clock::now() - back).count()));
    EXPECT_EQ(
        201,
        client.Post("/api/reports", replaced(report, "Golden Board 470", "B3"), "application/json")->status);
}

TEST(SiteDatabase, ASqliteFileGoneIsNeverAnsweredAsKept) {
    const std::string database = fresh_database("sqlite");
    const std::string path = database.substr(7);
    std::FILE* log = std::tmpfile();
    auto site = std::make_unique<running_site>(database, server_limits{}, log);
    httplib::Client client("127.0.0.1", site->port());
    const std::string report = golden_report();
    ASSERT_EQ(201, client.Post("/api/reports", report, "application/json")->status);
    for (const char* how : {"deleted", "replaced"}) {
        std::remove(path.c_str());
        std::remove((path + "-wal").c_str());
        std::remove((path + "-shm").c_str());
        if (std::string(how) == "replaced") {
            std::ofstream(path) << "not a database";
        }
        const httplib::Result post =
            client.Post("/api/reports", replaced(report, "Golden Board 470", how), "application/json");
        ASSERT_TRUE(post);
        EXPECT_EQ(503, post->status) << how << ": " << post->body;
    }
    site.reset();  // each log line is written after its answer: all are written once the site is gone
    const std::string logged = everything_in(log);
    EXPECT_NE(std::string::npos, logged.find("POST /api/reports: 503")) << logged;
    EXPECT_NE(std::string::npos, logged.find(": 503: The database: SQLite")) << logged;
    // A path that keeps nothing, or cannot be opened, is refused at start.
    for (const char* refused : {"sqlite:", "sqlite::memory:", "sqlite:/nonexistent-folder/cavio.db"}) {
        EXPECT_FALSE(report_store::open(refused)) << refused;
    }
}

TEST(SiteDatabase, AFailureOfTheSitesOwnIsA500ThatTheLogExplains) {
    const std::string database = fresh_database("sqlite");
    std::FILE* log = std::tmpfile();
    auto site = std::make_unique<running_site>(database, server_limits{}, log);
    httplib::Client client("127.0.0.1", site->port());
    ASSERT_EQ(201, client.Post("/api/reports", golden_report(), "application/json")->status);
    sqlite3* db = nullptr;
    sqlite3_open(database.substr(7).c_str(), &db);
    sqlite3_exec(db, "UPDATE pages SET body = x'00'", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const httplib::Result failed = client.Get("/reports/1?page=dx_device");
    ASSERT_TRUE(failed);
    EXPECT_EQ(500, failed->status);
    std::smatch incident;
    ASSERT_TRUE(std::regex_search(failed->body, incident, std::regex("it is logged as ([0-9]+)\\.")))
        << failed->body;
    // The path with a space cannot pass for a second field of its log line.
    client.Get("/no such page");
    site.reset();
    const std::string logged = everything_in(log);
    EXPECT_NE(std::string::npos,
              logged.find("incident " + incident[1].str() + ": Store: a kept page cannot be read back"))
        << logged;
    EXPECT_NE(std::string::npos, logged.find(" GET /no%20such%20page 404 ")) << logged;
}

TEST(SiteProgram, TwoProcessesServeOnePostgresqlDatabase) {
    const std::string database = fresh_database("postgresql");
    const int ports[] = {free_port(), free_port()};
    // Both start at once: the schema is made once, under a lock.
    site_program first({"--listen", "127.0.0.1:" + std::to_string(ports[0]), "--database", database});
    site_program second({"--listen", "127.0.0.1:" + std::to_string(ports[1]), "--database", database});
    ASSERT_TRUE(site_program::answers(ports[0])) << first.log();
    ASSERT_TRUE(site_program::answers(ports[1])) << second.log();
    const std::string report = golden_report();
    for (int round = 0; round < 3; ++round) {
        const std::string posted = replaced(report, "Golden Board 470", "Board " + std::to_string(round));
        int64_t ids[2] = {};
        std::thread posts[2];
        for (int i = 0; i < 2; ++i) {
            posts[i] = std::thread([&, i] {
                httplib::Client client("127.0.0.1", ports[i]);
                const httplib::Result made = client.Post("/api/reports", posted, "application/json");
                ids[i] = made && (made->status == 200 || made->status == 201)
                             ? nlohmann::json::parse(made->body)["id"].get<int64_t>()
                             : -1;
            });
        }
        posts[0].join();
        posts[1].join();
        EXPECT_GT(ids[0], 0);
        EXPECT_EQ(ids[0], ids[1]) << "the same report kept twice";
        for (const int port : ports) {
            httplib::Client reader("127.0.0.1", port);
            EXPECT_EQ(posted, reader.Get(("/api/reports/" + std::to_string(ids[0])).c_str())->body);
        }
    }
}

TEST(SiteProgram, StopsCleanlyAndRefusesAnAddressInUse) {
    const int port = free_port();
    const std::string listen = "127.0.0.1:" + std::to_string(port);
    site_program site({"--listen", listen, "--database", fresh_database("sqlite")});
    ASSERT_TRUE(site_program::answers(port)) << site.log();
    // A second site on the same address does not start.
    site_program second({"--listen", listen, "--database", fresh_database("sqlite")});
    EXPECT_EQ(1, second.exit_status());
    EXPECT_NE(std::string::npos, second.log().find("cavio-site: " + listen + " is already in use."))
        << second.log();
    // A post in flight at SIGTERM is answered; then the site ends.
    const std::string report = golden_report();
    const int sock = connect_to(port);
    const std::string head =
        "POST /api/reports HTTP/1.1\r\nHost: x\r\nContent-Type: application/json\r\n"
        "Content-Length: " +
        std::to_string(report.size()) + "\r\n\r\n";
    send(sock, head.data(), head.size(), MSG_NOSIGNAL);
    send(sock, report.data(), report.size() / 2, MSG_NOSIGNAL);
    std::this_thread::sleep_for(milliseconds(200));
    site.signal(SIGTERM);
    std::this_thread::sleep_for(milliseconds(200));
    send(sock, report.data() + report.size() / 2, report.size() - report.size() / 2, MSG_NOSIGNAL);
    std::string answer;
    char piece[4096];
    for (ssize_t got = 0; (got = recv(sock, piece, sizeof piece, 0)) > 0;) {
        answer.append(piece, static_cast<size_t>(got));
    }
    close(sock);
    EXPECT_EQ(0u, answer.find("HTTP/1.1 201 Created")) << answer;
    EXPECT_EQ(0, site.exit_status(seconds(12)));
    EXPECT_NE(std::string::npos, site.log().find("cavio-site: stopped")) << site.log();
}

TEST(SiteProgram, AnOperatorRemovesAReportAndItsAddressSaysWhy) {
    const std::string database = fresh_database("sqlite");
    const std::string report = golden_report();
    running_site site(database);
    httplib::Client client("127.0.0.1", site.port());
    // A machine busy with other work may take seconds to keep a report:
    // what the test asks for is an answer, whenever it comes.
    client.set_read_timeout(std::chrono::seconds(120));
    client.set_write_timeout(std::chrono::seconds(120));
    // Two reports of one device, and one of another device.
    for (const std::string& posted : {report, replaced(report, "8.17.18.19", "8.17.18.30"),
                                      replaced(replaced(report, "0x06CD", "0x06C0"), "Golden", "Lone")}) {
        const httplib::Result kept = client.Post("/api/reports", posted, "application/json");
        ASSERT_TRUE(kept) << httplib::to_string(kept.error());
        ASSERT_EQ(201, kept->status);
    }
    const auto run = [&](const std::string& arguments) {
        return shell(std::string(CAVIO_SITE_PROGRAM) + " --database " + database + " " + arguments +
                     " >/dev/null 2>&1") >>
               8;
    };
    EXPECT_EQ(2, run("--remove-report 2"));
    EXPECT_EQ(1, run("--remove-report 77 --reason spam"));
    EXPECT_EQ(0, run("--remove-report 2 --reason 'a machine name leaked'"));
    EXPECT_EQ(0, run("--remove-report 3 --reason spam"));
    for (const char* path : {"/reports/2", "/api/reports/2"}) {
        const httplib::Result gone = client.Get(path);
        ASSERT_TRUE(gone) << path;
        EXPECT_EQ(410, gone->status) << path;
        EXPECT_NE(std::string::npos, gone->body.find("was removed on ")) << gone->body;
        EXPECT_NE(std::string::npos, gone->body.find(": a machine name leaked")) << gone->body;
    }
    // The device keeps its other report and forgets the removed one's driver;
    // a device with no report left is gone; the report left reads whole.
    const auto got = [&](const std::string& path) {
        const httplib::Result answer = client.Get(path);
        EXPECT_TRUE(answer) << path;
        return answer ? std::pair{answer->status, answer->body} : std::pair{0, std::string()};
    };
    nlohmann::json board;
    const nlohmann::json devices = nlohmann::json::parse(got("/api/devices").second);
    for (const nlohmann::json& device : devices["devices"]) {
        board = device["device"] == "10de:06cd" ? device : board;
        EXPECT_NE("10de:06c0", device["device"]);
    }
    EXPECT_EQ(1, board["reports"]) << board.dump();
    EXPECT_EQ("8.17.18.19", board["driver_version"]) << board.dump();
    EXPECT_EQ(404, got("/devices/10de:06c0").first);
    EXPECT_EQ(report, got("/api/reports/1").second);
    const nlohmann::json covered = nlohmann::json::parse(
        got("/api/coverage?group=opengl&page=gl_extensions&name=GL_ARB_multitexture").second);
    EXPECT_EQ(1, covered["with"]);
    EXPECT_EQ("8.17.18.19", covered["devices_with"][0]["lowest_driver"]);
}

}  // namespace
