// The site's HTTP on the wire, as raw bytes: RFC 9112's framing held
// strictly, each refusal with its status and sentence, pipelined and HEAD
// requests, and what answers carry (validators, gzip, a browser's error page).
#include <gtest/gtest.h>
#include <httplib.h>
#include <zlib.h>

#include "site/html.h"
#include "site/site_fixtures.h"

namespace {

using namespace site_fixtures;
using std::chrono::milliseconds;

class Framing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_limits limits;
        limits.requests_per_second = 0;
        site_ = new running_site(fresh_database("sqlite"), limits);
        httplib::Client client("127.0.0.1", site_->port());
        client.Post("/api/reports", read_file(std::string(CAVIO_GOLDEN_DIR) + "/report.json"),
                    "application/json");
        client.Post("/submitter.php", viewer_form(golden_submission()), "application/x-www-form-urlencoded");
    }
    static void TearDownTestSuite() { delete site_; }

    static std::string exchange(const std::string& request, bool* closed = nullptr) {
        return raw_exchange(site_->port(), request, milliseconds(3000), closed);
    }

    static running_site* site_;
};

running_site* Framing::site_ = nullptr;

std::string status_line(const std::string& answer) {
    return answer.substr(0, answer.find("\r\n"));
}

TEST_F(Framing, EachMalformedRequestIsRefusedWithItsStatusAndClosed) {
    const std::string host = "Host: x\r\n";
    const std::string big_form(5u << 20, 'a');
    std::string chunked_form =
        "POST /submitter.php HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (int i = 0; i < 5; ++i) {
        chunked_form += "100000\r\n" + std::string(1u << 20, 'a') + "\r\n";
    }
    chunked_form += "0\r\n\r\n";
    std::string many_fields = "GET / HTTP/1.1\r\n" + host;
    for (int i = 0; i < 101; ++i) {
        many_fields += "X-" + std::to_string(i) + ": 1\r\n";
    }
    struct refusal {
        const char* what;
        std::string request;
        const char* status;
        const char* sentence;
    };
    const refusal refused[] = {
        {"a header line without a colon", "GET / HTTP/1.1\r\n" + host + "NoColon\r\n\r\n", "400",
         "A header line has no colon."},
        {"a folded header", "GET / HTTP/1.1\r\n" + host + "X-A: 1\r\n 2\r\n\r\n", "400", "folded"},
        {"whitespace before the colon", "GET / HTTP/1.1\r\nHost : x\r\n\r\n", "400", "holds a space"},
        {"a bare LF", "GET / HTTP/1.1\nHost: x\n\n", "400", "without CR LF"},
        {"a request line of two parts", "GET /\r\n" + host + "\r\n", "400", "request line"},
        {"another HTTP version", "GET / HTTP/2.0\r\n" + host + "\r\n", "400", "request line"},
        {"no Host in HTTP/1.1", "GET / HTTP/1.1\r\n\r\n", "400", "Host"},
        {"two Hosts", "GET / HTTP/1.1\r\n" + host + host + "\r\n", "400", "Host"},
        {"conflicting lengths",
         "POST /api/reports HTTP/1.1\r\n" + host + "Content-Length: 3\r\nContent-Length: 4\r\n\r\nabc", "400",
         "Content-Length"},
        {"a malformed length", "POST /api/reports HTTP/1.1\r\n" + host + "Content-Length: 3x\r\n\r\nabc",
         "400", "Content-Length"},
        {"an encoding other than chunked",
         "POST /api/reports HTTP/1.1\r\n" + host + "Transfer-Encoding: gzip, chunked\r\n\r\n0\r\n\r\n", "400",
         "Transfer-Encoding"},
        {"chunked and a length",
         "POST /api/reports HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\nContent-Length: 3\r\n\r\n",
         "400", "never both"},
        {"a bad chunk size",
         "POST /api/reports HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\nzz\r\n", "400",
         "not framed"},
        {"a post without a length", "POST /api/reports HTTP/1.1\r\n" + host + "\r\n", "411",
         "Content-Length"},
        {"a target over 8 KB", "GET /?q=" + std::string(8200, 'a') + " HTTP/1.1\r\n" + host + "\r\n", "414",
         "longer than 8 KB"},
        {"a request line that never ends", "GET /?q=" + std::string(9000, 'a'), "414", "longer than 8 KB"},
        {"headers over 16 KB", "GET / HTTP/1.1\r\n" + host + "X-Big: " + std::string(17000, 'a') + "\r\n\r\n",
         "431", "larger than 16 KB"},
        {"more than 100 headers", many_fields + "\r\n", "431", "more than 100 headers"},
        {"a form over 4 MiB by its length",
         "POST /submitter.php HTTP/1.1\r\n" + host + "Content-Length: " + std::to_string(big_form.size()) +
             "\r\n\r\n" + big_form,
         "413", "A submission is at most 4 MiB."},
        {"a chunked form over 4 MiB", chunked_form, "413", "A submission is at most 4 MiB."},
    };
    for (const refusal& r : refused) {
        SCOPED_TRACE(r.what);
        bool closed = false;
        const std::string answer = exchange(r.request, &closed);
        EXPECT_EQ(std::string("HTTP/1.1 ") + r.status, status_line(answer).substr(0, 12)) << answer;
        EXPECT_NE(std::string::npos, answer.find(r.sentence)) << answer;
        EXPECT_NE(std::string::npos, answer.find("Connection: close")) << answer;
        EXPECT_TRUE(closed);
    }
}

