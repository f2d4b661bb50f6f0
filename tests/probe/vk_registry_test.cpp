// The Vulkan tables against the Khronos XML registry (vk.xml), an independent
// witness: every row is a member of its structure, at the place and of the
// size the registry's declaration gives it, and every member has its row.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text_file.h"
#include "report/vk_tables.h"

namespace {

struct member {
    std::string name;
    uint32_t offset = 0;
    uint32_t size = 0;
};

// The size and alignment of one of the types these structures hold, on
// 64-bit Windows; 0 for a structure of its own.
std::pair<uint32_t, uint32_t> layout_of(const std::string& type) {
    if (type == "uint8_t" || type == "char") {
        return {1, 1};
    }
    if (type == "VkDeviceSize" || type == "uint64_t" || type == "size_t" || type == "void") {
        return {8, 8};
    }
    if (type == "VkConformanceVersion") {
        return {4, 1};
    }
    if (type == "VkPhysicalDeviceLimits" || type == "VkPhysicalDeviceSparseProperties") {
        return {0, 8};
    }
    return {4, 4};  // 32-bit numbers, floats, VkBool32, flags and enumerations
}

// The members of every structure the tables read, laid out as a compiler
// lays out the registry's declarations; a member that is a structure of its
// own ends the layout. The registry declares one member or enumerant a line,
// its array sizes after the structures.
std::map<std::string, std::vector<member>> registry_structures() {
    std::istringstream lines(read_text_file(std::string(CAVIO_VULKAN_REGISTRY) + "/vk.xml"));
    const std::regex constant(R"re(<enum type="uint32_t" value="(\d+)"\s+name="(VK_\w+)")re");
    const std::regex opened(R"re(<type category="struct" name="(VkPhysicalDevice\w+)"[^/]*>\s*$)re");
    const std::regex declared(
        R"re(<member[^>]*>(?:const )?<type>(\w+)</type>\**\s*<name>(\w+)</name>(?:\[(?:<enum>)?(\w+)(?:</enum>)?\])?)re");
    std::map<std::string, uint32_t> constants;
    std::map<std::string, std::vector<std::smatch>> declarations;
    std::vector<std::smatch>* open = nullptr;
    std::vector<std::string> text;
    for (std::string line; std::getline(lines, line);) {
        text.push_back(line);
    }
    std::smatch m;
    for (const std::string& line : text) {
        if (line.find("api=\"vulkansc\"") != std::string::npos) {
            continue;
        }
        if (open == nullptr) {
            if (std::regex_search(line, m, constant)) {
                constants[m[2]] = static_cast<uint32_t>(std::stoul(m[1]));
            } else if (std::regex_search(line, m, opened)) {
                open = &declarations[m[1]];
            }
        } else if (line.find("<member") == std::string::npos && line.find("</type>") != std::string::npos) {
            open = nullptr;
        } else if (std::regex_search(line, m, declared)) {
            open->push_back(m);
        }
    }
    std::map<std::string, std::vector<member>> structures;
    for (const auto& [name, members] : declarations) {
        uint32_t offset = 0;
        for (const std::smatch& d : members) {
            const auto [size, alignment] = layout_of(d[1]);
            if (size == 0) {
                break;
            }
            const std::string count = d[3];
            const uint32_t elements = count.empty() ? 1
                                      : constants.count(count) != 0
                                          ? constants.at(count)
                                          : static_cast<uint32_t>(std::stoul(count));
            offset = (offset + alignment - 1) / alignment * alignment;
            structures[name].push_back({d[2], offset, size * elements});
            offset += size * elements;
        }
    }
    return structures;
}

// Members shown elsewhere, each with where.
const std::set<std::string> shown_elsewhere = {
    "sType", "pNext",
    // Vulkan 1.1's and 1.2's structures repeat VkPhysicalDeviceIDProperties and
    // VkPhysicalDeviceDriverProperties, which the Device page shows.
    "VkPhysicalDeviceVulkan11Properties.deviceUUID", "VkPhysicalDeviceVulkan11Properties.driverUUID",
    "VkPhysicalDeviceVulkan11Properties.deviceLUID", "VkPhysicalDeviceVulkan11Properties.deviceNodeMask",
    "VkPhysicalDeviceVulkan11Properties.deviceLUIDValid", "VkPhysicalDeviceVulkan12Properties.driverID",
    "VkPhysicalDeviceVulkan12Properties.driverName", "VkPhysicalDeviceVulkan12Properties.driverInfo",
    "VkPhysicalDeviceVulkan12Properties.conformanceVersion"};

TEST(VulkanRegistry, EveryRowIsItsMemberAndEveryMemberHasItsRow) {
    const auto structures = registry_structures();
    std::vector<const vk_table*> tables;
    for (const vk_table& table : vk_rows::device_tables()) {
        tables.push_back(&table);
    }
    tables.push_back(&vk_rows::limits_table());
    for (const vk_table& table : vk_rows::feature_tables()) {
        tables.push_back(&table);
    }
    ASSERT_EQ(12u, tables.size());
    for (const vk_table* table : tables) {
        const std::string name =
            std::string(table->section).substr(1, std::string(table->section).size() - 2);
        SCOPED_TRACE(name);
        ASSERT_EQ(1u, structures.count(name)) << "not a structure of the registry";
        std::vector<member> expected;
        for (const member& declared : structures.at(name)) {
            if (shown_elsewhere.count(declared.name) == 0 &&
                shown_elsewhere.count(name + "." + declared.name) == 0) {
                expected.push_back(declared);
            }
        }
        ASSERT_EQ(expected.size(), table->fields.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const vk_field& field = table->fields[i];
            EXPECT_EQ(expected[i].name, field.name) << "row " << i;
            EXPECT_EQ(expected[i].offset, field.offset) << field.name;
            EXPECT_EQ(expected[i].size, field.size) << field.name;
        }
    }
}

}  // namespace
