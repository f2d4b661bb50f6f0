// The generated Vulkan tables against the Khronos XML registry (vk.xml), read
// here on its own: each table, core or extension, lists every member of its
// structure in the registry's order, and reads each as the member's declared
// type reads; every member of the core pages has its sentence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/golden_vulkan.h"
#include "platform/text_file.h"
#include "report/vk_tables.h"

namespace {

// The declared type and name of each member of each structure. The
// registry declares one member a line.
std::map<std::string, std::vector<std::pair<std::string, std::string>>> registry_structures() {
    std::istringstream lines(read_text_file(std::string(CAVIO_VULKAN_REGISTRY) + "/vk.xml"));
    const std::regex opened(R"re(<type category="struct" name="(VkPhysicalDevice\w+)"[^/]*>\s*$)re");
    const std::regex declared(R"re(<member[^>]*>(?:const )?<type>(\w+)</type>\**\s*<name>(\w+)</name>)re");
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> structures;
    std::vector<std::pair<std::string, std::string>>* open = nullptr;
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("api=\"vulkansc\"") != std::string::npos) {
            continue;
        }
        if (open == nullptr) {
            if (std::regex_search(line, m, opened)) {
                open = &structures[m[1]];
            }
        } else if (line.find("<member") == std::string::npos && line.find("</type>") != std::string::npos) {
            open = nullptr;
        } else if (std::regex_search(line, m, declared)) {
            open->emplace_back(m[1], m[2]);
        }
    }
    return structures;
}

// The kinds a member of each declared type may be read as.
bool reads_as(const std::string& type, vk_kind kind) {
    static const std::multimap<std::string, vk_kind> kinds = {
        {"uint32_t", vk_kind::number},
        {"uint32_t", vk_kind::api_version},
        {"uint32_t", vk_kind::driver_version},
        {"uint32_t", vk_kind::vendor},
        {"uint32_t", vk_kind::device},
        {"int32_t", vk_kind::signed_number},
        {"float", vk_kind::real},
        {"VkDeviceSize", vk_kind::size},
        {"uint64_t", vk_kind::size},
        {"size_t", vk_kind::size},
        {"int64_t", vk_kind::signed_size},
        {"VkBool32", vk_kind::yes_no},
        {"VkExtent2D", vk_kind::number},
        {"VkSampleCountFlags", vk_kind::sample_counts},
        {"VkSampleCountFlagBits", vk_kind::sample_counts},
        {"VkShaderStageFlags", vk_kind::shader_stages},
        {"VkSubgroupFeatureFlags", vk_kind::subgroup_operations},
        {"VkResolveModeFlags", vk_kind::resolve_modes},
        {"VkPointClippingBehavior", vk_kind::point_clipping},
        {"VkShaderFloatControlsIndependence", vk_kind::float_controls},
        {"VkDriverId", vk_kind::driver_id},
        {"VkPhysicalDeviceType", vk_kind::device_type},
        {"uint8_t", vk_kind::uuid},
        {"uint8_t", vk_kind::luid},
        {"uint8_t", vk_kind::bytes},
        {"char", vk_kind::text},
        {"VkConformanceVersion", vk_kind::conformance}};
    const auto [first, last] = kinds.equal_range(type);
    if (first != last) {
        return std::any_of(first, last, [&](const auto& entry) { return entry.second == kind; });
    }
    // Any other bitmask by its bits' names, any other enum by its values'.
    const bool bitmask =
        type.find("Flags") != std::string::npos || type.find("FlagBits") != std::string::npos;
    return kind == (bitmask ? vk_kind::flags : vk_kind::enumerated);
}

// Members shown elsewhere.
const std::set<std::string> shown_elsewhere = {
    "sType", "pNext",
    // Tables of their own.
    "VkPhysicalDeviceProperties.limits", "VkPhysicalDeviceProperties.sparseProperties",
    // Vulkan 1.1's and 1.2's structures repeat VkPhysicalDeviceIDProperties and
    // VkPhysicalDeviceDriverProperties, which the Device page shows.
    "VkPhysicalDeviceVulkan11Properties.deviceUUID", "VkPhysicalDeviceVulkan11Properties.driverUUID",
    "VkPhysicalDeviceVulkan11Properties.deviceLUID", "VkPhysicalDeviceVulkan11Properties.deviceNodeMask",
    "VkPhysicalDeviceVulkan11Properties.deviceLUIDValid", "VkPhysicalDeviceVulkan12Properties.driverID",
    "VkPhysicalDeviceVulkan12Properties.driverName", "VkPhysicalDeviceVulkan12Properties.driverInfo",
    "VkPhysicalDeviceVulkan12Properties.conformanceVersion"};