TEST_F(Framing, MethodsPipelinesAndOldClients) {
    // A known address and a method it does not take: 405 with what it takes.
    for (const auto& [request, allowed] :
         {std::pair{"DELETE /api/reports HTTP/1.1\r\nHost: x\r\n\r\n", "Allow: POST, GET, HEAD"},
          std::pair{"PUT /style.css HTTP/1.1\r\nHost: x\r\n\r\n", "Allow: GET, HEAD"},
          std::pair{"GET /submitter.php HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", "Allow: POST"}}) {
        const std::string answer = exchange(request);
        EXPECT_EQ("HTTP/1.1 405 Method Not Allowed", status_line(answer));
        EXPECT_NE(std::string::npos, answer.find(allowed)) << answer;
    }
    // Three requests in one write: three answers, in order; HEAD as GET without the body.
    const std::string css = site_stylesheet();
    const std::string answers = exchange(
        "GET /style.css HTTP/1.1\r\nHost: x\r\n\r\n"
        "GET /nothing HTTP/1.1\r\nHost: x\r\n\r\n"
        "HEAD /style.css HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const size_t first = answers.find("HTTP/1.1 200");
    const size_t second = answers.find("HTTP/1.1 404");
    const size_t third = answers.find("HTTP/1.1 200", first + 1);
    ASSERT_NE(std::string::npos, third) << answers;
    EXPECT_TRUE(first == 0 && first < second && second < third) << answers;
    EXPECT_NE(std::string::npos, answers.find(css)) << "the GET's body";
    EXPECT_EQ(answers.size(), answers.rfind("\r\n\r\n") + 4) << "HEAD carries no body";
    EXPECT_NE(std::string::npos, answers.find("Content-Length: " + std::to_string(css.size()), third));
    // HTTP/1.0, with no Host: served, then closed.
    bool closed = false;
    const std::string old = exchange("GET /style.css HTTP/1.0\r\n\r\n", &closed);
    EXPECT_EQ("HTTP/1.0 200 OK", status_line(old));
    EXPECT_TRUE(closed);
}

std::string gunzipped(const std::string& bytes) {
    z_stream stream{};
    inflateInit2(&stream, 15 + 32);
    std::string out(bytes.size() * 40 + 1024, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return status == Z_STREAM_END ? out : std::string("(not gzip)");
}

TEST_F(Framing, AnswersCarryValidatorsGzipAndPagesForBrowsers) {
    httplib::Client client("127.0.0.1", site_->port());
    // A kept report never changes; one still waiting for its whole report may.
    const httplib::Result saved = client.Get("/api/reports/1");
    ASSERT_TRUE(saved);
    EXPECT_EQ("public, max-age=31536000, immutable", saved->get_header_value("Cache-Control"));
    EXPECT_EQ("no-cache", client.Get("/api/reports/2")->get_header_value("Cache-Control"));
    const std::string tag = saved->get_header_value("ETag");
    EXPECT_FALSE(tag.empty());
    for (const std::string path : {"/api/reports/1", "/reports/1", "/"}) {
        const std::string held = client.Get(path.c_str())->get_header_value("ETag");
        const httplib::Result again = client.Get(path.c_str(), {{"If-None-Match", held}});
        ASSERT_TRUE(again) << path;
        EXPECT_EQ(304, again->status) << path;
        EXPECT_TRUE(again->body.empty()) << path;
        EXPECT_EQ(200, client.Get(path.c_str(), {{"If-None-Match", "W/\"other\""}})->status) << path;
    }
    // JSON and pages gzipped where the client takes it, as they are where not.
    client.set_decompress(false);
    const httplib::Result packed = client.Get("/api/reports/1", {{"Accept-Encoding", "br, gzip;q=0.5"}});
    EXPECT_EQ("gzip", packed->get_header_value("Content-Encoding"));
    EXPECT_EQ(saved->body, gunzipped(packed->body));
    EXPECT_LT(packed->body.size(), saved->body.size() / 4);
    EXPECT_EQ("", client.Get("/api/reports/1", {{"Accept-Encoding", "gzip;q=0"}})
                      ->get_header_value("Content-Encoding"));
    // An error: a page of the site for a browser, the sentence for the rest.
    const httplib::Result page = client.Get("/reports/999", {{"Accept", "text/html,application/xhtml+xml"}});
    EXPECT_EQ(404, page->status);
    EXPECT_NE(std::string::npos, page->get_header_value("Content-Type").find("text/html"));
    EXPECT_NE(std::string::npos, page->body.find("<nav aria-label=\"Site\">"));
    EXPECT_NE(std::string::npos, page->body.find("There is no report 999."));
    const httplib::Result text = client.Get("/reports/999");
    EXPECT_EQ("There is no report 999.\n", text->body);
    // A quote in a name goes into a form's attribute as a reference.
    const std::string coverage = client.Get("/coverage?page=gl_extensions&name=a%22b'c")->body;
    EXPECT_NE(std::string::npos, coverage.find("value=\"a&quot;b&#39;c\"")) << coverage.substr(0, 2000);
}

}  // namespace
