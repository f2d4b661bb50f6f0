// The fields of the submission's form post: their encoding and the
// identifier.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Percent-encodes a form value byte by byte: bytes 0x00 to 0x20 and 0x81 to
// 0xFF, and "#%*<>[]&=+", become "%" and two upper-case hex digits; every
// other byte stays as it is.
std::string encode_form_value(std::string_view value);

// "name=value&name=value" in the given order, values encoded, names not; a
// field with an empty value is left out.
std::string form_body(const std::vector<std::pair<std::string, std::string>>& fields);

// r * 4096 + (r XOR 0x6B9) for r from 0 to 4095: the two twelve-bit halves
// of every identifier XOR to 0x6B9.
uint32_t submission_identifier(uint32_t r);

// A fresh identifier, from a generator seeded from the system clock.
uint32_t draw_submission_identifier();
