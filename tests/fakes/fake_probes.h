// Records whose contents a test writes: a Direct3D list and an OpenGL list,
// as the probes hand them back.
#pragma once

#include <string>
#include <utility>

#include "probe/d3d_common.h"
#include "probe/records.h"

namespace fakes {

inline HMONITOR monitor_handle(uintptr_t value) {
    return reinterpret_cast<HMONITOR>(value);
}

class direct3d_list {
public:
    dx_adapter& add(const std::string& description, uintptr_t monitor) {
        dx_adapter& adapter = records.adapters.emplace_back();
        adapter.info.description = description;
        adapter.monitor = monitor_handle(monitor);
        return adapter;
    }
    // Hands the records over, as a probe's thread would.
    adapter_records take() { return std::move(records); }

    adapter_records records{true, {}, {}};
    std::vector<dx_adapter>& adapters = records.adapters;
};

class opengl_list {
public:
    gl_record& add(const std::string& renderer, uintptr_t monitor) {
        gl_record& record = read.records.emplace_back();
        record.renderer = renderer;
        record.monitor = monitor_handle(monitor);
        return record;
    }
    // Hands the records over, as a probe's thread would.
    gl_records take() { return std::move(read); }

    gl_records read;
};

}  // namespace fakes
