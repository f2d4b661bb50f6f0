// The site's edge between what a route did and what a client gets: every
// failure said truly (and each 5xx's cause logged), a browser's error as a
// page of the site, and what every answer carries.
#pragma once

#include <cstdio>
#include <exception>
#include <string>

#include "site/http_message.h"

// An input refused: status (4xx) and its one sentence.
void answer_refusal(site_response& response, int status, const std::string& sentence);

// The answer to a request whose route raised error: 503 with Retry-After
// where the database is away or its disk full, else 500 that names the
// incident; the cause goes to log either way.
void answer_failure(std::exception_ptr error, const site_request& request, site_response& response,
                    std::FILE* log);

// Last of all: a browser's error (text/plain from a route) becomes a page
// of the site; the headers that keep a report's texts from running; for a
// GET's 200 a validator, and 304 where the client holds that answer; gzip
// where the client takes it and it pays.
void finish_answer(const site_request& request, site_response& response);

// The status's phrase: "Not Found".
const char* status_phrase(int status);

// A text for a log line: every byte that is no printable ASCII, the space
// and "%" included, as %XX.
std::string loggable(std::string_view text);
