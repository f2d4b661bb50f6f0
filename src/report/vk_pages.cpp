// The eight Vulkan pages of one physical device.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "probe/vk_records.h"
#include "refdata/format_names.h"
#include "report/page_writer.h"
#include "report/page_writers.h"
#include "report/value_format.h"
#include "report/vk_tables.h"

namespace {

// The rows of one structure's table; every row not available where the
// device did not answer the structure.
void add_table(page_writer& page, const vk_table& table, const vk_device_record& device) {
    page.section(table.section, table.description);
    const std::byte* structure = structure_of(device, table.structure);
    for (const vk_field& field : table.fields) {
        if (structure == nullptr) {
            page.not_available(field.name, field.description);
        } else {
            auto [kind, value] = vk_field_value(field, structure, device);
            page.row(kind, field.name, std::move(value), field.description);
        }
    }
}

void add_tables(page_writer& page, std::span<const vk_table> tables, const vk_device_record& device) {
    for (size_t i = 0; i < tables.size(); ++i) {
        if (i > 0) {
            page.blank();
        }
        add_table(page, tables[i], device);
    }
}

void add_field(page_writer& page, const char* caption, std::string_view name,
               const vk_device_record& device) {
    const auto tables = vk_rows::device_tables();
    for (const vk_table& table : tables) {
        for (const vk_field& field : table.fields) {
            if (name != field.name) {
                continue;
            }
            const std::byte* structure = structure_of(device, table.structure);
            if (structure == nullptr) {
                page.not_available(caption, "");
            } else {
                auto [kind, value] = vk_field_value(field, structure, device);
                page.row(kind, caption, std::move(value), "");
            }
            return;
        }
    }
}

std::string format_features(uint32_t value) {
    return flag_names(value, {{0x1, "sampled"},
                              {0x1000, "linear filter"},
                              {0x10000, "min/max filter"},
                              {0x2000, "cubic filter"},
                              {0x2, "storage"},
                              {0x4, "storage atomic"},
                              {0x8, "uniform texel"},
                              {0x10, "storage texel"},
                              {0x20, "storage texel atomic"},
                              {0x40, "vertex"},
                              {0x80, "colour attachment"},
                              {0x100, "blend"},
                              {0x200, "depth-stencil"},
                              {0x400, "blit source"},
                              {0x800, "blit destination"},
                              {0x4000, "transfer source"},
                              {0x8000, "transfer destination"},
                              {0x20000, "midpoint chroma"},
                              {0x800000, "cosited chroma"},
                              {0x40000, "Y'CbCr linear filter"},
                              {0x80000, "separate reconstruction filter"},
                              {0x100000, "explicit reconstruction"},
                              {0x200000, "forceable explicit reconstruction"},
                              {0x400000, "disjoint planes"}});
}

// ---- Describing a format by its name ---------------------------------------

std::string type_words(std::string_view type) {
    static constexpr std::pair<std::string_view, const char*> types[] = {
        {"UNORM", "unsigned normalized"},
        {"SNORM", "signed normalized"},
        {"USCALED", "unsigned scaled"},
        {"SSCALED", "signed scaled"},
        {"UINT", "unsigned integer"},
        {"SINT", "signed integer"},
        {"UFLOAT", "unsigned floating point"},
        {"SFLOAT", "signed floating point"},
        {"SRGB", "sRGB-encoded"}};
    for (const auto& [name, words] : types) {
        if (type == name) {
            return words;
        }
    }
    return {};
}

std::string component_name(char letter) {
    switch (letter) {
        case 'R':
            return "red";
        case 'G':
            return "green";
        case 'B':
            return "blue";
        case 'A':
            return "alpha";
        case 'D':
            return "depth";
        case 'S':
            return "stencil";
        default:
            return "a shared exponent";
    }
}

// "R8G8B8A8" as "red, green, blue and alpha of 8 bits each"; components of
// different sizes each with their own.
std::string components_words(std::string_view token) {
    std::vector<std::pair<char, std::string>> parts;
    for (size_t i = 0; i < token.size();) {
        const char letter = token[i++];
        std::string bits;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9') {
            bits += token[i++];
        }
        parts.emplace_back(letter, bits);
    }
    bool same = true;
    for (const auto& part : parts) {
        same = same && part.second == parts.front().second && part.first != 'X' && part.first != 'E';
    }
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == parts.size() ? " and " : ", ");
        if (parts[i].first == 'X') {
            text += parts[i].second + " unused bits";
        } else {
            text += component_name(parts[i].first) + (same ? "" : " of " + parts[i].second + " bits");
        }
    }
    if (same) {
        text += " of " + parts.front().second + (parts.size() > 1 ? " bits each" : " bits");
    }
    return text;
}

