// What each platform shape must show beyond the real-platform tests that run
// on every shape. The shape's CTest entry runs the suite of its name.
#include <windows.h>
#include <commctrl.h>
#include <d3d9.h>
#include <dxgi.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/shared_capture.h"
#include "app/main_window.h"
#include "platform/pci_ids.h"
#include "platform/platform_shape.h"
#include "platform/report_program.h"
#include "base/platform.h"
#include "probe/capture.h"
#include "refdata/pci_names.h"
#include "report/page_lookup.h"
#include "submit/submission_parser.h"

namespace {

using Microsoft::WRL::ComPtr;

ComPtr<IDirect3D9> direct3d9() {
    ComPtr<IDirect3D9> d3d;
    adopt(d3d, Direct3DCreate9(D3D_SDK_VERSION));
    return d3d;
}

D3DADAPTER_IDENTIFIER9 identifier(IDirect3D9& d3d, UINT ordinal) {
    D3DADAPTER_IDENTIFIER9 id{};
    d3d.GetAdapterIdentifier(ordinal, 0, &id);
    return id;
}

// The submission text of cavio-report.exe, parsed as the server would.
submission::document printed_report() {
    const program_result run = run_report_program("--submission");
    EXPECT_EQ(0u, run.exit_code) << run.errors;
    std::string error;
    submission::document doc = submission::parse(run.output, error);
    EXPECT_EQ("", error);
    return doc;
}

const submission::page* block(const std::vector<submission::page>& pages, const std::string& id) {
    for (const auto& page : pages) {
        if (page.id == id) {
            return &page;
        }
    }
    ADD_FAILURE() << "no block " << id;
    static const submission::page none;
    return &none;
}

std::string row_value(const submission::page& page, const std::string& name) {
    for (const auto& row : page.rows) {
        if (row.name == name) {
            return row.value;
        }
    }
    return "<no row " + name + ">";
}

// "1024 x  768", as the Resolutions page names a size.
std::string size_name(UINT width, UINT height) {
    char name[32];
    std::snprintf(name, sizeof name, "%4u x %4u", width, height);
    return name;
}

std::set<std::pair<UINT, UINT>> d3d9_sizes(IDirect3D9& d3d, UINT ordinal) {
    std::set<std::pair<UINT, UINT>> sizes;
    for (UINT format = 20; format < 118; ++format) {
        const UINT total = d3d.GetAdapterModeCount(ordinal, static_cast<D3DFORMAT>(format));
        for (UINT index = 0; index < total; ++index) {
            D3DDISPLAYMODE mode{};
            if (d3d.EnumAdapterModes(ordinal, static_cast<D3DFORMAT>(format), index, &mode) == D3D_OK) {
                sizes.emplace(mode.Width, mode.Height);
            }
        }
    }
    return sizes;
}

BOOL CALLBACK add_monitor(HMONITOR, HDC, LPRECT bounds, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*bounds);
    return TRUE;
}

