// The Direct3D 11 and 12 probe: a device of each runtime on an adapter, its
// feature structures and format support, read and released at once.
#include "probe/d3d11_12_probe.h"

#include <d3d11.h>
#include <d3d12.h>

#include <algorithm>
#include <bit>
#include <exception>
#include <optional>
#include <string>

#include "base/reason.h"
#include "base/platform.h"
#include "probe/d3d_common.h"
#include "refdata/format_names.h"

namespace {

using create11_fn = HRESULT(WINAPI*)(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT, const D3D_FEATURE_LEVEL*,
                                     UINT, UINT, ID3D11Device**, D3D_FEATURE_LEVEL*, ID3D11DeviceContext**);
using create12_fn = HRESULT(WINAPI*)(IUnknown*, D3D_FEATURE_LEVEL, REFIID, void**);

// Asked from the highest down; a runtime older than Direct3D 11.1 rejects a
// list that starts with 11_1.
constexpr uint32_t d3d11_levels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1,
                                     D3D_FEATURE_LEVEL_10_0, D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,
                                     D3D_FEATURE_LEVEL_9_1};
// A runtime that does not know 12_2 rejects a list that holds it.
constexpr D3D_FEATURE_LEVEL d3d12_levels[] = {static_cast<D3D_FEATURE_LEVEL>(feature_level_12_2),
                                              D3D_FEATURE_LEVEL_12_1, D3D_FEATURE_LEVEL_12_0,
                                              D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0};

static_assert(sizeof(D3D11_FEATURE_DATA_D3D11_OPTIONS) == 4 * query_of(d3d_query::options11).words);
static_assert(sizeof(D3D11_FEATURE_DATA_D3D11_OPTIONS2) == 4 * query_of(d3d_query::options11_2).words);
static_assert(sizeof(D3D12_FEATURE_DATA_D3D12_OPTIONS) == 4 * query_of(d3d_query::options12).words);
static_assert(sizeof(D3D12_FEATURE_DATA_D3D12_OPTIONS5) == 4 * query_of(d3d_query::options12_5).words);
static_assert(sizeof(D3D12_FEATURE_DATA_ARCHITECTURE) == 4 * query_of(d3d_query::architecture12).words);
static_assert(D3D12_FEATURE_D3D12_OPTIONS7 == query_of(d3d_query::options12_7).feature);
static_assert(D3D11_FEATURE_D3D11_OPTIONS5 == query_of(d3d_query::options11_5).feature);
static_assert(sizeof(D3D12_FEATURE_DATA_SHADER_CACHE) == 4 * query_of(d3d_query::shader_cache12).words);
static_assert(D3D12_FEATURE_SHADER_CACHE == query_of(d3d_query::shader_cache12).feature);
static_assert(sizeof(D3D12_FEATURE_DATA_EXISTING_HEAPS) == 4 * query_of(d3d_query::existing_heaps12).words);
static_assert(D3D12_FEATURE_EXISTING_HEAPS == query_of(d3d_query::existing_heaps12).feature);
static_assert(sizeof(D3D12_FEATURE_DATA_SERIALIZATION) == 4 * query_of(d3d_query::serialization12).words);
static_assert(D3D12_FEATURE_SERIALIZATION == query_of(d3d_query::serialization12).feature);
static_assert(sizeof(D3D12_FEATURE_DATA_CROSS_NODE) == 4 * query_of(d3d_query::cross_node12).words);
static_assert(D3D12_FEATURE_CROSS_NODE == query_of(d3d_query::cross_node12).feature);
static_assert(sizeof(D3D11_FEATURE_DATA_FORMAT_SUPPORT2) == 8 &&
              sizeof(D3D12_FEATURE_DATA_FORMAT_SUPPORT) == 12);
static_assert(sizeof(D3D12_FEATURE_DATA_MULTISAMPLE_QUALITY_LEVELS) == 16);