bool is_components(std::string_view token) {
    return !token.empty() && std::string_view("RGBADSXE").find(token[0]) != std::string_view::npos &&
           token.find_first_of("0123456789") != std::string_view::npos &&
           token.find_first_not_of("RGBADSXE0123456789") == std::string_view::npos;
}

std::vector<std::string_view> split(std::string_view name) {
    std::vector<std::string_view> tokens;
    for (size_t start = 0; start <= name.size();) {
        const size_t end = std::min(name.find('_', start), name.size());
        tokens.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text + ".";
}

// One sentence on what a format holds, read from its published name.
std::string format_description(std::string_view name) {
    name.remove_prefix(std::string_view("VK_FORMAT_").size());
    const std::vector<std::string_view> tokens = split(name);
    const std::string_view last_type = [&] {
        for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
            if (!type_words(*it).empty()) {
                return *it;
            }
        }
        return std::string_view();
    }();
    if (tokens.back() == "BLOCK") {
        std::string what = std::string(tokens.front());
        if (what == "ASTC") {
            return capitalised("ASTC-compressed in blocks of " + std::string(tokens[1]) + " texels, " +
                               type_words(last_type));
        }
        return capitalised(what + "-compressed " + (tokens.size() > 3 ? std::string(tokens[1]) + ", " : "") +
                           type_words(last_type));
    }
    for (const char* subsampling : {"420", "422", "444"}) {
        for (const auto& token : tokens) {
            if (token == subsampling) {
                const std::string planes = name.find("3PLANE") != std::string_view::npos   ? "three planes"
                                           : name.find("2PLANE") != std::string_view::npos ? "two planes"
                                                                                           : "one plane";
                return capitalised("Y'CbCr with " + std::string(subsampling).insert(1, ":").insert(3, ":") +
                                   " chroma subsampling in " + planes + ", " + type_words(last_type));
            }
        }
    }
    std::string text;
    std::string pending;
    for (const auto& token : tokens) {
        if (is_components(token)) {
            pending += (pending.empty() ? "" : " and ") + components_words(token);
        } else if (!type_words(token).empty() && !pending.empty()) {
            text += (text.empty() ? "" : ", and ") + pending + ", " + type_words(token);
            pending.clear();
        } else if (token.ends_with("PACK8") || token.ends_with("PACK16") || token.ends_with("PACK32")) {
            const std::string_view bits = token.substr(token.find("PACK") + 4);
            text += token.front() >= '2' && token.front() <= '9'
                        ? ", packed in " + std::string(1, token.front()) + " words of " + std::string(bits) +
                              " bits"
                        : ", packed in " + std::string(bits) + " bits";
        }
    }
    return capitalised(text + (pending.empty() ? "" : (text.empty() ? "" : ", ") + pending));
}

const char* version_section(int since) {
    return since == 10   ? "[Vulkan 1.0 formats]"
           : since == 11 ? "[Vulkan 1.1 formats]"
                         : "[Vulkan 1.3 formats]";
}

