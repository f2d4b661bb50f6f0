#include "probe/capture.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

#include "base/platform.h"
#include "probe/d3d9_probe.h"
#include "probe/dxgi_probe.h"

namespace {

// Runs one probe; what it raises becomes a reason of its API, and the
// probe's own reasons follow it.
template <typename Probe>
std::unique_ptr<Probe> run_probe(const std::function<std::unique_ptr<Probe>()>& construct, const char* api,
                                 std::vector<probe_reason>& reasons) {
    std::unique_ptr<Probe> probe;
    try {
        probe = construct();
    } catch (const std::exception& error) {
        reasons.push_back({-1, std::string(api) + ": " + error.what()});
    } catch (...) {
        reasons.push_back({-1, std::string(api) + ": failed"});
    }
    if (probe) {
        reasons.insert(reasons.end(), probe->reasons.begin(), probe->reasons.end());
    }
    return probe;
}

// DXGI, else Direct3D 9, else an empty list.
std::unique_ptr<direct3d_probe> read_directx(const capture_seams& seams, std::vector<probe_reason>& reasons) {
    std::unique_ptr<direct3d_probe> direct3d = run_probe(seams.direct3d10, "DXGI", reasons);
    // No DXGI, or it failed: Direct3D 9 alone.
    if (!direct3d) {
        direct3d = run_probe(seams.direct3d9, "Direct3D 9", reasons);
    }
    if (!direct3d) {
        direct3d = std::make_unique<direct3d_probe>();
    }
    return direct3d;
}

std::vector<d3d11_12_reading> read_d3d11_12(const capture_seams& seams, std::vector<probe_reason>& reasons) {
    try {
        return seams.direct3d11_12();
    } catch (const std::exception& error) {
        reasons.push_back({-1, std::string("Direct3D 11/12: ") + error.what()});
    } catch (...) {
        reasons.push_back({-1, "Direct3D 11/12: failed"});
    }
    return {};
}

// Hands each Direct3D 11/12 reading to the adapter of its LUID, with its
// reasons.
void attach(const std::vector<d3d11_12_reading>& readings, direct3d_probe& direct3d,
            std::vector<probe_reason>* reasons) {
    for (const d3d11_12_reading& reading : readings) {
        for (int i = 0; i < static_cast<int>(direct3d.adapters.size()); ++i) {
            dx_adapter& adapter = direct3d.adapters[static_cast<size_t>(i)];
            if (adapter.info.has_luid && adapter.info.luid == reading.luid) {
                adapter.d3d11_12 = reading.record;
                for (const std::string& reason : reading.reasons) {
                    if (reasons != nullptr) {
                        reasons->push_back({i, reason});
                    }
                }
            }
        }
    }
}

std::string too_slow(capture_part part, std::chrono::milliseconds bound) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(bound).count();
    return std::string(capture_part_name(part)) + ": no answer within " +
           (seconds >= 1 ? std::to_string(seconds) + " seconds" : std::to_string(bound.count()) + " ms");
}

size_t index_of(capture_part part) {
    return static_cast<size_t>(part);
}

}  // namespace

const char* capture_part_name(capture_part part) {
    switch (part) {
        case capture_part::directx:
            return "DirectX";
        case capture_part::direct3d11_12:
            return "Direct3D 11/12";
        case capture_part::opengl:
            return "OpenGL";
        case capture_part::vulkan:
            return "Vulkan";
    }
    return "";
}

capture_seams default_capture_seams() {
    capture_seams seams;
    // One DXGI factory for the list and both Direct3D probes: each factory
    // starts a whole runtime (a quarter of a second under Wine), and DXGI's
    // objects may be used from any thread. The list makes it before the
    // probes start; they only add references to it.
    struct shared_factory {
        std::once_flag made;
        HRESULT status = E_FAIL;
        Microsoft::WRL::ComPtr<IDXGIFactory> factory;
    };
    const auto shared = std::make_shared<shared_factory>();
    const auto share =
        [shared](const dx10_entry_points::factory_creator& create) -> dx10_entry_points::factory_creator {
        if (!create) {
            return {};
        }
        return [shared, create](REFIID wanted, void** out) {
            std::call_once(shared->made, [&] {
                shared->status =
                    create(__uuidof(IDXGIFactory), reinterpret_cast<void**>(shared->factory.GetAddressOf()));
            });
            return shared->factory ? shared->factory->QueryInterface(wanted, out) : shared->status;
        };
    };
    const auto entry_points = [share] {
        dx10_entry_points entry = load_dx10_entry_points();
        entry.CreateDXGIFactory = share(entry.CreateDXGIFactory);
        return entry;
    };
    // The list needs DXGI alone, not the Direct3D runtimes' libraries.
    seams.adapter_list = [share] {
        dx10_entry_points entry;
        if (const auto create =
                get_proc<HRESULT(WINAPI*)(REFIID, void**)>(load_library("dxgi.dll"), "CreateDXGIFactory")) {
            entry.CreateDXGIFactory = share(create);
        }
        return list_dxgi_adapters(entry);
    };
    // The DirectX probe leaves Direct3D 11 and 12 to their own.
    seams.direct3d10 = [entry_points] {
        dx10_entry_points entry = entry_points();
        entry.read_d3d11_12 = false;
        return std::unique_ptr<direct3d_probe>(std::make_unique<dxgi_probe>(entry));
    };
    seams.direct3d9 = [] { return std::unique_ptr<direct3d_probe>(std::make_unique<d3d9_probe>()); };
    seams.direct3d11_12 = [entry_points] { return probe_d3d11_12_everywhere(entry_points()); };
    seams.opengl = [](const direct3d_probe& direct3d) { return std::make_unique<gl_probe>(direct3d); };
    seams.vulkan = [] { return std::make_unique<vk_probe>(); };
    return seams;
}

