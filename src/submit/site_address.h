// The parts of the product site's address that the window and the post use.
#pragma once

#include <string>

// The host of an http address: "cavio.example" of "http://cavio.example/x".
std::string host_of(const std::string& url);

// "/submitter.php" on the host (and port) of an http address.
std::string submitter_url(const std::string& url);
