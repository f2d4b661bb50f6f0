#include "refdata/pci_names.h"

#include <gtest/gtest.h>

#include "refdata/pci_names.h"
#include "refdata/pci_data.h"

namespace {

std::string value(const keyed_list& list, const std::string& key) {
    const std::string* found = list.find(key);
    return found != nullptr ? *found : "<none>";
}

std::vector<std::string> keys(const keyed_list& list) {
    std::vector<std::string> result;
    for (size_t i = 0; i < list.size(); ++i) {
        result.push_back(list[i].first);
    }
    return result;
}

TEST(DeviceDatabase, SharedBlocksGiveEachVendorTheDeviceInBlockOrder) {
    const keyed_list list = parse_device_database(
        "@1142=\"3dfx\",10d9=\"3dfx\",121a=\"3dfx\"\t0001=Voodoo 1\t643D=Rush (Alliance)\t"
        "@10de=\"nVidia\"\t0040=GeForce 6800 Ultra\t");
    EXPECT_EQ((std::vector<std::string>{"4418.1", "4313.1", "4634.1", "4418.25661", "4313.25661",
                                        "4634.25661", "4318.64"}),
              keys(list));
    EXPECT_EQ("3dfx: Voodoo 1", value(list, "4313.1"));
    EXPECT_EQ("3dfx: Rush (Alliance)", value(list, "4418.25661"));
    EXPECT_EQ("nVidia: GeForce 6800 Ultra", value(list, "4318.64"));
    EXPECT_EQ("<none>", value(list, "4418.64"));
}

TEST(DeviceDatabase, RepeatsKeepTheFirstPositionAndTheLastName) {
    const keyed_list list = parse_device_database(
        "@8086=\"Intel\",8086=\"Intel Corp\"\t2772=945G "
        "Express\t2582=915G\t2772=945G\t00CC=Low\t00cc=Lower\t");
    EXPECT_EQ((std::vector<std::string>{"32902.10098", "32902.9602", "32902.204"}), keys(list));
    EXPECT_EQ("Intel Corp: 945G", value(list, "32902.10098"));
    EXPECT_EQ("Intel Corp: Lower", value(list, "32902.204"));
}

TEST(DeviceDatabase, HexInEitherCaseWithLeadingZeros) {
    const keyed_list list = parse_device_database("@14Af=\"Guillemot\"\t00CC=A\t0000f=B\tABCD=C\t");
    EXPECT_EQ((std::vector<std::string>{"5295.204", "5295.15", "5295.43981"}), keys(list));
}

TEST(DeviceDatabase, DevicesBeforeAnyVendorAddNothing) {
    const keyed_list list = parse_device_database("0001=Orphan\t@1002=\"ATI\"\t0002=Rage\t");
    EXPECT_EQ(std::vector<std::string>{"4098.2"}, keys(list));
    EXPECT_EQ(0u, parse_device_database("").size());
    // The text need not end with a TAB.
    EXPECT_EQ("ATI: Rage", value(parse_device_database("@1002=\"ATI\"\t0002=Rage"), "4098.2"));
}

TEST(DeviceDatabase, MalformedRecordsAreSkippedWithoutDisturbingTheirNeighbours) {
    const keyed_list list = parse_device_database(
        "@1002=\"ATI\"\t0001=Before\tXYZ=Not hex\t0002 no equals sign\t=No key\t123456789=Too long\t"
        "0003=After\t\t"
        "@1234\"Broken\"\t0004=Belongs to nobody\t"
        "@5333=\"S3\t0005=Unclosed quote\t"
        "@102b=\"Matrox\",zz=\"Bad\"\t0006=Bad pair\t"
        "@10de=\"NVIDIA\"\t0007=Fine again\t");
    EXPECT_EQ((std::vector<std::string>{"4098.1", "4098.3", "4318.7"}), keys(list));
    EXPECT_EQ("ATI: After", value(list, "4098.3"));
    EXPECT_EQ("NVIDIA: Fine again", value(list, "4318.7"));
}

TEST(DeviceDatabase, NameIsTheWholeRestOfTheRecord) {
    const keyed_list list = parse_device_database("@1002=\"ATI\"\t0001=Name = with equals, and \"quotes\"\t");
    EXPECT_EQ("ATI: Name = with equals, and \"quotes\"", value(list, "4098.1"));
}

TEST(PciLookups, VendorAndDeviceNames) {
    init_reference_data();
    EXPECT_FALSE(vendor_name_of(0x10DE).empty());
    EXPECT_NE(std::string::npos, vendor_name_of(0x10DE).find("NVIDIA"));
    EXPECT_NE(std::string::npos, vendor_name_of(0x1002).find("AMD"));
    EXPECT_NE(std::string::npos, vendor_name_of(0x8086).find("Intel"));
    EXPECT_EQ("", vendor_name_of(0x1234));
    EXPECT_EQ("", vendor_name_of(0x0002));

    EXPECT_EQ("NVIDIA: AD102 [GeForce RTX 4090]", gpu_name_of(0x10DE, 0x2684));
    EXPECT_EQ("AMD: Navi 31 [Radeon RX 7900 XT/7900 XTX]", gpu_name_of(0x1002, 0x744C));
    EXPECT_EQ("Intel: Raptor Lake-S GT1 [UHD Graphics 770]", gpu_name_of(0x8086, 0xA780));
    EXPECT_EQ("Microsoft: Basic Render Driver", gpu_name_of(0x1414, 0x008C));
    EXPECT_EQ("VMware: SVGA II Adapter", gpu_name_of(0x15AD, 0x0405));
    EXPECT_EQ("", gpu_name_of(0x10DE, 0xFFFF));
    EXPECT_EQ("", gpu_name_of(0x1234, 0x1111));

    EXPECT_GT(vendor_list_size(), 2000u);
    EXPECT_GT(device_list_size(), 8000u);
}

TEST(PciData, NamesAreSafeSingleByteText) {
    std::string_view text(pci_device_database, pci_device_database_size);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ('\t', text.back());
    EXPECT_EQ('@', text.front());
    int bad_characters = 0;
    int quoted_devices = 0;
    int records = 0;
    while (!text.empty()) {
        const size_t end = text.find('\t');
        const std::string_view record = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++records;
        EXPECT_FALSE(record.empty());
        for (const char c : record) {
            bad_characters += (c >= 0x20 && c < 0x7F) ? 0 : 1;
        }
        if (!record.empty() && record.front() != '@') {
            quoted_devices += record.find('"') != std::string_view::npos ? 1 : 0;
        }
    }
    EXPECT_EQ(0, bad_characters);
    EXPECT_EQ(0, quoted_devices);
    EXPECT_GT(records, 8000);
    for (size_t i = 0; i < pci_vendor_count; ++i) {
        for (const char* c = pci_vendors[i].name; *c != 0; ++c) {
            bad_characters += (*c >= 0x20 && *c < 0x7F) ? 0 : 1;
        }
        if (i > 0) {
            EXPECT_LT(pci_vendors[i - 1].id, pci_vendors[i].id);
        }
    }
    EXPECT_EQ(0, bad_characters);
}

}  // namespace