std::vector<probe_reason>& startup_capture::reasons_of(capture_part part) {
    return part == capture_part::opengl   ? opengl_reasons
           : part == capture_part::vulkan ? vulkan_reasons
                                          : direct3d_reasons;
}

bool startup_capture::complete() const {
    for (const bool part : reading) {
        if (part) {
            return false;
        }
    }
    return true;
}

std::string parts_still_reading(const startup_capture& capture) {
    std::vector<const char*> names;
    for (size_t part = 0; part < capture_part_count; ++part) {
        if (capture.reading[part]) {
            names.push_back(capture_part_name(static_cast<capture_part>(part)));
        }
    }
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += std::string(i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

// What the probes' threads hand over. A thread holds it with the run, so a
// probe that outlives the run writes into state that still exists, and
// nothing else.
struct capture_run::shared {
    std::mutex lock;
    std::condition_variable changed;
    std::function<void()> finished;
    std::array<bool, capture_part_count> ended{};
    std::array<bool, capture_part_count> taken{};
    std::array<std::vector<probe_reason>, capture_part_count> reasons;
    std::unique_ptr<direct3d_probe> directx;
    std::vector<d3d11_12_reading> d3d11_12;
    std::unique_ptr<gl_probe> opengl;
    std::unique_ptr<vk_probe> vulkan;
};

template <typename Work>
void capture_run::start(capture_part part, Work work) {
    const size_t index = index_of(part);
    capture_.reading[index] = true;
    threads_[index] = std::thread([state = shared_, index, work = std::move(work)]() mutable {
        std::vector<probe_reason> reasons;
        // The records, and a step that stores them.
        auto store = work(reasons);
        std::function<void()> finished;
        {
            const std::lock_guard<std::mutex> hold(state->lock);
            store(*state);
            state->reasons[index] = std::move(reasons);
            state->ended[index] = true;
            finished = state->finished;
        }
        state->changed.notify_all();
        if (finished) {
            finished();
        }
    });
}

capture_run::capture_run(const capture_seams& seams, std::function<void()> finished)
    : shared_(std::make_shared<shared>()), bound_(seams.bound) {
    shared_->finished = std::move(finished);
    std::vector<dx_adapter> list;
    bool listed = false;
    if (seams.adapter_list) {
        try {
            list = seams.adapter_list();
            listed = true;
        } catch (const std::exception&) {
            // The DirectX probe says why, below.
        }
    }
    if (listed) {
        capture_.direct3d = std::make_unique<direct3d_probe>();
        capture_.direct3d->adapters = list;
        capture_.direct3d->count = static_cast<int32_t>(list.size());
        start(capture_part::directx, [seams](std::vector<probe_reason>& reasons) {
            return [probe = read_directx(seams, reasons)](shared& state) mutable {
                state.directx = std::move(probe);
            };
        });
    } else {
        capture_.direct3d = read_directx(seams, capture_.direct3d_reasons);
        list = capture_.direct3d->adapters;
    }
    if (seams.direct3d11_12 && !list.empty()) {
        start(capture_part::direct3d11_12, [seams](std::vector<probe_reason>& reasons) {
            return [readings = read_d3d11_12(seams, reasons)](shared& state) mutable {
                state.d3d11_12 = std::move(readings);
            };
        });
    }
    if (seams.opengl) {
        // The OpenGL probe reads the list's monitors from a copy of its own.
        start(capture_part::opengl, [seams,
                                     list = std::move(list)](std::vector<probe_reason>& reasons) mutable {
            direct3d_probe adapters;
            adapters.adapters = std::move(list);
            adapters.count = static_cast<int32_t>(adapters.adapters.size());
            return [probe = run_probe<gl_probe>([&] { return seams.opengl(adapters); }, "OpenGL", reasons)](
                       shared& state) mutable { state.opengl = std::move(probe); };
        });
    }
    if (seams.vulkan) {
        start(capture_part::vulkan, [seams](std::vector<probe_reason>& reasons) {
            return [probe = run_probe(seams.vulkan, "Vulkan", reasons)](shared& state) mutable {
                state.vulkan = std::move(probe);
            };
        });
    }
    deadline_ = clock::now() + bound_;
}

capture_run::~capture_run() {
    for (std::thread& thread : threads_) {
        if (!thread.joinable()) {
            continue;
        }
        bool ended = false;
        {
            const std::lock_guard<std::mutex> hold(shared_->lock);
            ended = shared_->ended[static_cast<size_t>(&thread - threads_.data())];
        }
        if (ended) {
            thread.join();
        } else {
            thread.detach();
        }
    }
}

void capture_run::take_in(capture_part part) {
    shared& state = *shared_;
    const size_t index = index_of(part);
    const std::vector<probe_reason>& reasons = state.reasons[index];
    std::vector<probe_reason>& into = capture_.reasons_of(part);
    into.insert(into.end(), reasons.begin(), reasons.end());
    switch (part) {
        case capture_part::directx:
            capture_.direct3d = std::move(state.directx);
            attach(readings_, *capture_.direct3d, nullptr);
            break;
        case capture_part::direct3d11_12:
            readings_ = std::move(state.d3d11_12);
            attach(readings_, *capture_.direct3d, &into);
            break;
        case capture_part::opengl:
            capture_.opengl = std::move(state.opengl);
            break;
        case capture_part::vulkan:
            capture_.vulkan = std::move(state.vulkan);
            break;
    }
    capture_.reading[index] = false;
    threads_[index].join();
}

bool capture_run::collect() {
    const std::lock_guard<std::mutex> hold(shared_->lock);
    bool changed = false;
    // In a fixed order, so that the reasons stand as in the chained capture.
    for (const capture_part part :
         {capture_part::directx, capture_part::direct3d11_12, capture_part::opengl, capture_part::vulkan}) {
        const size_t index = index_of(part);
        if (capture_.reading[index] && shared_->ended[index] && !shared_->taken[index]) {
            shared_->taken[index] = true;
            take_in(part);
            changed = true;
        }
    }
    return changed;
}

bool capture_run::wait_until(clock::time_point until) {
    {
        std::unique_lock<std::mutex> hold(shared_->lock);
        shared_->changed.wait_until(hold, until, [this] {
            for (size_t i = 0; i < capture_part_count; ++i) {
                if (capture_.reading[i] && !shared_->ended[i]) {
                    return false;
                }
            }
            return true;
        });
    }
    collect();
    return capture_.complete();
}

void capture_run::give_up() {
    collect();
    for (const capture_part part :
         {capture_part::directx, capture_part::direct3d11_12, capture_part::opengl, capture_part::vulkan}) {
        const size_t index = index_of(part);
        if (!capture_.reading[index]) {
            continue;
        }
        capture_.reading[index] = false;
        capture_.abandoned[index] = true;
        capture_.reasons_of(part).push_back({-1, too_slow(part, bound_)});
    }
}

void capture_run::finish() {
    if (!wait_until(deadline_)) {
        give_up();
    }
}

bool capture_run::left_running() const {
    const std::lock_guard<std::mutex> hold(shared_->lock);
    for (size_t i = 0; i < capture_part_count; ++i) {
        if (threads_[i].joinable() && !shared_->ended[i]) {
            return true;
        }
    }
    return false;
}

startup_capture capture_startup(const capture_seams& seams) {
    capture_run run(seams);
    run.finish();
    return run.take();
}

startup_capture capture_chained(const capture_seams& seams) {
    startup_capture capture;
    capture.direct3d = read_directx(seams, capture.direct3d_reasons);
    if (seams.direct3d11_12 && capture.direct3d->count > 0) {
        attach(read_d3d11_12(seams, capture.direct3d_reasons), *capture.direct3d, &capture.direct3d_reasons);
    }
    if (seams.opengl) {
        const direct3d_probe& direct3d = *capture.direct3d;
        capture.opengl =
            run_probe<gl_probe>([&] { return seams.opengl(direct3d); }, "OpenGL", capture.opengl_reasons);
    }
    if (seams.vulkan) {
        capture.vulkan = run_probe(seams.vulkan, "Vulkan", capture.vulkan_reasons);
    }
    return capture;
}