// The members of a structure the registry gives, less those shown elsewhere,
// against a table's.
void expect_member_for_member(const std::vector<std::pair<std::string, std::string>>& declared,
                              const std::string& name, std::span<const vk_field> fields) {
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& member : declared) {
        if (shown_elsewhere.count(member.second) == 0 &&
            shown_elsewhere.count(name + "." + member.second) == 0) {
            expected.push_back(member);
        }
    }
    ASSERT_EQ(expected.size(), fields.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const vk_field& field = fields[i];
        EXPECT_EQ(expected[i].second, field.name) << "row " << i;
        EXPECT_TRUE(reads_as(expected[i].first, field.kind)) << field.name << " is a " << expected[i].first;
    }
}

// The size of each core structure a table reads, by its published name.
size_t core_structure_size(const std::string& name) {
    static const std::map<std::string, size_t> sizes = {
        {"VkPhysicalDeviceProperties", sizeof(VkPhysicalDeviceProperties)},
        {"VkPhysicalDeviceSparseProperties", sizeof(VkPhysicalDeviceSparseProperties)},
        {"VkPhysicalDeviceLimits", sizeof(VkPhysicalDeviceLimits)},
        {"VkPhysicalDeviceIDProperties", sizeof(VkPhysicalDeviceIDProperties)},
        {"VkPhysicalDeviceDriverProperties", sizeof(VkPhysicalDeviceDriverProperties)},
        {"VkPhysicalDeviceVulkan11Properties", sizeof(VkPhysicalDeviceVulkan11Properties)},
        {"VkPhysicalDeviceVulkan12Properties", sizeof(VkPhysicalDeviceVulkan12Properties)},
        {"VkPhysicalDeviceVulkan13Properties", sizeof(VkPhysicalDeviceVulkan13Properties)},
        {"VkPhysicalDeviceFeatures", sizeof(VkPhysicalDeviceFeatures)},
        {"VkPhysicalDeviceVulkan11Features", sizeof(VkPhysicalDeviceVulkan11Features)},
        {"VkPhysicalDeviceVulkan12Features", sizeof(VkPhysicalDeviceVulkan12Features)},
        {"VkPhysicalDeviceVulkan13Features", sizeof(VkPhysicalDeviceVulkan13Features)}};
    const auto found = sizes.find(name);
    return found != sizes.end() ? found->second : 0;
}

// Where a table reads each member: in the registry's order its members lie
// one after another, so each begins at or after the end of the one before
// and ends within the structure. A member read at another's place breaks
// this, which reading the registry's names alone would not see (the probe's
// test reads through the same offsets).
void expect_laid_out(std::span<const vk_field> fields, size_t structure_size) {
    ASSERT_GT(structure_size, 0u);
    uint32_t end = 0;
    for (const vk_field& field : fields) {
        EXPECT_GT(field.size, 0u) << field.name;
        EXPECT_GE(field.offset, end) << field.name << " lies before the end of the member above it";
        EXPECT_LE(field.offset + field.size, structure_size) << field.name << " lies past its structure";
        end = field.offset + field.size;
    }
}

TEST(VulkanRegistry, EachTableIsItsStructureMemberForMember) {
    const auto structures = registry_structures();
    std::vector<const vk_table*> tables;
    for (const vk_table& table : vk_rows::page_tables()) {
        tables.push_back(&table);
    }
    ASSERT_EQ(12u, tables.size());
    for (const vk_table* table : tables) {
        const std::string section = table->section;
        const std::string name = section.substr(1, section.size() - 2);
        SCOPED_TRACE(name);
        ASSERT_EQ(1u, structures.count(name)) << "not a structure of the registry";
        expect_member_for_member(structures.at(name), name, table->fields);
        expect_laid_out(table->fields, core_structure_size(name));
        for (const vk_field& field : table->fields) {
            // A generated description is the member's C type, without a blank.
            EXPECT_NE(nullptr, std::strchr(field.description, ' '))
                << field.name << " has no sentence of its own";
        }
    }
    std::set<std::string> members;
    for (const vk_extension_structure& structure : vk_extension_structures()) {
        SCOPED_TRACE(structure.name);
        ASSERT_EQ(1u, structures.count(structure.name)) << "not a structure of the registry";
        expect_member_for_member(structures.at(structure.name), structure.name, structure.fields);
        expect_laid_out(structure.fields, structure.size);
        for (const vk_field& field : structure.fields) {
            members.insert(field.name);
        }
    }
    // A sentence under a misspelt or doubled name would never be shown.
    for (const vk_table* table : tables) {
        for (const vk_field& field : table->fields) {
            members.insert(field.name);
        }
    }
    std::set<std::string_view> described;
    for (const std::string_view member : vk_described_members()) {
        EXPECT_TRUE(described.insert(member).second) << member << " is described twice";
        EXPECT_EQ(1u, members.count(std::string(member))) << member << " is no member of a shown structure";
    }
}

}  // namespace
