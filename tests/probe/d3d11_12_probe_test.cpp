// The Direct3D 11 and 12 probe against fake runtimes: the rules of device
// creation, level and model stepping, failing queries, and references.
#include "probe/d3d11_12_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "fakes/fake_d3d11_12.h"
#include "probe/print_reason.h"
#include "probe/dxgi_probe.h"
// after d3d10.h, which it needs
#include "fakes/fake_dxgi.h"

namespace {

using fakes::d3d11_12_runtime;

class D3d11And12Probe : public ::testing::Test {
protected:
    d3d11_12_runtime runtime;

    d3d11_12_record probe() { return probe_d3d11_12(nullptr, runtime.entry_points()).record; }

    void TearDown() override {
        // Every device is released before the probe returns.
        EXPECT_EQ(0u, runtime.device11.references);
        EXPECT_EQ(0u, runtime.device12.references);
    }
};

bool answered(const d3d11_12_record& record, d3d_query id) {
    return record.answer(id).size() == query_of(id).words;
}

TEST_F(D3d11And12Probe, ReadsEveryStructureOfBothRuntimes) {
    const d3d11_12_record record = probe();
    EXPECT_EQ(0xB100u, record.d3d11_feature_level);
    EXPECT_EQ(0xC100u, record.d3d12_feature_level);
    EXPECT_EQ(0x62u, record.shader_model);
    for (const d3d_feature_query& query : d3d_feature_queries) {
        SCOPED_TRACE(static_cast<int>(query.id));
        ASSERT_TRUE(answered(record, query.id));
        if (query.id != d3d_query::root_signature12) {
            for (uint32_t word = 0; word < query.words; ++word) {
                EXPECT_EQ(d3d11_12_runtime::word_value(query.runtime, query.feature, word),
                          record.answer(query.id)[word]);
            }
        }
    }
    EXPECT_EQ(std::vector<uint32_t>{2}, record.answer(d3d_query::root_signature12));  // version 1.1
    // Every format with a published name, as each runtime answered it; the
    // golden pages hold every row.
    ASSERT_EQ(121u, record.formats11.size());
    ASSERT_EQ(121u, record.formats12.size());
    const d3d_format_support& r8g8b8a8_unorm = record.formats11[27];
    EXPECT_EQ(28u, r8g8b8a8_unorm.format);
    EXPECT_EQ(d3d11_12_runtime::support1(28), r8g8b8a8_unorm.support1);
    EXPECT_EQ(d3d11_12_runtime::support2(28), r8g8b8a8_unorm.support2);
    EXPECT_EQ(2u | 4u | 8u, r8g8b8a8_unorm.sample_counts);
    EXPECT_FALSE(record.formats12[29].answered);  // format 30, which the fake does not know
    EXPECT_EQ(191u, record.formats12.back().format);
    // One device of each runtime.
    EXPECT_EQ(1, std::count(runtime.calls.begin(), runtime.calls.end(), "create11 from 45312"));
    EXPECT_EQ(1, std::count(runtime.calls.begin(), runtime.calls.end(), "create12 at 45056"));
}

TEST_F(D3d11And12Probe, EachRuleOfTheRuntimes) {
    struct rule {
        const char* what;
        void (*set)(d3d11_12_runtime&);
        void (*check)(const d3d11_12_record&);
    };
    const rule rules[] = {
        {"a runtime without 11_1 is asked again from 11_0",
         [](d3d11_12_runtime& r) {
             r.rejects_11_1 = true;
             r.level11 = 0xB000;
         },
         [](const d3d11_12_record& t) {
             EXPECT_EQ(0xB000u, t.d3d11_feature_level);
             EXPECT_TRUE(answered(t, d3d_query::options11));
         }},
        {"no Direct3D 11 device", [](d3d11_12_runtime& r) { r.device11_fails = true; },
         [](const d3d11_12_record& t) {
             EXPECT_EQ(0u, t.d3d11_feature_level);
             EXPECT_FALSE(answered(t, d3d_query::threading11));
             EXPECT_EQ(0xC100u, t.d3d12_feature_level);
         }},
        {"no Direct3D 12 device", [](d3d11_12_runtime& r) { r.device12_fails = true; },
         [](const d3d11_12_record& t) {
             EXPECT_EQ(0u, t.d3d12_feature_level);
             EXPECT_EQ(0u, t.shader_model);
             EXPECT_FALSE(answered(t, d3d_query::options12));
             EXPECT_FALSE(answered(t, d3d_query::root_signature12));
             EXPECT_TRUE(answered(t, d3d_query::options11_5));
         }},
        {"a query that fails leaves that structure alone unanswered",
         [](d3d11_12_runtime& r) {
             r.failing.insert({d3d_runtime::d3d11, 14});  // D3D11_OPTIONS2
             r.failing.insert({d3d_runtime::d3d12, 30});  // D3D12_OPTIONS6
         },
         [](const d3d11_12_record& t) {
             EXPECT_FALSE(answered(t, d3d_query::options11_2));
             EXPECT_FALSE(answered(t, d3d_query::options12_6));
             EXPECT_TRUE(answered(t, d3d_query::options11_3));
             EXPECT_TRUE(answered(t, d3d_query::options12_7));
         }},
        {"a runtime without FORMAT_SUPPORT2 still gives the first word",
         [](d3d11_12_runtime& r) {
             r.failing.insert({d3d_runtime::d3d11, 3});
         },
         [](const d3d11_12_record& t) {
             EXPECT_TRUE(t.formats11[0].answered);
             EXPECT_FALSE(t.formats11[0].support2_answered);
             EXPECT_EQ(0u, t.formats11[0].support2);
             EXPECT_TRUE(t.formats12[0].support2_answered);
         }},
        {"a runtime that answers no format has no format table",
         [](d3d11_12_runtime& r) { r.formats_fail = true; },
         [](const d3d11_12_record& t) {
             EXPECT_TRUE(t.formats11.empty());
             EXPECT_TRUE(t.formats12.empty());
         }},
        {"models the runtime does not know are stepped past",
         [](d3d11_12_runtime& r) {
             r.newest_known_model = 0x60;
             r.shader_model = 0x60;
         },
         [](const d3d11_12_record& t) { EXPECT_EQ(0x60u, t.shader_model); }},
        {"a runtime that knows only 5.1",
         [](d3d11_12_runtime& r) {
             r.newest_known_model = 0x51;
             r.shader_model = 0x51;
         },
         [](const d3d11_12_record& t) { EXPECT_EQ(0x51u, t.shader_model); }},
        {"a runtime that knows no model", [](d3d11_12_runtime& r) { r.newest_known_model = 0x50; },
         [](const d3d11_12_record& t) { EXPECT_EQ(0u, t.shader_model); }},
        {"a runtime without 12_2 is asked again without it",
         [](d3d11_12_runtime& r) {
             r.knows_12_2 = false;
             r.level12 = 0xC000;
         },
         [](const d3d11_12_record& t) { EXPECT_EQ(0xC000u, t.d3d12_feature_level); }},
        {"no feature-level answer: the level the device was made at",
         [](d3d11_12_runtime& r) {
             r.failing.insert({d3d_runtime::d3d12, 2});
         },
         [](const d3d11_12_record& t) { EXPECT_EQ(0xB000u, t.d3d12_feature_level); }},
    };
    for (const rule& r : rules) {
        SCOPED_TRACE(r.what);
        d3d11_12_runtime fresh;
        r.set(fresh);
        const d3d11_12_probed probed = probe_d3d11_12(nullptr, fresh.entry_points());
        r.check(probed.record);
        const std::vector<reason>& reasons = probed.reasons;
        EXPECT_EQ(0u, fresh.device11.references);
        EXPECT_EQ(0u, fresh.device12.references);
        // Only a device that cannot be made is a reason; a query is not.
        const std::vector<said> expected =
            fresh.device11_fails
                ? std::vector<said>{{-1, "Direct3D 11: D3D11CreateDevice failed (0x80004005)"}}
            : fresh.device12_fails
                ? std::vector<said>{{-1, "Direct3D 12: D3D12CreateDevice failed (0x80004005)"}}
                : std::vector<said>{};
        EXPECT_EQ(expected, said_of(reasons));
    }
}

TEST_F(D3d11And12Probe, WithoutTheLibrariesNothingIsRead) {
    const d3d11_12_probed probed = probe_d3d11_12(nullptr, d3d11_12_entry_points{});
    const d3d11_12_record& record = probed.record;
    const std::vector<reason>& reasons = probed.reasons;
    EXPECT_EQ(0u, record.d3d11_feature_level + record.d3d12_feature_level + record.shader_model);
    for (const d3d_feature_query& query : d3d_feature_queries) {
        EXPECT_TRUE(record.answer(query.id).empty());
    }
    EXPECT_TRUE(record.formats11.empty() && record.formats12.empty());
    EXPECT_EQ((std::vector<said>{{-1, "Direct3D 11: d3d11.dll or its D3D11CreateDevice is missing"},
                                 {-1, "Direct3D 12: d3d12.dll or its D3D12CreateDevice is missing"}}),
              said_of(reasons));
}

// Through the Direct3D 10 probe: each DXGI adapter gets its own reading, the
// adapter it names passed to the creators.
TEST_F(D3d11And12Probe, TheDxgiProbeReadsEveryAdapter) {
    fakes::dxgi_factory factory;
    std::deque<fakes::dxgi_adapter> adapters(2);
    adapters[0].describe(L"First", 0x10DE, 0x100, 0, 0);
    adapters[1].describe(L"Second", 0x10DE, 0x200, 0, 0);
    for (auto& adapter : adapters) {
        factory.adapters.push_back(&adapter);
    }
    std::vector<IDXGIAdapter*> asked;
    dx10_entry_points entry;
    entry.CreateDXGIFactory = [&factory](REFIID, void** out) {
        factory.AddRef();
        *out = static_cast<IDXGIFactory*>(&factory);
        return S_OK;
    };
    entry.direct3d11_12 = runtime.entry_points();
    const auto create12 = entry.direct3d11_12.create12;
    entry.direct3d11_12.create12 = [&](IDXGIAdapter* adapter, uint32_t level, feature_device* device) {
        asked.push_back(adapter);
        return adapter == &adapters[1] ? E_FAIL : create12(adapter, level, device);
    };
    {
        dxgi_probe list(entry);
        ASSERT_EQ(2, list.count());
        EXPECT_EQ(0xC100u, list.adapter(0).d3d11_12.d3d12_feature_level);
        EXPECT_EQ(0u, list.adapter(1).d3d11_12.d3d12_feature_level);
        EXPECT_EQ(0xB100u, list.adapter(1).d3d11_12.d3d11_feature_level);
    }
    EXPECT_EQ((std::vector<IDXGIAdapter*>{&adapters[0], &adapters[1]}), asked);
    EXPECT_EQ(0u, factory.references);
}

}  // namespace