// The sample counts asked of each format, up to Direct3D's limit of 32; one
// sample every format that renders at all has.
constexpr uint32_t sample_counts[] = {2, 4, 8, 16, 32};
constexpr uint32_t format_support2_feature11 = D3D11_FEATURE_FORMAT_SUPPORT2;

// The bit of a sample count in d3d_format_support::sample_counts.
uint32_t sample_bit(uint32_t samples) {
    return 1u << std::countr_zero(samples);
}

// A sweep that no format answered found no query: not available.
void keep_if_answered(std::vector<d3d_format_support>& formats) {
    if (std::none_of(formats.begin(), formats.end(), [](const auto& format) { return format.answered; })) {
        formats.clear();
    }
}

// Every named format through Direct3D 11's CheckFormatSupport, its second
// support word and its multisample quality levels.
std::vector<d3d_format_support> sweep_formats11(const feature_device& device) {
    std::vector<d3d_format_support> formats;
    if (!device.format_support) {
        return formats;
    }
    for (uint32_t value = 1; value <= dxgi_last_format; ++value) {
        if (published_dxgi_format_name(value).empty()) {
            continue;
        }
        d3d_format_support& format = formats.emplace_back();
        format.format = value;
        // E_FAIL: a format the device does not support.
        format.answered = device.format_support(value, &format.support1) == S_OK;
        if (!format.answered || format.support1 == 0) {
            continue;
        }
        uint32_t words[2] = {value, 0};
        if (device.check(format_support2_feature11, words, sizeof words) == S_OK) {
            format.support2 = words[1];
            format.support2_answered = true;
        }
        if (device.quality_levels) {
            for (const uint32_t samples : sample_counts) {
                uint32_t levels = 0;
                if (device.quality_levels(value, samples, &levels) == S_OK && levels > 0) {
                    format.sample_counts |= sample_bit(samples);
                }
            }
        }
    }
    keep_if_answered(formats);
    return formats;
}

// Every named format through Direct3D 12's FORMAT_SUPPORT and
// MULTISAMPLE_QUALITY_LEVELS.
std::vector<d3d_format_support> sweep_formats12(const feature_device& device) {
    std::vector<d3d_format_support> formats;
    for (uint32_t value = 1; value <= dxgi_last_format; ++value) {
        if (published_dxgi_format_name(value).empty()) {
            continue;
        }
        d3d_format_support& format = formats.emplace_back();
        format.format = value;
        // A format the runtime does not know is E_INVALIDARG.
        D3D12_FEATURE_DATA_FORMAT_SUPPORT support{static_cast<DXGI_FORMAT>(value), {}, {}};
        format.answered = device.check(D3D12_FEATURE_FORMAT_SUPPORT, &support, sizeof support) == S_OK;
        if (!format.answered) {
            continue;
        }
        format.support1 = support.Support1;
        format.support2 = support.Support2;
        format.support2_answered = true;
        if (format.support1 == 0) {
            continue;
        }
        for (const uint32_t samples : sample_counts) {
            D3D12_FEATURE_DATA_MULTISAMPLE_QUALITY_LEVELS levels{
                static_cast<DXGI_FORMAT>(value), samples, {}, 0};
            if (device.check(D3D12_FEATURE_MULTISAMPLE_QUALITY_LEVELS, &levels, sizeof levels) == S_OK &&
                levels.NumQualityLevels > 0) {
                format.sample_counts |= sample_bit(samples);
            }
        }
    }
    keep_if_answered(formats);
    return formats;
}

// Every structure of the runtime that is asked without an input.
void ask_options(const feature_device& device, d3d_runtime runtime, d3d11_12_record& record) {
    for (const d3d_feature_query& query : d3d_feature_queries) {
        if (query.runtime != runtime || query.id == d3d_query::root_signature12) {
            continue;
        }
        // The first word of ARCHITECTURE and SERIALIZATION, the node, is 0:
        // the first node.
        std::vector<uint32_t> words(query.words, 0);
        if (device.check(query.feature, words.data(), query.words * 4) == S_OK) {
            record.answers[static_cast<size_t>(query.id)] = std::move(words);
        }
    }
}