// Bytes as the largest whole unit: "2048 MiB", "1536 KiB", "100 bytes".
std::string size_text(uint64_t bytes) {
    if (bytes != 0 && bytes % (uint64_t{1} << 30) == 0) {
        return std::to_string(bytes >> 30) + " GiB";
    }
    if (bytes != 0 && bytes % (uint64_t{1} << 20) == 0) {
        return std::to_string(bytes >> 20) + " MiB";
    }
    if (bytes != 0 && bytes % 1024 == 0) {
        return std::to_string(bytes >> 10) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

}  // namespace

namespace vulkan_pages {

void summary(page_writer& page, const vk_page_source& source) {
    const vk_device_record& device = source.device;
    add_field(page, "Device", "deviceName", device);
    add_field(page, "Type", "deviceType", device);
    add_field(page, "API version", "apiVersion", device);
    add_field(page, "Driver version", "driverVersion", device);
    page.blank();
    add_field(page, "Vendor", "vendorID", device);
    add_field(page, "GPU", "deviceID", device);
    page.blank();
    add_field(page, "Driver", "driverName", device);
    add_field(page, "Driver info", "driverInfo", device);
    add_field(page, "Conformance", "conformanceVersion", device);
    page.blank();
    add_field(page, "Device UUID", "deviceUUID", device);
    if (device.has_id && device.id.deviceLUIDValid == VK_FALSE) {
        page.text("Device LUID", "none", "");
    } else {
        add_field(page, "Device LUID", "deviceLUID", device);
    }
    page.text("Matched by", source.matched_by, "");
}

void device(page_writer& page, const vk_page_source& source) {
    add_tables(page, vk_rows::device_tables(), source.device);
}

void limits(page_writer& page, const vk_page_source& source) {
    add_table(page, vk_rows::limits_table(), source.device);
}

void features(page_writer& page, const vk_page_source& source) {
    add_tables(page, vk_rows::feature_tables(), source.device);
}

namespace {

// The structures of the device's extensions of one kind, a section each:
// its name, the extension that brings it, and a row per member.
void add_extension_structures(page_writer& page, const vk_page_source& source, bool features) {
    const auto structures = vk_extension_structures();
    bool any = false;
    for (const vk_structure_answer& answer : source.device.extension_structures) {
        if (answer.structure >= structures.size() || structures[answer.structure].features != features) {
            continue;
        }
        const vk_extension_structure& structure = structures[answer.structure];
        if (any) {
            page.blank();
        }
        any = true;
        std::string brought = std::string("Brought by ") + structure.extension + ".";
        if (structure.core_version != 0) {
            brought += " Part of Vulkan " + std::to_string(VK_API_VERSION_MAJOR(structure.core_version)) +
                       "." + std::to_string(VK_API_VERSION_MINOR(structure.core_version)) +
                       ", where the core pages show it.";
        }
        page.section("[" + std::string(structure.name) + "]", brought);
        for (const vk_field& field : structure.fields) {
            if (field.offset + field.size > answer.bytes.size()) {
                page.not_available(field.name, vk_description_of(field));
                continue;
            }
            auto [kind, value] = vk_field_value(field, answer.bytes.data(), source.device);
            page.row(kind, field.name, std::move(value), vk_description_of(field));
        }
    }
    if (!any) {
        page.text("No structure", "",
                  features ? "No extension of the device brings a feature structure."
                           : "No extension of the device brings a property structure.");
    }
}

}  // namespace

void extension_features(page_writer& page, const vk_page_source& source) {
    add_extension_structures(page, source, true);
}

void extension_properties(page_writer& page, const vk_page_source& source) {
    add_extension_structures(page, source, false);
}

namespace {

std::string extent_text(const VkExtent2D& extent) {
    return std::to_string(extent.width) + " x " + std::to_string(extent.height);
}

std::string format_name(uint32_t value) {
    for (const vk_format_entry& format : vk_core_formats()) {
        if (format.value == value) {
            return format.name;
        }
    }
    return "VkFormat " + std::to_string(value);
}

}  // namespace

void surface(page_writer& page, const vk_page_source& source) {
    const std::vector<vk_surface_record>& surfaces = source.device.surfaces;
    const auto found = std::find_if(surfaces.begin(), surfaces.end(),
                                    [&](const vk_surface_record& s) { return s.monitor == source.monitor; });
    if (found == surfaces.end()) {
#ifdef _WIN32
        page.not_available("Surface",
                           "The instance offers no VK_KHR_win32_surface, or the adapter has no monitor.");
#else
        page.not_available("Surface", "The instance offers no VK_KHR_xlib_surface, or there is no X display.");
#endif
        return;
    }
    const vk_surface_record& shown = *found;
    page.section("[Surface]", "A window on " + shown.device_name +
                                  ", never shown, and what the device can present to it.");
    if (!shown.failure.empty()) {
        page.not_available("Surface", shown.failure);
        return;
    }
    std::string families;
    int count = 0;
    for (size_t i = 0; i < shown.present_families.size(); ++i) {
        if (shown.present_families[i]) {
            families += (families.empty() ? "" : ", ") + std::to_string(i);
            ++count;
        }
    }
    families = count == 0 ? "none" : (count == 1 ? "family " : "families ") + families;
    // A text that reads as a number ("0", "1280 x 1024") is a number's row, as the window paints it.
    const auto text_or_number = [&](std::string_view name, std::string value, std::string_view description) {
        const bool number = !value.empty() && value.find_first_not_of("0123456789 x") == std::string::npos;
        page.row(number ? row_kind::number : row_kind::text, name, std::move(value), description);
    };
    page.text("Present from queue families", families,
              "The queue families that can present to the window, by their index on the Queues page.");
    page.blank();
    const VkSurfaceCapabilitiesKHR& caps = shown.capabilities;
    page.section("[VkSurfaceCapabilitiesKHR]", "What a swap chain on the window can be.");
    page.number("minImageCount", caps.minImageCount, "Fewest images a swap chain may have.");
    if (caps.maxImageCount == 0) {
        page.text("maxImageCount", "no limit", "Most images a swap chain may have.");
    } else {
        page.number("maxImageCount", caps.maxImageCount, "Most images a swap chain may have.");
    }
    text_or_number("currentExtent",
                   caps.currentExtent.width == 0xFFFFFFFF ? "as the swap chain sets it"
                                                          : extent_text(caps.currentExtent),
                   "Size of the window's surface now, in pixels.");
    text_or_number("minImageExtent", extent_text(caps.minImageExtent),
                   "Smallest size of a swap chain's images.");
    text_or_number("maxImageExtent", extent_text(caps.maxImageExtent),
                   "Largest size of a swap chain's images.");
    page.number("maxImageArrayLayers", caps.maxImageArrayLayers, "Most layers of a swap chain's images.");
    const auto named = [](uint64_t bits, const char* type) {
        return vk_flag_names(bits, vk_enum_names(type));
    };
    page.text("supportedTransforms", named(caps.supportedTransforms, "VkSurfaceTransformFlagBitsKHR"),
              "Turns and mirrors the presentation engine can apply.");
    page.text("currentTransform", named(caps.currentTransform, "VkSurfaceTransformFlagBitsKHR"),
              "The turn the surface has now, relative to the monitor.");
    page.text("supportedCompositeAlpha", named(caps.supportedCompositeAlpha, "VkCompositeAlphaFlagBitsKHR"),
              "How the window's alpha may be composited with what lies behind it.");
    page.text("supportedUsageFlags", named(caps.supportedUsageFlags, "VkImageUsageFlagBits"),
              "What a swap chain's images may be used for.");
    page.blank();
    page.section("[Formats]",
                 "Each format a swap chain's images may have, with the colour space it is shown in.");
    for (const VkSurfaceFormatKHR& format : shown.formats) {
        page.text(format_name(static_cast<uint32_t>(format.format)),
                  vk_enum_name(format.colorSpace, vk_enum_names("VkColorSpaceKHR")), "Surface format.");
    }
    page.blank();
    page.section("[Present modes]", "How a swap chain may wait for the display: FIFO is always offered.");
    for (const vk_name& mode : vk_enum_names("VkPresentModeKHR")) {
        const bool offered =
            std::find(shown.present_modes.begin(), shown.present_modes.end(),
                      static_cast<VkPresentModeKHR>(mode.value)) != shown.present_modes.end();
        page.yes_no(mode.name, offered, "VK_PRESENT_MODE_" + std::string(mode.name) + "_KHR");
    }
}

void extensions(page_writer& page, const vk_page_source& source) {
    page.section("[Device extensions]",
                 "The extensions the device offers, each at the revision it implements.");
    for (const vk_extension& extension : source.device.extensions) {
        page.number(extension.name, extension.spec_version, "Device extension, at this revision.");
    }
    page.blank();
    page.section("[Instance extensions]", "The extensions the instance offers to every device.");
    for (const vk_extension& extension : source.instance.extensions) {
        page.number(extension.name, extension.spec_version, "Instance extension, at this revision.");
    }
    page.blank();
    page.section("[Layers]", "The layers the loader offers, with the Vulkan version and their own.");
    for (const vk_layer& layer : source.instance.layers) {
        page.text(layer.name,
                  "Vulkan " + std::to_string(VK_API_VERSION_MAJOR(layer.spec_version)) + "." +
                      std::to_string(VK_API_VERSION_MINOR(layer.spec_version)) + "." +
                      std::to_string(VK_API_VERSION_PATCH(layer.spec_version)) + ", version " +
                      std::to_string(layer.implementation_version),
                  layer.description);
    }
}

void formats(page_writer& page, const vk_page_source& source) {
    int section = 0;
    for (const vk_format_support& support : source.device.formats) {
        const auto formats = vk_core_formats();
        const auto entry = std::find_if(formats.begin(), formats.end(), [&](const vk_format_entry& known) {
            return known.value == support.format;
        });
        if (entry == formats.end()) {
            continue;
        }
        if (entry->since != section) {
            if (section != 0) {
                page.blank();
            }
            section = entry->since;
            page.section(
                version_section(section),
                "What each tiling and buffers can do with the formats of this version: none where nothing.");
        }
        const VkFormatProperties& properties = support.properties;
        std::string value = "none";
        if ((properties.optimalTilingFeatures | properties.linearTilingFeatures |
             properties.bufferFeatures) != 0) {
            value = "optimal: " + format_features(properties.optimalTilingFeatures) +
                    "; linear: " + format_features(properties.linearTilingFeatures) +
                    "; buffer: " + format_features(properties.bufferFeatures);
        }
        page.text(entry->name, value, format_description(entry->name));
    }
    // What only the 64-bit flags name: the bits past the 32-bit ones.
    bool any = false;
    for (const vk_format_support& support : source.device.formats) {
        const VkFormatProperties3& flags = support.properties3;
        constexpr uint64_t only_64 = ~uint64_t{0x7FFFFFFF};
        if (!support.has_properties3 ||
            ((flags.optimalTilingFeatures | flags.linearTilingFeatures | flags.bufferFeatures) & only_64) ==
                0) {
            continue;
        }
        if (!any) {
            page.blank();
            page.section("[VkFormatProperties3]",
                         "What the 64-bit format features add: the features the 32-bit flags cannot name.");
            any = true;
        }
        const auto names = vk_enum_names("VkFormatFeatureFlagBits2");
        page.text(format_name(support.format),
                  "optimal: " + vk_flag_names(flags.optimalTilingFeatures & only_64, names) +
                      "; linear: " + vk_flag_names(flags.linearTilingFeatures & only_64, names) +
                      "; buffer: " + vk_flag_names(flags.bufferFeatures & only_64, names),
                  "VK_FORMAT_FEATURE_2_... bits 31 and up of each tiling and of buffers.");
    }
}

void memory(page_writer& page, const vk_page_source& source) {
    const VkPhysicalDeviceMemoryProperties& memory = source.device.memory;
    page.section("[Heaps]", "The pools of memory the device can allocate from.");
    for (uint32_t i = 0; i < std::min<uint32_t>(memory.memoryHeapCount, VK_MAX_MEMORY_HEAPS); ++i) {
        const VkMemoryHeap& heap = memory.memoryHeaps[i];
        std::string value = size_text(heap.size);
        if (heap.flags != 0) {
            value += "; " + flag_names(heap.flags, {{0x1, "device local"}, {0x2, "one copy per device"}});
        }
        page.text("Heap " + std::to_string(i), value,
                  "Size of the heap, and whether it lies in the device's own memory.");
    }
    page.blank();
    page.section("[Types]", "The kinds of memory allocations can ask for, each in one heap.");
    for (uint32_t i = 0; i < std::min<uint32_t>(memory.memoryTypeCount, VK_MAX_MEMORY_TYPES); ++i) {
        const VkMemoryType& type = memory.memoryTypes[i];
        page.text("Type " + std::to_string(i),
                  "heap " + std::to_string(type.heapIndex) + "; " +
                      flag_names(type.propertyFlags, {{0x1, "device local"},
                                                      {0x2, "host visible"},
                                                      {0x4, "host coherent"},
                                                      {0x8, "host cached"},
                                                      {0x10, "lazily allocated"},
                                                      {0x20, "protected"},
                                                      {0x40, "device coherent"},
                                                      {0x80, "device uncached"},
                                                      {0x100, "RDMA capable"}}),
                  "Heap of the memory type, and how the host and the device see it.");
    }
}

void queues(page_writer& page, const vk_page_source& source) {
    const auto& families = source.device.queue_families;
    for (size_t i = 0; i < families.size(); ++i) {
        const VkQueueFamilyProperties& family = families[i];
        if (i > 0) {
            page.blank();
        }
        page.section("[Queue family " + std::to_string(i) + "]", "Queues that share their abilities.");
        page.text("queueFlags",
                  flag_names(family.queueFlags, {{0x1, "graphics"},
                                                 {0x2, "compute"},
                                                 {0x4, "transfer"},
                                                 {0x8, "sparse binding"},
                                                 {0x10, "protected"},
                                                 {0x20, "video decode"},
                                                 {0x40, "video encode"},
                                                 {0x100, "optical flow"}}),
                  "The kinds of work the queues take.");
        page.number("queueCount", family.queueCount, "Queues of the family.");
        page.number("timestampValidBits", family.timestampValidBits,
                    "Bits of a timestamp that count; 0 where the queues write none.");
        const VkExtent3D& granularity = family.minImageTransferGranularity;
        page.row(row_kind::number, "minImageTransferGranularity",
                 std::to_string(granularity.width) + " x " + std::to_string(granularity.height) + " x " +
                     std::to_string(granularity.depth),
                 "Smallest unit, in texels, of image copies on these queues.");
    }
}

}  // namespace vulkan_pages
