// The site under a crowd: 20 visitors on kept-alive connections fetch the
// Devices page and a report's page as fast as they are answered, first alone,
// then beside 1,000 connections from 100 addresses that send nothing or a
// byte every few seconds (each one the site closes is opened again).
// Prints pages a second and the 50th and 99th percentile of each page.
//   site_load PORT [SECONDS]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using clock_type = std::chrono::steady_clock;

int connect_from(const std::string& from, int port) {
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
    const int on = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return sock;
}

// One GET on a kept-alive connection: whether a 200 came back whole.
bool fetch(int sock, const std::string& path) {
    const std::string request = "GET " + path + " HTTP/1.1\r\nHost: load\r\nAccept-Encoding: gzip\r\n\r\n";
    if (send(sock, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) {
        return false;
    }
    std::string answer;
    char piece[65536];
    size_t end = std::string::npos;
    size_t length = 0;
    for (;;) {
        const ssize_t got = recv(sock, piece, sizeof piece, 0);
        if (got <= 0) {
            return false;
        }
        answer.append(piece, static_cast<size_t>(got));
        if (end == std::string::npos && (end = answer.find("\r\n\r\n")) != std::string::npos) {
            const size_t field = answer.find("Content-Length: ");
            length = field < end ? std::strtoul(answer.c_str() + field + 16, nullptr, 10) : 0;
        }
        if (end != std::string::npos && answer.size() >= end + 4 + length) {
            return answer.starts_with("HTTP/1.1 200");
        }
    }
}

struct timings {
    std::vector<double> devices;
    std::vector<double> report;
    size_t failed = 0;
};

timings visit(int port, int visitors, std::chrono::seconds run, const std::string& report_path) {
    timings all;
    std::mutex lock;
    const auto until = clock_type::now() + run;
    std::vector<std::thread> threads;
    for (int v = 0; v < visitors; ++v) {
        threads.emplace_back([&, v] {
            timings own;
            int sock = connect_from("127.0.2." + std::to_string(1 + v), port);
            for (int i = 0; clock_type::now() < until; ++i) {
                const bool devices = i % 2 == 0;
                const auto start = clock_type::now();
                const bool served = sock >= 0 && fetch(sock, devices ? "/" : report_path);
                const double ms =
                    std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
                if (!served) {
                    ++own.failed;
                    close(sock);
                    sock = connect_from("127.0.2." + std::to_string(1 + v), port);
                    continue;
                }
                (devices ? own.devices : own.report).push_back(ms);
            }
            close(sock);
            const std::lock_guard<std::mutex> hold(lock);
            all.devices.insert(all.devices.end(), own.devices.begin(), own.devices.end());
            all.report.insert(all.report.end(), own.report.begin(), own.report.end());
            all.failed += own.failed;
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return all;
}

double percentile(std::vector<double> times, double share) {
    if (times.empty()) {
        return 0;
    }
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, static_cast<size_t>(times.size() * share))];
}

void print(const char* what, const timings& done, int seconds) {
    std::printf(
        "%-44s %6.0f pages/s  Devices p50 %6.1f ms p99 %6.1f ms  Report p50 %6.1f ms p99 %6.1f ms  failed "
        "%zu\n",
        what, (done.devices.size() + done.report.size()) / static_cast<double>(seconds),
        percentile(done.devices, 0.5), percentile(done.devices, 0.99), percentile(done.report, 0.5),
        percentile(done.report, 0.99), done.failed);
}

// 1,000 connections from 127.0.3.1 to 127.0.3.100: even ones send nothing,
// odd ones a byte of a request's headers every two seconds; each the site
// closes is opened again, as a patient attacker would.
class crowd {
public:
    explicit crowd(int port) : port_(port), thread_([this] { hold(); }) {}
    ~crowd() {
        done_ = true;
        thread_.join();
    }
    size_t reopened() const { return reopened_; }

private:
    void hold() {
        std::vector<int> socks(1000, -1);
        const std::string trickle = "GET / HTTP/1.1\r\nHost: load\r\nX-Slow: " + std::string(4000, 'a');
        size_t at = 0;
        while (!done_) {
            for (size_t i = 0; i < socks.size(); ++i) {
                if (socks[i] < 0) {
                    socks[i] = connect_from("127.0.3." + std::to_string(1 + i % 100), port_);
                    continue;
                }
                pollfd polled{socks[i], POLLIN, 0};
                char byte;
                if (poll(&polled, 1, 0) == 1 && recv(socks[i], &byte, 1, MSG_DONTWAIT) <= 0) {
                    close(socks[i]);
                    socks[i] = -1;
                    ++reopened_;
                } else if (i % 2 == 1) {
                    send(socks[i], &trickle[at % trickle.size()], 1, MSG_NOSIGNAL | MSG_DONTWAIT);
                }
            }
            ++at;
            for (int wait = 0; wait < 20 && !done_; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        }
        for (const int sock : socks) {
            close(sock);
        }
    }

    int port_;
    std::atomic<bool> done_ = false;
    std::atomic<size_t> reopened_ = 0;
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: site_load PORT [SECONDS] [REPORT_PATH]\n", stderr);
        return 2;
    }
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    const int port = std::atoi(argv[1]);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const std::string report_path = argc > 3 ? argv[3] : "/reports/1?page=vk_features";
    constexpr int visitors = 20;
    print("20 visitors alone", visit(port, visitors, std::chrono::seconds(seconds), report_path), seconds);
    {
        crowd slow(port);
        std::this_thread::sleep_for(std::chrono::seconds(3));  // the crowd gathers
        print("20 visitors beside 1,000 idle or slow",
              visit(port, visitors, std::chrono::seconds(seconds), report_path), seconds);
        std::printf("(connections the site closed on the crowd and were opened again: %zu)\n",
                    slow.reopened());
    }
    return 0;
}
