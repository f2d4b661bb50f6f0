// The parts of the product site's address that the window and the post use.
#pragma once

#include <string>

// The host of an http address: "cavio.example" of "http://cavio.example/x".
std::string host_of(const std::string& url);

// "cavio.example:8197" of "http://cavio.example:8197/x": the host and, where
// the address names one, the port.
std::string authority_of(const std::string& url);

// Whether url is an address the post can go to: "http://", a host, and
// where it names a port, a number.
bool is_plain_http_address(const std::string& url);

// "/submitter.php" on the host (and port) of an http address.
std::string submitter_url(const std::string& url);
