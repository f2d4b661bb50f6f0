// The one rule of what a row's value says about a device: whether the
// device has what the row names. Coverage counts by it, the store keeps it
// with each value, and the pages colour a zero by it.
#pragma once

#include <string_view>

// The words by which the page writers say a device lacks something, on
// every kind of page: "no" (yes/no rows), "none" (a Vulkan format's
// features, an empty flag set), "not supported" (a Direct3D format or
// tier), "not available" (what could not be read), and the empty value.
inline constexpr std::string_view absence_words[] = {"no", "none", "not supported", "not available", ""};

// Whether a value counts as the device having the row: any value but an
// absence word and zero ("0", "0.0", "-0", "0x0", "0 MiB").
bool counts_as_present(std::string_view value);
