// The product site's address, taken apart for the window and the post.
#include "submit/site_address.h"

std::string host_of(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    const size_t end = url.find_first_of("/:?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string submitter_url(const std::string& url) {
    const size_t scheme = url.find("://");
    const size_t authority = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t path = url.find('/', authority);
    return url.substr(0, path) + "/submitter.php";
}
