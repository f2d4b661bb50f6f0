// The value texts of the report's row writers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

// Fixed point with six decimals and "." whatever the locale: 1.000000,
// -0.500000; "Nan", "+Inf", "-Inf".
std::string fixed_six_text(float value);

// General format with up to 15 significant digits of the value widened to
// double: 0.1f gives 0.100000001490116, 1 gives 1; scientific ("1.5E-7",
// "1E20") below 0.00001 or beyond 15 integer digits; separator as given.
std::string general_text(float value, char decimal_separator);

// The four 16-bit parts, most significant first, joined by ".".
std::string driver_version_text(int64_t version);

// Bits 8 to 15, ".", bits 0 to 7: 0xFFFE0300 gives 3.0, 1024 gives 4.0.
std::string shader_version_text(uint32_t version);

// "0x" and the value in upper-case hexadecimal, at least digits digits:
// hex_id_text(0x10DE, 4) is "0x10DE", hex_id_text(0xA1, 2) "0xA1".
std::string hex_id_text(uint32_t value, int digits);

// The names of the bits set in value, in the order given, ", " between
// them; bits without a name as one hexadecimal number at the end; "none"
// for no bit.
std::string flag_names(uint32_t value, std::initializer_list<std::pair<uint32_t, const char*>> names);

// A number as people read it: a real of 1e9 or more, which the report writes
// with every digit ("340282346638528859811704183484516925440.000000"), in
// scientific notation ("3.402823e+38"); any other text as it is.
std::string readable_number_text(const std::string& value);
