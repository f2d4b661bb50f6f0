// Probes whose records a test writes: a Direct3D list and an OpenGL list.
#pragma once

#include <memory>
#include <string>

#include "fakes/fake_gl.h"
#include "probe/qe_3d.h"
#include "probe/qe_3d_open_gl.h"

namespace fakes {

inline HMONITOR monitor_handle(uintptr_t value) {
    return reinterpret_cast<HMONITOR>(value);
}

class direct3d_list : public tq3d {
public:
    Tqdx_adapter& add(const std::string& description, uintptr_t monitor) {
        Tqdx_adapter& adapter = adapters.emplace_back();
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
    opengl_list() : probe_(std::make_unique<tqgl>(direct3d_list{}, gl_.platform())) {}

    tqgl_adapter& add(const std::string& renderer, uintptr_t monitor) {
        tqgl_adapter& record = probe_->adapters.emplace_back();
        record.renderer = renderer;
        record.monitor = monitor_handle(monitor);
        probe_->count = static_cast<int32_t>(probe_->adapters.size());
        return record;
    }
    tqgl& probe() { return *probe_; }
    // Hands the probe over, as a probe constructor would.
    std::unique_ptr<tqgl> take() { return std::move(probe_); }

private:
    gl_system gl_;
    std::unique_ptr<tqgl> probe_;
};

}  // namespace fakes
