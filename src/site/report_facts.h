// What the store keeps of a report besides its pages: each adapter's
// identity and API versions, the device it is, and the report's content.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/document.h"

struct adapter_facts {
    std::string description;
    uint32_t vendor_id = 0;
    uint32_t device_id = 0;
    // The device the adapter is: "10de:06cd", or "name:" and the
    // description for a report without the IDs.
    std::string device_key;
    std::string device_name;  // the GPU row's name, else the description
    std::string vendor_name;  // "NVIDIA Corporation"; empty where unknown
    std::string driver_version;
    std::string driver_order;  // the driver version, each number zero-padded: sorts as versions do
    std::string d3d_level;     // the higher of the Direct3D 11 and 12 feature levels: "12_1"
    std::string gl_version;    // "4.6.0"
    std::string vk_version;    // "1.3.240"
    uint64_t page_mask = 0;    // bit i: the adapter has the page of id i
};

// Reads the facts from the adapter's pages (the DirectX Summary and Device
// pages, the Direct3D 11/12 page, the OpenGL and Vulkan Summaries).
adapter_facts facts_of(const adapter_report& adapter);

// BLAKE2b (its first 256 bits) of the report's content, in hex: its adapters, which groups were
// read, and each page's rows (kind, name, value), whatever the identifier,
// time, program or descriptions.
std::string content_hash(const report_document& document);

// BLAKE2b (its first 256 bits) of everything a page holds (its id, and each row's kind, name,
// value, description and submitted value, and the order it was written in),
// in hex: two pages of equal hashes are the same page.
std::string page_hash(const report_page& page);

// SHA-256 of bytes, in hex.
std::string sha256_hex(std::string_view bytes);

// The time now, in UTC: "2026-12-09T13:33:45Z".
std::string utc_now_text();

// zlib's deflate and inflate; inflate gives none for bytes that are not
// what deflate made, or more than limit bytes.
std::string deflated(std::string_view bytes);
bool inflate_into(std::string_view bytes, size_t limit, std::string& out);
