// Submit's errand: the form, then the whole report where the site asks for it.
#include "submit/delivery.h"

#include <chrono>
#include <utility>
#include <vector>

#include "submit/site_address.h"

namespace {

// "http://host:port" of an address.
std::string origin_of(const std::string& url) {
    const size_t scheme = url.find("://");
    const size_t path = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    return url.substr(0, path);
}

}  // namespace

result<delivery> deliver(http_component& http, const std::string& site, const std::string& submission,
                         const std::string& saved_report) {
    const std::vector<std::pair<std::string, std::string>> fields = {
        {"textlist", submission},
        {"id", std::to_string(draw_submission_identifier())},
    };
    // Both posts together within the component's deadline.
    const auto start = std::chrono::steady_clock::now();
    const std::chrono::milliseconds whole_deadline = http.deadline;
    const result<http_reply> taken = http.post(submitter_url(site), fields);
    if (!taken) {
        return taken.why();
    }
    delivery delivered;
    delivered.address = taken->header("Cavio-Report");
    delivered.already = taken->header("Cavio-Already") == "yes";
    const std::string whole = taken->header("Cavio-Whole-Report");
    // Only a place on the same site, named by its path.
    const auto spent =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (!whole.empty() && whole.front() == '/' && spent < whole_deadline) {
        http.deadline = whole_deadline - spent;
        delivered.whole = static_cast<bool>(
            http.post_body(origin_of(submitter_url(site)) + whole, "application/json", saved_report));
        http.deadline = whole_deadline;
    }
    return delivered;
}
