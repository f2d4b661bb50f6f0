// The Submit button against a running Cavio site (CAVIO_SITE_URL, which
// tests/submit/round_trip.sh starts): the thank-you names the report's
// address on that site, which the script then reads back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "refdata/pci_names.h"
#include "submit/site_address.h"

namespace {

TEST(SubmitRoundTrip, TheButtonDeliversTheWholeReportAndSaysWhere) {
    const char* site = std::getenv("CAVIO_SITE_URL");
    ASSERT_NE(nullptr, site) << "run by tests/submit/round_trip.sh, which starts the site";
    init_reference_data();
    window_seams seams = default_window_seams();
    seams.submit_url = submitter_url(site);
    std::string thanked;
    std::string address;
    seams.thank_you = [&](HWND, const std::string& text, const std::string& link) {
        thanked = text;
        address = link;
    };
    std::vector<std::string> boxes;
    seams.message_box = [&](HWND, const std::string& text, UINT) {
        boxes.push_back(text);
        return IDOK;
    };
    main_window form(seams);
    ShowWindow(form.handle(), SW_SHOWNA);
    form.finish_capture();
    form.submit_report();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    EXPECT_EQ(0u, address.find(std::string(site) + "reports/")) << address;
    EXPECT_NE(std::string::npos, thanked.find("Thank You!"));
    std::printf("submitted: %s\n", address.c_str());
}

}  // namespace
