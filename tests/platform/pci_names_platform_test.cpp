// The Vendor, GPU and Device ID rows of every adapter of this machine against
// the public PCI ID list, whatever identity the platform shape presents.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/shared_capture.h"
#include "platform/pci_ids.h"
#include "platform/platform_shape.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "probe/records.h"
#include "report/page_lookup.h"

namespace {

TEST(PciNamesPlatform, IdentityRowsFollowThePciIdList) {
    init_reference_data();
    const pci_id_list pci = read_pci_ids(CAVIO_PCI_IDS);
    ASSERT_GT(pci.vendors.size(), 1000u) << "cannot read " << CAVIO_PCI_IDS;
    const std::vector<dx_adapter>& direct3d = shared_capture().adapters;
    EXPECT_EQ(shape_has_direct3d(), static_cast<int>(direct3d.size()) > 0);
    for (int i = 0; i < static_cast<int>(direct3d.size()); ++i) {
        const dx_adapter& adapter = direct3d[static_cast<size_t>(i)];
        const uint32_t vendor = adapter.info.vendor_id;
        const uint32_t device = adapter.info.device_id;
        SCOPED_TRACE("adapter " + std::to_string(i) + ", PCI " + std::to_string(vendor) + ":" +
                     std::to_string(device));

        const auto listed_vendor = pci.vendors.find(vendor);
        char vendor_hex[16];
        char device_hex[16];
        std::snprintf(vendor_hex, sizeof vendor_hex, "0x%04X", vendor);
        std::snprintf(device_hex, sizeof device_hex, "0x%04X", device);
        const std::string vendor_text =
            (listed_vendor != pci.vendors.end() ? listed_vendor->second : "unknown") + " (" + vendor_hex +
            ")";
        EXPECT_EQ(vendor_text, value_of(page_from(adapter, page_id::dx_summary), "Vendor"));
        EXPECT_EQ(vendor_text, value_of(page_from(adapter, page_id::dx_device), "Vendor"));
        EXPECT_EQ(device_hex, value_of(page_from(adapter, page_id::dx_device), "Device ID"));

        // The GPU text is a short vendor name, ": " and the list's device name.
        const std::string gpu = value_of(page_from(adapter, page_id::dx_device), "GPU");
        EXPECT_EQ(gpu, value_of(page_from(adapter, page_id::dx_summary), "GPU"));
        const auto listed_device = pci.devices.find({vendor, device});
        if (listed_device == pci.devices.end()) {
            EXPECT_EQ("unknown", gpu);
        } else {
            const std::string suffix = ": " + listed_device->second;
            EXPECT_GT(gpu.size(), suffix.size()) << gpu;
            EXPECT_TRUE(gpu.ends_with(suffix)) << gpu << " does not end with " << suffix;
        }
    }
}

}  // namespace