TEST(ThreeHeads, OneCardForTheThreeHeadsOfOneBoard) {
    init_reference_data();
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_EQ(3u, monitors.size());
    EXPECT_EQ(1, std::count_if(monitors.begin(), monitors.end(), [](const RECT& r) { return r.left < 0; }));

    const auto d3d = direct3d9();
    ASSERT_TRUE(d3d);
    ASSERT_EQ(3u, d3d->GetAdapterCount());

    const submission::document doc = printed_report();
    ASSERT_EQ(1u, doc.cards.size());
    EXPECT_EQ("tri", row_value(*block(doc.cards[0].directx, "dx_summary"), "Head"));

    // The second head's own sizes stand on the one card's Resolutions page.
    std::set<std::pair<UINT, UINT>> own = d3d9_sizes(*d3d.Get(), 1);
    for (const UINT other : {0u, 2u}) {
        for (const auto& size : d3d9_sizes(*d3d.Get(), other)) {
            own.erase(size);
        }
    }
    ASSERT_FALSE(own.empty()) << "the second head offers no size of its own";
    std::set<std::string> listed;
    for (const auto& row : block(doc.cards[0].directx, "dx_resolutions")->rows) {
        listed.insert(row.name);
    }
    for (const auto& [width, height] : own) {
        EXPECT_EQ(1u, listed.count(size_name(width, height))) << size_name(width, height);
    }

    // The OpenGL record lies on the monitor of the board's last head.
    const startup_capture& capture = shared_capture();
    const std::vector<dx_adapter>& direct3d = capture.adapters;
    const std::vector<gl_record>& opengl = capture.opengl;
    ASSERT_EQ(1, static_cast<int>(opengl.size()));
    const adapter_identity& info = direct3d.at(0).info;
    HMONITOR last_head = nullptr;
    for (UINT ordinal = 0; ordinal < d3d->GetAdapterCount(); ++ordinal) {
        const D3DADAPTER_IDENTIFIER9 id = identifier(*d3d.Get(), ordinal);
        if (id.VendorId == info.vendor_id && id.DeviceId == info.device_id && id.SubSysId == info.subsys_id &&
            id.Revision == info.revision) {
            last_head = d3d->GetAdapterMonitor(ordinal);
        }
    }
    EXPECT_EQ(last_head, opengl.at(0).monitor);
    EXPECT_TRUE(doc.cards[0].opengl.has_value());
}

TEST(OtherGpu, TheConfiguredIdentityReachesTheReport) {
    init_reference_data();
    const std::string configured = environment_text("CAVIO_SHAPE_PCI");  // "1002:687f"
    ASSERT_EQ(9u, configured.size());
    const auto vendor = static_cast<uint32_t>(std::stoul(configured.substr(0, 4), nullptr, 16));
    const auto device = static_cast<uint32_t>(std::stoul(configured.substr(5), nullptr, 16));
    const auto d3d = direct3d9();
    ASSERT_TRUE(d3d);
    EXPECT_EQ(vendor, identifier(*d3d.Get(), 0).VendorId) << "Wine did not take the configured identity";
    EXPECT_EQ(device, identifier(*d3d.Get(), 0).DeviceId);

    const pci_id_list pci = read_pci_ids(CAVIO_PCI_IDS);
    ASSERT_EQ(1u, pci.vendors.count(vendor));
    ASSERT_EQ(1u, pci.devices.count({vendor, device}));
    const submission::document doc = printed_report();
    ASSERT_EQ(1u, doc.cards.size());
    const submission::page& summary = *block(doc.cards[0].directx, "dx_summary");
    const submission::page& page = *block(doc.cards[0].directx, "dx_device");
    EXPECT_EQ(pci.vendors.at(vendor) + " (" + std::to_string(vendor) + ")", row_value(summary, "Vendor"));
    EXPECT_TRUE(row_value(page, "GPU").ends_with(": " + pci.devices.at({vendor, device})))
        << row_value(page, "GPU");
    EXPECT_EQ(std::to_string(device), row_value(page, "Device ID"));
}

TEST(UnknownVendor, AVendorOutsideThePciListReadsUnknown) {
    init_reference_data();
    const auto d3d = direct3d9();
    ASSERT_TRUE(d3d);
    const D3DADAPTER_IDENTIFIER9 id = identifier(*d3d.Get(), 0);
    EXPECT_EQ(0u, read_pci_ids(CAVIO_PCI_IDS).vendors.count(id.VendorId)) << id.VendorId;
    const submission::document doc = printed_report();
    ASSERT_EQ(1u, doc.cards.size());
    const submission::page& summary = *block(doc.cards[0].directx, "dx_summary");
    EXPECT_EQ("unknown (" + std::to_string(id.VendorId) + ")", row_value(summary, "Vendor"));
    EXPECT_EQ("unknown", row_value(summary, "GPU"));
    EXPECT_EQ(id.Description, row_value(summary, "Device"));
    EXPECT_TRUE(doc.cards[0].opengl.has_value());
}

