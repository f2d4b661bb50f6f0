// A request's header block held to RFC 9112 before anything reads it: what
// a lenient parser would guess at (a folded line, a name with a space before
// its colon, a line without a colon) is refused, as are request lines and
// headers larger than the site takes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct framing_limits {
    size_t target = 8192;    // the request target; 414 past it
    size_t headers = 16384;  // the header fields, every line; 431 past it
    size_t fields = 100;     // 431 past it
};

struct header_block {
    enum class state { incomplete, complete, refused };
    state verdict = state::incomplete;
    size_t leading = 0;  // empty lines before the request line, which are skipped
    size_t size = 0;     // complete: the block's bytes after them, its empty line included
    int status = 0;      // refused: 400, 414 or 431
    std::string sentence;
};

// Reads the start of what a connection sent: the block complete, refused
// with its status and sentence, or incomplete (more must be read; the bytes
// so far break no limit).
header_block scan_header_block(std::string_view bytes, const framing_limits& limits = {});
