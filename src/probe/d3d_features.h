// The Direct3D 11 and 12 feature structures the probe asks for, and the
// record of their answers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The CheckFeatureSupport structures the probe asks for, in page order.
enum class d3d_query : uint8_t {
    threading11,
    doubles11,
    hardware_options11,
    options11,
    options11_1,
    options11_2,
    options11_3,
    options11_4,
    options11_5,
    architecture11,
    min_precision11,
    root_signature12,
    options12,
    options12_1,
    options12_2,
    options12_3,
    options12_4,
    options12_5,
    options12_6,
    options12_7,
    virtual_address12,
    architecture12,
};

enum class d3d_runtime : uint8_t { d3d11, d3d12 };

// One structure: its runtime, its D3D11_FEATURE or D3D12_FEATURE value, and
// its size in 32-bit words (every field of these structures is one word).
struct d3d_feature_query {
    d3d_query id;
    d3d_runtime runtime;
    uint32_t feature;
    uint32_t words;
};

inline constexpr d3d_feature_query d3d_feature_queries[] = {
    {d3d_query::threading11, d3d_runtime::d3d11, 0, 2},
    {d3d_query::doubles11, d3d_runtime::d3d11, 1, 1},
    {d3d_query::hardware_options11, d3d_runtime::d3d11, 4, 1},
    {d3d_query::options11, d3d_runtime::d3d11, 5, 14},
    {d3d_query::options11_1, d3d_runtime::d3d11, 10, 4},
    {d3d_query::options11_2, d3d_runtime::d3d11, 14, 8},
    {d3d_query::options11_3, d3d_runtime::d3d11, 15, 1},
    {d3d_query::options11_4, d3d_runtime::d3d11, 17, 1},
    {d3d_query::options11_5, d3d_runtime::d3d11, 19, 1},
    {d3d_query::architecture11, d3d_runtime::d3d11, 6, 1},
    {d3d_query::min_precision11, d3d_runtime::d3d11, 8, 2},
    {d3d_query::root_signature12, d3d_runtime::d3d12, 12, 1},
    {d3d_query::options12, d3d_runtime::d3d12, 0, 15},
    {d3d_query::options12_1, d3d_runtime::d3d12, 8, 6},
    {d3d_query::options12_2, d3d_runtime::d3d12, 18, 2},
    {d3d_query::options12_3, d3d_runtime::d3d12, 21, 5},
    {d3d_query::options12_4, d3d_runtime::d3d12, 23, 3},
    {d3d_query::options12_5, d3d_runtime::d3d12, 27, 3},
    {d3d_query::options12_6, d3d_runtime::d3d12, 30, 5},
    {d3d_query::options12_7, d3d_runtime::d3d12, 32, 2},
    {d3d_query::virtual_address12, d3d_runtime::d3d12, 6, 2},
    {d3d_query::architecture12, d3d_runtime::d3d12, 1, 4},
};
inline constexpr size_t d3d_query_count = std::size(d3d_feature_queries);

inline constexpr const d3d_feature_query& query_of(d3d_query id) {
    return d3d_feature_queries[static_cast<size_t>(id)];
}

// Values the MinGW-w64 headers do not name yet, from their published values.
inline constexpr uint32_t feature_level_12_2 = 0xC200;
inline constexpr uint32_t shader_model_5_1 = 0x51;
inline constexpr uint32_t shader_model_6_7 = 0x67;
inline constexpr uint32_t root_signature_1_1 = 2;

// What Direct3D 11 and 12 said of one adapter. Zero, or no words, where
// nothing could be read.
struct d3d11_12_record {
    uint32_t d3d11_feature_level = 0;  // a D3D_FEATURE_LEVEL
    uint32_t d3d12_feature_level = 0;
    uint32_t shader_model = 0;  // a D3D_SHADER_MODEL, 0x51 for 5.1
    // The words of each structure, by d3d_query; empty when not answered.
    std::array<std::vector<uint32_t>, d3d_query_count> answers;

    const std::vector<uint32_t>& answer(d3d_query id) const { return answers[static_cast<size_t>(id)]; }
};
