// A Vulkan structure member's value as the pages write it: numbers, flags
// by their bits' names, enums by their values', versions, vendors, bytes.
#include "report/vk_tables.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "probe/vk_records.h"
#include "refdata/pci_names.h"
#include "report/value_format.h"

namespace {

using enum vk_kind;

// ---- Values ----------------------------------------------------------------

template <typename T>
T read(const std::byte* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::string hex_bytes(const std::byte* at, uint32_t size) {
    std::string text;
    for (uint32_t i = 0; i < size; ++i) {
        // The usual grouping of a UUID: 4-2-2-2-6 bytes.
        if (size == 16 && (i == 4 || i == 6 || i == 8 || i == 10)) {
            text += '-';
        }
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned>(at[i]));
        text += digits;
    }
    return text;
}

std::string version_text(uint32_t version) {
    std::string text = std::to_string(VK_API_VERSION_MAJOR(version)) + "." +
                       std::to_string(VK_API_VERSION_MINOR(version)) + "." +
                       std::to_string(VK_API_VERSION_PATCH(version));
    // A variant other than Vulkan's own stands in front.
    return VK_API_VERSION_VARIANT(version) != 0 ? std::to_string(VK_API_VERSION_VARIANT(version)) + "." + text
                                                : text;
}

// NVIDIA writes 10.8.8.6 bits, Intel's Windows driver 18.14; the others
// follow Vulkan's own 3.10.12 bits (variant and major are one).
std::string driver_version_of(uint32_t version, uint32_t vendor) {
    if (vendor == 0x10DE) {
        return std::to_string(version >> 22) + "." + std::to_string((version >> 14) & 0xFF) + "." +
               std::to_string((version >> 6) & 0xFF) + "." + std::to_string(version & 0x3F);
    }
    if (vendor == 0x8086) {
        return std::to_string(version >> 14) + "." + std::to_string(version & 0x3FFF);
    }
    return std::to_string(version >> 22) + "." + std::to_string((version >> 12) & 0x3FF) + "." +
           std::to_string(version & 0xFFF);
}

std::string vendor_text(uint32_t vendor) {
    // Vendors without a PCI identifier have one of Khronos's.
    static constexpr std::pair<uint32_t, const char*> khronos[] = {
        {0x10001, "Vivante"},           {0x10002, "VeriSilicon"}, {0x10003, "Kazan Software"},
        {0x10004, "Codeplay Software"}, {0x10005, "Mesa"},        {0x10006, "PoCL"},
        {0x10007, "Mobileye"}};
    std::string name = vendor_name_of(vendor);
    for (const auto& [id, known] : khronos) {
        if (id == vendor) {
            name = known;
        }
    }
    return (name.empty() ? "unknown" : name) + " (" + hex_id_text(vendor, 4) + ")";
}

std::string driver_id_text(uint32_t id) {
    static constexpr const char* names[] = {nullptr,
                                            "AMD_PROPRIETARY",
                                            "AMD_OPEN_SOURCE",
                                            "MESA_RADV",
                                            "NVIDIA_PROPRIETARY",
                                            "INTEL_PROPRIETARY_WINDOWS",
                                            "INTEL_OPEN_SOURCE_MESA",
                                            "IMAGINATION_PROPRIETARY",
                                            "QUALCOMM_PROPRIETARY",
                                            "ARM_PROPRIETARY",
                                            "GOOGLE_SWIFTSHADER",
                                            "GGP_PROPRIETARY",
                                            "BROADCOM_PROPRIETARY",
                                            "MESA_LLVMPIPE",
                                            "MOLTENVK",
                                            "COREAVI_PROPRIETARY",
                                            "JUICE_PROPRIETARY",
                                            "VERISILICON_PROPRIETARY",
                                            "MESA_TURNIP",
                                            "MESA_V3DV",
                                            "MESA_PANVK",
                                            "SAMSUNG_PROPRIETARY",
                                            "MESA_VENUS",
                                            "MESA_DOZEN",
                                            "MESA_NVK",
                                            "IMAGINATION_OPEN_SOURCE_MESA"};
    const char* name = id < std::size(names) ? names[id] : nullptr;
    return (name != nullptr ? std::string(name) + " " : std::string()) + "(" + std::to_string(id) + ")";
}

std::string enum_name(uint32_t value, std::initializer_list<const char*> names) {
    return value < names.size() ? names.begin()[value] : std::to_string(value);
}

// Numbers of one element size, joined by " x ".
template <typename T, typename Format>
std::string joined(const std::byte* at, uint32_t size, Format format) {
    std::string text;
    for (uint32_t offset = 0; offset + sizeof(T) <= size; offset += sizeof(T)) {
        text += (text.empty() ? "" : " x ") + format(read<T>(at + offset));
    }
    return text;
}

}  // namespace