// Each runtime's reading: the reason it could not be read, or none.
std::optional<reason> read_d3d11(IDXGIAdapter* adapter, const d3d11_12_entry_points& entry,
                                 d3d11_12_record& record, bool with_formats) {
    if (!entry.create11) {
        return reason{
            "Direct3D 11", -1, "D3D11CreateDevice", "d3d11.dll or its D3D11CreateDevice is missing", {}};
    }
    // Until the device is gone, with its swap chain.
    const std::lock_guard<std::mutex> one_at_a_time(display_device_lock());
    feature_device device;
    uint32_t level = 0;
    HRESULT status = entry.create11(adapter, d3d11_levels, std::size(d3d11_levels), &level, &device);
    if (status == E_INVALIDARG) {
        device = {};
        status = entry.create11(adapter, d3d11_levels + 1, std::size(d3d11_levels) - 1, &level, &device);
    }
    if (status != S_OK || !device.device || !device.check) {
        return call_failed("Direct3D 11", -1, "D3D11CreateDevice", status);
    }
    record.d3d11_feature_level = level;
    ask_options(device, d3d_runtime::d3d11, record);
    if (with_formats) {
        record.formats11 = sweep_formats11(device);
    }
    return {};
}

std::optional<reason> read_d3d12(IDXGIAdapter* adapter, const d3d11_12_entry_points& entry,
                                 d3d11_12_record& record, bool with_formats) {
    if (!entry.create12) {
        return reason{
            "Direct3D 12", -1, "D3D12CreateDevice", "d3d12.dll or its D3D12CreateDevice is missing", {}};
    }
    feature_device device;
    const HRESULT created = entry.create12(adapter, D3D_FEATURE_LEVEL_11_0, &device);
    if (created != S_OK || !device.device || !device.check) {
        return call_failed("Direct3D 12", -1, "D3D12CreateDevice", created);
    }
    // The device exists, so 11_0 at least.
    record.d3d12_feature_level = D3D_FEATURE_LEVEL_11_0;
    for (UINT skipped = 0; skipped < 2; ++skipped) {
        D3D12_FEATURE_DATA_FEATURE_LEVELS levels{static_cast<UINT>(std::size(d3d12_levels)) - skipped,
                                                 d3d12_levels + skipped, D3D_FEATURE_LEVEL_11_0};
        if (device.check(D3D12_FEATURE_FEATURE_LEVELS, &levels, sizeof levels) == S_OK) {
            record.d3d12_feature_level = levels.MaxSupportedFeatureLevel;
            break;
        }
    }
    // From the newest model down, past the ones the runtime does not know.
    for (uint32_t model = shader_model_6_9; model >= 0x60 || model == shader_model_5_1;
         model = model == 0x60 ? shader_model_5_1 : model - 1) {
        D3D12_FEATURE_DATA_SHADER_MODEL data{static_cast<D3D_SHADER_MODEL>(model)};
        const HRESULT status = device.check(D3D12_FEATURE_SHADER_MODEL, &data, sizeof data);
        if (status == S_OK) {
            record.shader_model = data.HighestShaderModel;
        }
        if (status != E_INVALIDARG || model == shader_model_5_1) {
            break;
        }
    }
    for (uint32_t version = root_signature_1_1; version >= 1; --version) {
        std::vector<uint32_t> data{version};
        const HRESULT status =
            device.check(query_of(d3d_query::root_signature12).feature, data.data(), sizeof(uint32_t));
        if (status == S_OK) {
            record.answers[static_cast<size_t>(d3d_query::root_signature12)] = std::move(data);
        }
        if (status != E_INVALIDARG) {
            break;
        }
    }
    ask_options(device, d3d_runtime::d3d12, record);
    if (with_formats) {
        record.formats12 = sweep_formats12(device);
    }
    return {};
}

