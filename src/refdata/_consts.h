// Fixed reference data: the format-name tables and the OpenGL
// compressed-format list. Built once at start, read-only afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "refdata/qstring.h"

inline constexpr uint32_t d3d9_format_slots = 118;
inline constexpr uint32_t dxgi_format_slots = 89;

// Builds the reference data that is not a compile-time table; call once at
// start, before any window exists. Later calls do nothing.
void InitConsts();

// Name of a D3DFORMAT value without its D3DFMT_ prefix; empty for an unnamed
// value and for any value outside the 118 slots.
std::string_view d3d9_format_name(uint32_t value);

// Name of a DXGI_FORMAT value without its DXGI_FORMAT_ prefix; empty for any
// value outside the 89 slots.
std::string_view dxgi_format_name(uint32_t value);

// The vendor list's name for a PCI vendor identifier; empty when unlisted.
std::string vendor_name_of(uint32_t vendor_id);

// The device list's "Vendor: device" text for a PCI vendor and device
// identifier; empty when the database has no such device.
std::string gpu_name_of(uint32_t vendor_id, uint32_t device_id);

// Entries of the two PCI lists.
size_t vendor_list_size();
size_t device_list_size();

// The OpenGL compressed texture formats, in report order: the key is the
// enumerant's decimal value, the attached object holds its name.
int compressed_format_count();
const std::string& compressed_format_key(int index);
const tqstring& compressed_format_object(int index);