TEST(NoDirect3D, StartUpCompletesWithAnEmptyDeviceList) {
    init_reference_data();
    window_seams seams = default_window_seams();
    std::vector<std::string> messages;
    seams.message_box = [&messages](HWND, const std::string& text, UINT) {
        messages.push_back(text);
        return IDOK;
    };
    main_window form(seams);
    ShowWindow(form.handle(), SW_SHOWNA);
    form.finish_capture();
    EXPECT_TRUE(form.started);
    EXPECT_EQ(0, SendMessageA(form.controls().adapter_list, CB_GETCOUNT, 0, 0));
    EXPECT_TRUE(form.document().adapters.empty());
    EXPECT_EQ("%2.00%\r\n", form.submission);
    form.show_selected_adapter();
    char status[256] = {};
    SendMessageA(form.controls().status_bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_EQ(0u, std::string(status).find("\tVersion ")) << status;
    EXPECT_TRUE(messages.empty()) << messages.front();
}

// Every mode DXGI lists on the outputs of the first adapter.
size_t dxgi_mode_count() {
    using create_factory_fn = HRESULT(WINAPI*)(REFIID, void**);
    const auto create = get_proc<create_factory_fn>(LoadLibraryA("dxgi.dll"), "CreateDXGIFactory");
    ComPtr<IDXGIFactory> factory;
    ComPtr<IDXGIAdapter> adapter;
    if (create == nullptr ||
        create(__uuidof(IDXGIFactory), reinterpret_cast<void**>(factory.GetAddressOf())) != S_OK ||
        factory->EnumAdapters(0, adapter.GetAddressOf()) != S_OK) {
        return 0;
    }
    size_t modes = 0;
    ComPtr<IDXGIOutput> output;
    for (UINT index = 0; adapter->EnumOutputs(index, output.ReleaseAndGetAddressOf()) == S_OK; ++index) {
        for (UINT format = 0; format < 116; ++format) {
            UINT count = 0;
            output->GetDisplayModeList(static_cast<DXGI_FORMAT>(format), DXGI_ENUM_MODES_INTERLACED, &count,
                                       nullptr);
            modes += count;
        }
    }
    return modes;
}

TEST(ManyModes, ResolutionsSortedOnScreenInProbeOrderInTheText) {
    init_reference_data();
    EXPECT_GT(dxgi_mode_count(), 1000u) << "not Wine's virtual desktop";
    const std::vector<dx_adapter>& direct3d = shared_capture().adapters;
    ASSERT_EQ(1, static_cast<int>(direct3d.size()));
    const dx_adapter& adapter = direct3d.at(0);

    // The text keeps the probe's order.
    const submission::document doc = printed_report();
    ASSERT_EQ(1u, doc.cards.size());
    const auto& written = block(doc.cards[0].directx, "dx_resolutions")->rows;
    ASSERT_EQ(adapter.modes.size(), written.size());
    for (size_t i = 0; i < written.size(); ++i) {
        ASSERT_EQ(size_name(adapter.modes[i].width, adapter.modes[i].height), written[i].name) << i;
        ASSERT_EQ(adapter.modes[i].format, written[i].value) << i;
    }

    // The page is sorted by the whole row's text, byte by byte.
    const report_page page = page_from(adapter, page_id::dx_resolutions);
    ASSERT_EQ(adapter.modes.size(), page.rows.size());
    const auto key = [&page](size_t r) {
        return page.rows[r].name + "\r\n" + page.rows[r].value + "\r\n" + page.rows[r].description + "\r\n";
    };
    for (size_t r = 1; r < page.rows.size(); ++r) {
        ASSERT_LE(key(r - 1), key(r)) << "rows " << r - 1 << " and " << r;
    }
}

}  // namespace
