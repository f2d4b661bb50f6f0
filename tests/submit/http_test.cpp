// The submit button's form post, against a loopback HTTP server.
#include "fakes/loopback_server.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>

#include "app/main_window.h"
#include "refdata/pci_names.h"
#include "submit/delivery.h"
#include "submit/http_post.h"

namespace {

using fakes::http_answer;
using fakes::loopback_server;

// A standard form decoder, as a server would run it.
std::map<std::string, std::string> decode_form(const std::string& body) {
    std::map<std::string, std::string> fields;
    size_t start = 0;
    while (start <= body.size()) {
        const size_t end = std::min(body.find('&', start), body.size());
        const std::string pair = body.substr(start, end - start);
        const size_t equals = pair.find('=');
        std::string value;
        const std::string raw = equals == std::string::npos ? "" : pair.substr(equals + 1);
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '+') {
                value += ' ';
            } else if (raw[i] == '%' && i + 2 < raw.size()) {
                value += static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                value += raw[i];
            }
        }
        fields[pair.substr(0, equals)] = value;
        start = end + 1;
    }
    return fields;
}

bool halves_xor_to_6b9(const std::string& id) {
    const unsigned long value = std::stoul(id);
    return value <= 0xFFFFFF && ((value >> 12) ^ (value & 0xFFF)) == 0x6B9;
}

class Submit : public ::testing::Test {
protected:
    std::vector<std::string> messages;

    Submit() { init_reference_data(); }

    std::unique_ptr<main_window> window(const std::string& submit_url) {
        window_seams seams = default_window_seams();
        seams.message_box = [this](HWND, const std::string& text, UINT) {
            messages.push_back(text);
            return IDOK;
        };
        seams.submit_url = submit_url;
        return std::make_unique<main_window>(seams);
    }
};

const std::string awkward_text =
    "%2.00%\r\n|card|\r\n@directx@\r\n\r\n!dx_summary!\r\nDevice\tR&D [board] #1 <x> *\r\n"
    "GL_POINT_SIZE_RANGE\t+Inf     a=b\r\nVendor\t\xC9t\xE9 \x80\x81\xFF\x7F!@|\r\n";

TEST_F(Submit, PostsTheReportAndItsIdentifierAsAFormPost) {
    loopback_server server({http_answer::status(200)});
    auto form = window(server.url());
    form->submission = awkward_text;
    form->submit_report();
    ASSERT_EQ((std::vector<std::string>{"Data sent to server.\r\n\r\nThank You!"}), messages);

    const auto requests = server.requests();
    ASSERT_EQ(1u, requests.size());
    const fakes::http_request request = fakes::parse_request(requests[0]);
    EXPECT_EQ("POST", request.method);
    EXPECT_EQ("/submitter.php", request.path);
    EXPECT_EQ("HTTP/1.1", request.version);
    EXPECT_EQ("text/html, */*", request.headers.at("Accept"));
    EXPECT_EQ("Mozilla/3.0 (compatible; Indy Library)", request.headers.at("User-Agent"));
    EXPECT_EQ("application/x-www-form-urlencoded", request.headers.at("Content-Type"));
    EXPECT_EQ("127.0.0.1:" + std::to_string(server.port()), request.headers.at("Host"));
    EXPECT_EQ(std::to_string(request.body.size()), request.headers.at("Content-Length"));
    EXPECT_EQ(0u, request.headers.count("Authorization"));

    EXPECT_EQ(0u,
              request.body.find("textlist=%252.00%25%0D%0A|card|%0D%0A@directx@%0D%0A%0D%0A!dx_summary!"));
    EXPECT_NE(std::string::npos, request.body.find("R%26D%20%5Bboard%5D%20%231%20%3Cx%3E%20%2A"));
    EXPECT_NE(std::string::npos, request.body.find("%2BInf"));
    EXPECT_NE(std::string::npos, request.body.find("a%3Db"));
    EXPECT_NE(std::string::npos, request.body.find("%C9t%E9%20\x80%81%FF\x7F!@|"));
    EXPECT_NE('\n', request.body.back());
    const auto fields = decode_form(request.body);
    ASSERT_EQ(2u, fields.size());
    EXPECT_EQ(awkward_text, fields.at("textlist"));
    EXPECT_TRUE(halves_xor_to_6b9(fields.at("id"))) << fields.at("id");
    EXPECT_EQ(request.body.rfind("&id=") + 4 + fields.at("id").size(), request.body.size());
}

