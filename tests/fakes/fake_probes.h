// Probes whose records a test writes: a Direct3D list and an OpenGL list.
#pragma once

#include <memory>
#include <string>

#include "fakes/fake_gl.h"
#include "probe/d3d_common.h"
#include "probe/gl_probe.h"

namespace fakes {

inline HMONITOR monitor_handle(uintptr_t value) {
    return reinterpret_cast<HMONITOR>(value);
}

class direct3d_list : public direct3d_probe {
public:
    dx_adapter& add(const std::string& description, uintptr_t monitor) {
        dx_adapter& adapter = adapters.emplace_back();
        adapter.info.description = description;
        adapter.monitor = monitor_handle(monitor);
        count = static_cast<int32_t>(adapters.size());
        return adapter;
    }
};

// An OpenGL probe built on a fake system with no context; the test adds the
// records.
class opengl_list {
public:
    opengl_list() : probe_(std::make_unique<gl_probe>(direct3d_list{}, gl_.platform())) {}

    gl_record& add(const std::string& renderer, uintptr_t monitor) {
        gl_record& record = probe_->adapters.emplace_back();
        record.renderer = renderer;
        record.monitor = monitor_handle(monitor);
        probe_->count = static_cast<int32_t>(probe_->adapters.size());
        return record;
    }
    gl_probe& probe() { return *probe_; }
    // Hands the probe over, as a probe constructor would.
    std::unique_ptr<gl_probe> take() { return std::move(probe_); }

private:
    gl_system gl_;
    std::unique_ptr<gl_probe> probe_;
};

}  // namespace fakes