std::string vk_flag_names(uint64_t bits, std::span<const vk_name> names) {
    std::string text;
    for (const vk_name& bit : names) {
        const auto value = static_cast<uint64_t>(bit.value);
        if (bit.value > 0 && (value & (value - 1)) == 0 && (bits & value) != 0) {
            text += (text.empty() ? "" : ", ") + std::string(bit.name);
            bits &= ~value;
        }
    }
    if (bits != 0) {
        char rest[24];
        std::snprintf(rest, sizeof rest, "0x%llX", static_cast<unsigned long long>(bits));
        text += (text.empty() ? "" : ", ") + std::string(rest);
    }
    return text.empty() ? "none" : text;
}

std::string vk_enum_name(int64_t value, std::span<const vk_name> names) {
    for (const vk_name& name : names) {
        if (name.value == value) {
            return name.name;
        }
    }
    return "unknown (" + std::to_string(value) + ")";
}

std::pair<row_kind, std::string> vk_field_value(const vk_field& field, const std::byte* structure,
                                                const vk_device_record& device) {
    const std::byte* at = structure + field.offset;
    const uint32_t word = field.size >= 4 ? read<uint32_t>(at) : 0;
    const auto number_text = [](auto value) { return std::to_string(value); };
    switch (field.kind) {
        case number:
            return {row_kind::number, joined<uint32_t>(at, field.size, number_text)};
        case signed_number:
            return {row_kind::number, joined<int32_t>(at, field.size, number_text)};
        case real:
            return {row_kind::number,
                    joined<float>(at, field.size, [](float value) { return general_text(value, '.'); })};
        case size:
            return {row_kind::number, joined<uint64_t>(at, field.size, number_text)};
        case yes_no:
            return {row_kind::yes_no, word != 0 ? "yes" : "no"};
        case sample_counts: {
            std::string counts;
            for (uint32_t count = 1; count <= 64; count *= 2) {
                if ((word & count) != 0) {
                    counts += (counts.empty() ? "x" : " x") + std::to_string(count);
                }
            }
            return {row_kind::text, counts.empty() ? "none" : counts};
        }
        case shader_stages:
            return {row_kind::text, flag_names(word, {{0x1, "vertex"},
                                                      {0x2, "tessellation control"},
                                                      {0x4, "tessellation evaluation"},
                                                      {0x8, "geometry"},
                                                      {0x10, "fragment"},
                                                      {0x20, "compute"},
                                                      {0x40, "task"},
                                                      {0x80, "mesh"},
                                                      {0x100, "ray generation"},
                                                      {0x200, "any hit"},
                                                      {0x400, "closest hit"},
                                                      {0x800, "miss"},
                                                      {0x1000, "intersection"},
                                                      {0x2000, "callable"}})};
        case subgroup_operations:
            return {row_kind::text, flag_names(word, {{0x1, "basic"},
                                                      {0x2, "vote"},
                                                      {0x4, "arithmetic"},
                                                      {0x8, "ballot"},
                                                      {0x10, "shuffle"},
                                                      {0x20, "relative shuffle"},
                                                      {0x40, "clustered"},
                                                      {0x80, "quad"},
                                                      {0x100, "partitioned"}})};
        case resolve_modes:
            return {row_kind::text,
                    flag_names(word,
                               {{0x1, "sample zero"}, {0x2, "average"}, {0x4, "minimum"}, {0x8, "maximum"}})};
        case point_clipping:
            return {row_kind::text, enum_name(word, {"all clip planes", "user clip planes only"})};
        case float_controls:
            return {row_kind::text, enum_name(word, {"32-bit only", "all", "none"})};
        case driver_id:
            return {row_kind::text, driver_id_text(word)};
        case device_type:
            return {row_kind::text,
                    enum_name(word, {"other", "integrated GPU", "discrete GPU", "virtual GPU", "CPU"})};
        case api_version:
            return {row_kind::number, version_text(word)};
        case driver_version:
            return {row_kind::number, driver_version_of(word, device.properties.vendorID)};
        case vendor:
            return {row_kind::text, vendor_text(word)};
        case vk_kind::device: {
            const std::string name = gpu_name_of(device.properties.vendorID, word);
            return {row_kind::text, (name.empty() ? "unknown" : name) + " (" + hex_id_text(word, 4) + ")"};
        }
        case uuid:
        case luid:
            return {row_kind::text, hex_bytes(at, field.size)};
        case text:
            return {row_kind::text, std::string(reinterpret_cast<const char*>(at),
                                                strnlen(reinterpret_cast<const char*>(at), field.size))};
        case conformance:
            return {row_kind::number, std::to_string(static_cast<unsigned>(at[0])) + "." +
                                          std::to_string(static_cast<unsigned>(at[1])) + "." +
                                          std::to_string(static_cast<unsigned>(at[2])) + "." +
                                          std::to_string(static_cast<unsigned>(at[3]))};
        case signed_size:
            return {row_kind::number, joined<int64_t>(at, field.size, number_text)};
        case flags:
            return {row_kind::text, vk_flag_names(field.size >= 8 ? read<uint64_t>(at) : word, field.names)};
        case enumerated:
            return {row_kind::text, vk_enum_name(static_cast<int32_t>(word), field.names)};
        case bytes:
            return {row_kind::text, hex_bytes(at, field.size)};
    }
    return {row_kind::text, {}};
}