TEST_F(Submit, AnEmptyReportSendsTheIdentifierAlone) {
    loopback_server server({http_answer::status(200)});
    auto form = window(server.url());
    form->submit_report();
    const auto requests = server.requests();
    ASSERT_EQ(1u, requests.size());
    const std::string body = fakes::parse_request(requests[0]).body;
    ASSERT_EQ(0u, body.find("id="));
    EXPECT_TRUE(halves_xor_to_6b9(body.substr(3)));
}

TEST_F(Submit, EveryFailureSaysWhyAndTheWindowGoesOn) {
    // A port with nobody listening.
    int closed_port = 0;
    {
        loopback_server gone({});
        closed_port = gone.port();
    }
    const std::string ok = "HTTP/1.1 200 OK\r\n";
    // Each answer, and why it is refused: the status, or what went wrong.
    const std::vector<std::pair<http_answer, std::string>> failures = {
        {http_answer::status(500), "The server answered 500 Status."},
        {http_answer::status(404), "The server answered 404 Status."},
        {http_answer::status(302, "Location: http://elsewhere.example/\r\n"),
         "The server answered 302 Status."},
        {{ok + "Content-Length: 5000\r\n\r\npart", true},
         "The answer "},  // reset mid-answer: broke off, or cut short
        {{ok + "Content-Length: 5000\r\n\r\npart"}, "The answer was cut short."},
        {{ok + "Transfer-Encoding: chunked\r\n\r\n10\r\nabcdef"}, "The answer was cut short."},
        {{ok + "Transfer-Encoding: chunked\r\n\r\n6\r\nabcdef\r\n"}, "The answer was cut short."},
        {{ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\n"}, "Not a chunk size: zz."},
        {{"hello\r\n\r\n"}, "Not an HTTP answer: hello."},
    };
    std::vector<http_answer> answers;
    for (const auto& [answer, reason] : failures) {
        answers.push_back(answer);
    }
    loopback_server failing(answers);
    auto form = window(failing.url());
    form->submission = "%2.00%\r\n";
    for (size_t i = 0; i < failures.size(); ++i) {
        form->submit_report();
    }
    auto refused = window("http://127.0.0.1:" + std::to_string(closed_port) + "/submitter.php");
    refused->submit_report();
    ASSERT_EQ(failures.size() + 1, messages.size());
    const std::string sentence = "Can't send data to server.\r\n\r\n";
    for (size_t i = 0; i < failures.size(); ++i) {
        EXPECT_EQ(0u, messages[i].find(sentence + failures[i].second)) << messages[i];
    }
    // Winsock's error, in the system's words and by its number.
    EXPECT_EQ(0u, messages.back().find(sentence +
                                       "Cannot connect to 127.0.0.1:" + std::to_string(closed_port) + ": "))
        << messages.back();
    EXPECT_NE(std::string::npos, messages.back().find(" (10061)."));
    EXPECT_EQ(failures.size(), failing.requests().size());

    // Still usable: every answer that arrives whole is thanked for.
    messages.clear();
    const std::vector<http_answer> whole = {
        http_answer::status(200),
        {ok +
         "Transfer-Encoding: chunked\r\n\r\n4;x=y\r\nabcd\r\nA\r\n0123456789\r\n0\r\nTrailer: 1\r\n\r\n"},
        {"HTTP/1.1 100 Continue\r\n\r\n" + ok + "Content-Length: 2\r\n\r\nok"},
        {ok + "Connection: close\r\n\r\nuntil the end"},
        {"HTTP/1.1 204 No Content\r\n\r\n"},
    };
    loopback_server working(whole);
    form = window(working.url());
    for (size_t i = 0; i < whole.size(); ++i) {
        form->submit_report();
    }
    EXPECT_EQ(std::vector<std::string>(whole.size(), "Data sent to server.\r\n\r\nThank You!"), messages);
}

TEST_F(Submit, AServerThatStallsMeetsTheDeadline) {
    http_answer trickling("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
    trickling.hold = true;
    trickling.trickle_ms = 100;
    loopback_server server({http_answer::silent(), trickling});
    auto form = window(server.url());
    form->http->deadline = std::chrono::milliseconds(1500);
    for (int i = 0; i < 2; ++i) {
        const auto start = std::chrono::steady_clock::now();
        form->submit_report();
        const auto took = std::chrono::steady_clock::now() - start;
        // Without the deadline the post would end only when the server
        // gives up, after 30 s.
        EXPECT_GE(took, std::chrono::milliseconds(1400)) << i;
        EXPECT_LT(took, std::chrono::seconds(15)) << i;
    }
    EXPECT_EQ(std::vector<std::string>(2, "Can't send data to server.\r\n\r\nThe server went silent."),
              messages);
    EXPECT_EQ(std::chrono::seconds(60), http_component().deadline);

    // Meanwhile the component lets its owner paint, some ten times a second.
    loopback_server silent({http_answer::silent()});
    http_component http;
    http.deadline = std::chrono::milliseconds(1000);
    int calls = 0;
    http.waiting = [&calls] { ++calls; };
    EXPECT_EQ("the server went silent", http.post(silent.url(), {{"id", "1"}}).why().sentence);
    EXPECT_GE(calls, 5);
}

TEST_F(Submit, TheBodyOfAnErrorIsNotRead) {
    const size_t size = 64 << 20;
    http_answer large = http_answer::status(500, "", "");
    large.raw.replace(large.raw.find("Content-Length: 0"), 17, "Content-Length: " + std::to_string(size));
    large.filler = size;
    loopback_server server({large});
    auto form = window(server.url());
    form->submit_report();
    EXPECT_EQ(std::vector<std::string>{"Can't send data to server.\r\n\r\nThe server answered 500 Status."},
              messages);
    EXPECT_LT(server.delivered().at(0), size / 2);
}

TEST_F(Submit, KeysAndClicksDuringThePostDoNotReachTheMessageBox) {
    HWND main = nullptr;
    http_answer slow = http_answer::status(200);
    // Typed and clicked while the window cannot answer.
    slow.on_request = [&main] {
        PostMessageA(main, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageA(main, WM_CHAR, '\r', 1);
        PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(main, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(5, 5));
    };
    loopback_server server({slow});
    window_seams seams = default_window_seams();
    seams.submit_url = server.url();
    std::vector<UINT> waiting_at_box;
    seams.message_box = [&](HWND, const std::string& text, UINT) {
        messages.push_back(text);
        MSG message;
        for (const auto& [first, last] : {std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST},
                                          {WM_MOUSEFIRST, WM_MOUSELAST},
                                          {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}}) {
            if (PeekMessageA(&message, nullptr, first, last, PM_NOREMOVE)) {
                waiting_at_box.push_back(message.message);
            }
        }
        return IDOK;
    };
    main_window form(seams);
    main = form.handle();
    const auto status = [&form] {
        char text[256] = {};
        SendMessageA(form.controls().status_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    const std::string before = status();
    form.submit_report();
    EXPECT_EQ(std::vector<std::string>{"Data sent to server.\r\n\r\nThank You!"}, messages);
    EXPECT_EQ(std::vector<UINT>{}, waiting_at_box);
    EXPECT_EQ(before, status());
}

TEST_F(Submit, TheSessionKeepsCookiesBetweenClicks) {
    loopback_server server(
        {http_answer::status(200, "Set-Cookie: visit=4f2a9; Path=/\r\n"), http_answer::status(200)});
    auto form = window(server.url());
    form->submission = "%2.00%\r\n|card|\r\n";
    form->submit_report();
    form->submit_report();
    const auto requests = server.requests();
    ASSERT_EQ(2u, requests.size());
    const auto first = fakes::parse_request(requests[0]);
    const auto second = fakes::parse_request(requests[1]);
    EXPECT_EQ(0u, first.headers.count("Cookie"));
    EXPECT_EQ("visit=4f2a9", second.headers.at("Cookie"));
    EXPECT_EQ(decode_form(first.body).at("textlist"), decode_form(second.body).at("textlist"));
    EXPECT_TRUE(halves_xor_to_6b9(decode_form(first.body).at("id")));
    EXPECT_TRUE(halves_xor_to_6b9(decode_form(second.body).at("id")));
}

TEST(FormEncoding, BytesOfTheValueAndTheIdentifier) {
    EXPECT_EQ("%5BDevCaps%5D%09%0D%0A", encode_form_value("[DevCaps]\t\r\n"));
    EXPECT_EQ("%00%1F%20%81%FF", encode_form_value(std::string("\x00\x1F\x20\x81\xFF", 5)));
    EXPECT_EQ("\x7F\x80|@!-_.~abcXYZ019/?:;,'\"()$",
              encode_form_value("\x7F\x80|@!-_.~abcXYZ019/?:;,'\"()$"));
    EXPECT_EQ("%23%25%2A%3C%3E%26%3D%2B", encode_form_value("#%*<>&=+"));
    EXPECT_EQ("textlist=a%20b&id=7", form_body({{"textlist", "a b"}, {"id", "7"}}));
    EXPECT_EQ("id=7", form_body({{"textlist", ""}, {"id", "7"}}));

    EXPECT_EQ(0x6B9u, submission_identifier(0));
    EXPECT_EQ(0xFFFu * 4096 + (0xFFFu ^ 0x6B9u), submission_identifier(0xFFF));
    for (int i = 0; i < 200; ++i) {
        EXPECT_TRUE(halves_xor_to_6b9(std::to_string(draw_submission_identifier())));
    }
}

}  // namespace

namespace {

// Every answer a site can give Submit's errand: a new report with the place
// for its whole report, one already there, an older site that knows no whole
// report, a refusal, and no answer at all.
TEST(Delivery, EachAnswerOfASite) {
    const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n";
    struct answer {
        const char* what;
        std::vector<http_answer> answers;
        std::string address;  // empty: the form failed, or the site gives none
        bool already;
        bool whole;
        size_t requests;
    };
    const answer table[] = {
        {"new",
         {{ok + "Cavio-Report: http://site/reports/7\r\nCavio-Whole-Report: "
                "/api/reports/7/whole?token=ab\r\n\r\n"},
          {ok + "\r\n"}},
         "http://site/reports/7",
         false,
         true,
         2},
        {"already there, whole",
         {{ok + "Cavio-Report: http://site/reports/7\r\nCavio-Already: yes\r\n\r\n"}},
         "http://site/reports/7",
         true,
         false,
         1},
        {"an older site", {{ok + "\r\n"}}, "", false, false, 1},
        {"whole report refused",
         {{ok + "Cavio-Report: http://site/reports/8\r\nCavio-Whole-Report: "
                "/api/reports/8/whole?token=cd\r\n\r\n"},
          http_answer::status(409)},
         "http://site/reports/8",
         false,
         false,
         2},
    };
    for (const answer& a : table) {
        SCOPED_TRACE(a.what);
        loopback_server server(a.answers);
        http_component http;
        const result<delivery> delivered = deliver(http, server.url(), "%2.00%\r\n", "{\"format\": 1}");
        ASSERT_TRUE(delivered) << delivered.why().text();
        EXPECT_EQ(a.address, delivered->address);
        EXPECT_EQ(a.already, delivered->already);
        EXPECT_EQ(a.whole, delivered->whole);
        const auto requests = server.requests();
        ASSERT_EQ(a.requests, requests.size());
        EXPECT_EQ("/submitter.php", fakes::parse_request(requests[0]).path);
        if (a.requests == 2) {
            const fakes::http_request whole = fakes::parse_request(requests[1]);
            EXPECT_EQ(0u, whole.path.find("/api/reports/"));
            EXPECT_EQ("{\"format\": 1}", whole.body);
        }
    }
    // Refused, or nobody there: the reason.
    loopback_server refusing({http_answer::status(500)});
    http_component http;
    EXPECT_EQ("the server answered 500 Status", deliver(http, refusing.url(), "x", "{}").why().sentence);
    int closed_port = 0;
    {
        loopback_server gone({});
        closed_port = gone.port();
    }
    EXPECT_EQ("connect",
              deliver(http, "http://127.0.0.1:" + std::to_string(closed_port) + "/", "x", "{}").why().call);
}

}  // namespace