// The device's reference and its feature query, for the probe. The query
// holds no reference: the probe drops it with the device.
template <typename Feature, typename Device>
void hand_over(const Microsoft::WRL::ComPtr<Device>& device, feature_device* out) {
    Device* raw = device.Get();
    out->device = device;
    out->check = [raw](uint32_t feature, void* data, uint32_t size) {
        return raw->CheckFeatureSupport(static_cast<Feature>(feature), data, size);
    };
}

}  // namespace

d3d11_12_entry_points load_d3d11_12_entry_points() {
    d3d11_12_entry_points entry;
    if (const auto create = get_proc<create11_fn>(load_library("d3d11.dll"), "D3D11CreateDevice")) {
        entry.create11 = [create](IDXGIAdapter* adapter, const uint32_t* levels, uint32_t count,
                                  uint32_t* level, feature_device* out) {
            std::vector<D3D_FEATURE_LEVEL> asked;
            for (uint32_t i = 0; i < count; ++i) {
                asked.push_back(static_cast<D3D_FEATURE_LEVEL>(levels[i]));
            }
            Microsoft::WRL::ComPtr<ID3D11Device> device;
            D3D_FEATURE_LEVEL created{};
            // With an adapter given, the driver type must be "unknown".
            const HRESULT status = create(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, asked.data(), count,
                                          D3D11_SDK_VERSION, device.GetAddressOf(), &created, nullptr);
            if (status == S_OK && device) {
                *level = created;
                hand_over<D3D11_FEATURE>(device, out);
                ID3D11Device* raw = device.Get();
                out->format_support = [raw](uint32_t format, uint32_t* support) {
                    UINT bits = 0;
                    const HRESULT answer = raw->CheckFormatSupport(static_cast<DXGI_FORMAT>(format), &bits);
                    *support = bits;
                    return answer;
                };
                out->quality_levels = [raw](uint32_t format, uint32_t samples, uint32_t* levels) {
                    UINT count = 0;
                    const HRESULT answer =
                        raw->CheckMultisampleQualityLevels(static_cast<DXGI_FORMAT>(format), samples, &count);
                    *levels = count;
                    return answer;
                };
            }
            return status;
        };
    }
    if (const auto create = get_proc<create12_fn>(load_library("d3d12.dll"), "D3D12CreateDevice")) {
        entry.create12 = [create](IDXGIAdapter* adapter, uint32_t minimum_level, feature_device* out) {
            Microsoft::WRL::ComPtr<ID3D12Device> device;
            const HRESULT status =
                create(adapter, static_cast<D3D_FEATURE_LEVEL>(minimum_level), __uuidof(ID3D12Device),
                       reinterpret_cast<void**>(device.GetAddressOf()));
            if (status == S_OK && device) {
                hand_over<D3D12_FEATURE>(device, out);
            }
            return status;
        };
    }
    return entry;
}

d3d11_12_probed probe_d3d11_12(IDXGIAdapter* adapter, const d3d11_12_entry_points& entry, bool with_formats) {
    d3d11_12_probed probed;
    d3d11_12_record& record = probed.record;
    // Each device lives only within its read; nothing here may stop the
    // start-up.
    const auto read = [&](auto reader, const char* runtime, uint32_t& level) {
        std::optional<reason> what;
        try {
            what = reader(adapter, entry, record, with_formats);
        } catch (const std::exception& error) {
            // A runtime that raises (out of memory, or a fault the runtime
            // turned into an exception) is the reason, not the end.
            level = 0;
            what = reason{runtime, -1, {}, error.what(), {}};
        }
        if (what) {
            probed.reasons.push_back(std::move(*what));
        }
    };
    read(read_d3d11, "Direct3D 11", record.d3d11_feature_level);
    read(read_d3d12, "Direct3D 12", record.d3d12_feature_level);
    return probed;
}
