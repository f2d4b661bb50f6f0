// The capture: every probe on a thread of its own at start (or one after
// another), each bounded in time, their records and reasons gathered.
#include "probe/capture.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

#include "base/platform.h"
#include "probe/d3d9_probe.h"
#include "probe/dxgi_probe.h"
#include "probe/gl_probe.h"
#include "probe/vk_probe.h"

namespace {

// Runs one probe's seam on this thread. This is the edge of the probe's
// layer: whatever it raises becomes a reason of its part, and the capture
// goes on with empty records.
template <typename Records>
Records guarded(const char* part, const std::function<Records()>& read) {
    try {
        return read();
    } catch (const failure& error) {
        Records none{};
        reason why = error.why();
        why.part = part;
        none.reasons.push_back(std::move(why));
        return none;
    } catch (const std::exception& error) {
        Records none{};
        none.reasons.push_back({part, -1, {}, error.what(), {}});
        return none;
    }
}

// DXGI, else Direct3D 9 after DXGI's reasons, else an empty list.
adapter_records read_directx(const capture_seams& seams) {
    adapter_records dxgi = seams.direct3d10 ? guarded("DXGI", seams.direct3d10) : adapter_records{};
    if (dxgi.answered || !seams.direct3d9) {
        return dxgi;
    }
    adapter_records d3d9 = guarded("Direct3D 9", seams.direct3d9);
    std::vector<reason> reasons = std::move(dxgi.reasons);
    append(reasons, std::move(d3d9.reasons));
    d3d9.reasons = std::move(reasons);
    return d3d9;
}

// Direct3D 11/12 on every adapter, and the reasons of the whole reading
// (those of each adapter are in its reading).
struct d3d11_12_readings {
    std::vector<d3d11_12_reading> list;
    std::vector<reason> reasons;
};

d3d11_12_readings read_d3d11_12(const capture_seams& seams) {
    return guarded<d3d11_12_readings>("Direct3D 11/12", [&] {
        return d3d11_12_readings{seams.direct3d11_12(), {}};
    });
}

// Hands each Direct3D 11/12 reading to the adapter of its LUID.
void hand_over(const std::vector<d3d11_12_reading>& readings, std::vector<dx_adapter>& adapters) {
    for (const d3d11_12_reading& reading : readings) {
        for (dx_adapter& adapter : adapters) {
            if (adapter.info.has_luid && adapter.info.luid == reading.luid) {
                adapter.d3d11_12 = reading.record;
            }
        }
    }
}

// The reasons of each reading, as reasons of the adapter of its LUID.
std::vector<reason> reasons_of(const std::vector<d3d11_12_reading>& readings,
                               const std::vector<dx_adapter>& adapters) {
    std::vector<reason> reasons;
    for (const d3d11_12_reading& reading : readings) {
        for (size_t i = 0; i < adapters.size(); ++i) {
            if (adapters[i].info.has_luid && adapters[i].info.luid == reading.luid) {
                for (reason why : reading.reasons) {
                    why.adapter = static_cast<int>(i);
                    reasons.push_back(std::move(why));
                }
            }
        }
    }
    return reasons;
}

reason too_slow(capture_part part, std::chrono::milliseconds bound) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(bound).count();
    return {capture_part_name(part),
            -1,
            {},
            "no answer within " +
                (seconds >= 1 ? std::to_string(seconds) + " seconds" : std::to_string(bound.count()) + " ms"),
            {}};
}

size_t index_of(capture_part part) {
    return static_cast<size_t>(part);
}

constexpr std::array<capture_part, capture_part_count> every_part = {
    capture_part::directx, capture_part::direct3d11_12, capture_part::opengl, capture_part::vulkan};

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
    // Each probe ends, with its platform objects, before its records leave.
    // The DirectX probe leaves Direct3D 11 and 12 to their own.
    seams.direct3d10 = [entry_points] {
        dx10_entry_points entry = entry_points();
        entry.read_d3d11_12 = false;
        return dxgi_probe(entry).take();
    };
    seams.direct3d9 = [] { return d3d9_probe().take(); };
    seams.direct3d11_12 = [entry_points] { return probe_d3d11_12_everywhere(entry_points()); };
    seams.opengl = [](std::span<const dx_adapter> adapters) { return gl_probe(adapters).take(); };
    seams.vulkan = [](const std::function<bool()>& windows_free) {
        return vk_probe(default_vk_loader(), windows_free).take();
    };
    seams.platform = this_os_platform;
    return seams;
}

bool startup_capture::complete() const {
    return !listing && std::none_of(reading.begin(), reading.end(), [](bool part) { return part; });
}

std::vector<reason> startup_capture::all_reasons() const {
    std::vector<reason> all;
    for (const std::vector<reason>& part : reasons) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::string parts_still_reading(const startup_capture& capture) {
    std::vector<const char*> names;
    if (capture.listing) {
        names.push_back("the adapter list");
    }
    for (const capture_part part : every_part) {
        if (capture.still_reading(part)) {
            names.push_back(capture_part_name(part));
        }
    }
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += std::string(i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

// What one probe's thread hands back: values only.
struct capture_run::handed_back {
    adapter_records directx;
    std::vector<d3d11_12_reading> d3d11_12;
    gl_records opengl;
    vk_records vulkan;
    std::vector<reason> reasons;  // what the part could not read, besides its records' own
};

// The list, or where there is none the DirectX probe's own records.
struct capture_run::listed {
    std::optional<std::vector<dx_adapter>> adapters;
    adapter_records directx;
};

// What the probes' threads hand over. A thread holds it with the run, so a
// probe that outlives the run writes into state that still exists, and
// nothing else.
struct capture_run::shared {
    std::mutex lock;
    std::condition_variable changed;
    std::function<void()> finished;
    // A part's records, from the moment its thread has ended its work until
    // they are taken in.
    std::array<std::optional<handed_back>, capture_part_count> handed;
    // Whether a part's thread has ended its work, taken in or not.
    std::array<bool, capture_part_count> ended{};
    // The list read aside, from the moment it is in until it is taken in.
    std::optional<listed> list;
    bool list_ended = false;
};

namespace {

capture_run::listed read_list(const capture_seams& seams) {
    capture_run::listed list;
    if (seams.adapter_list) {
        try {
            list.adapters = seams.adapter_list();
        } catch (const std::exception&) {
            // The DirectX probe says why.
        }
    }
    if (!list.adapters) {
        list.directx = read_directx(seams);
    }
    return list;
}

}  // namespace

template <typename Work>
void capture_run::start(capture_part part, Work work) {
    const size_t index = index_of(part);
    capture_.reading[index] = true;
    threads_[index] = std::thread([state = shared_, index, work = std::move(work)]() mutable {
        // Below the thread of a window that shows what they read, so that
        // it paints and answers while they work.
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        handed_back records;
        work(records);
        std::function<void()> finished;
        {
            const std::lock_guard<std::mutex> hold(state->lock);
            state->handed[index] = std::move(records);
            state->ended[index] = true;
            finished = state->finished;
        }
        state->changed.notify_all();
        if (finished) {
            finished();
        }
    });
}

capture_run::capture_run(const capture_seams& seams, std::function<void()> finished, bool list_aside)
    : shared_(std::make_shared<shared>()), seams_(seams), bound_(seams.bound) {
    shared_->finished = std::move(finished);
    deadline_ = clock::now() + bound_;
    if (seams.platform) {
        capture_.platform = seams.platform();
    }
    if (!list_aside) {
        start_probes(read_list(seams));
        return;
    }
    capture_.listing = true;
    list_thread_ = std::thread([state = shared_, seams] {
        // Below the thread of the window that waits for it, as the probes.
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        listed list = read_list(seams);
        std::function<void()> finished;
        {
            const std::lock_guard<std::mutex> hold(state->lock);
            state->list = std::move(list);
            state->list_ended = true;
            finished = state->finished;
        }
        state->changed.notify_all();
        if (finished) {
            finished();
        }
    });
}

void capture_run::start_probes(listed&& list) {
    const capture_seams& seams = seams_;
    capture_.listing = false;
    if (list.adapters) {
        capture_.adapters = std::move(*list.adapters);
        start(capture_part::directx, [seams](handed_back& out) { out.directx = read_directx(seams); });
    } else {
        capture_.adapters = std::move(list.directx.adapters);
        capture_.reasons[index_of(capture_part::directx)] = std::move(list.directx.reasons);
    }
    const std::vector<dx_adapter>& adapters = capture_.adapters;
    if (seams.direct3d11_12 && !adapters.empty()) {
        start(capture_part::direct3d11_12, [seams](handed_back& out) {
            d3d11_12_readings read = read_d3d11_12(seams);
            out.d3d11_12 = std::move(read.list);
            out.reasons = std::move(read.reasons);
        });
    }
    if (seams.opengl) {
        // The OpenGL probe reads the list's monitors from a copy of its own.
        start(capture_part::opengl, [seams, adapters](handed_back& out) {
            out.opengl = guarded<gl_records>("OpenGL", [&] { return seams.opengl(adapters); });
        });
    }
    if (seams.vulkan) {
        // The parts that make windows and contexts, started before Vulkan.
        std::vector<size_t> windowing;
        for (const capture_part part :
             {capture_part::directx, capture_part::direct3d11_12, capture_part::opengl}) {
            if (capture_.reading[index_of(part)]) {
                windowing.push_back(index_of(part));
            }
        }
        const auto windows_free = [state = shared_, windowing, bound = bound_] {
            std::unique_lock<std::mutex> hold(state->lock);
            return state->changed.wait_for(hold, bound / 2, [&] {
                return std::all_of(windowing.begin(), windowing.end(),
                                   [&](size_t part) { return state->ended[part]; });
            });
        };
        start(capture_part::vulkan, [seams, windows_free](handed_back& out) {
            out.vulkan = guarded<vk_records>("Vulkan", [&] { return seams.vulkan(windows_free); });
        });
    }
    // Each probe's bound counts from the list.
    deadline_ = clock::now() + bound_;
    // The seams hold what the probes share; the run needs them no more.
    seams_ = {};
}

capture_run::~capture_run() {
    if (list_thread_.joinable()) {
        bool ended = false;
        {
            const std::lock_guard<std::mutex> hold(shared_->lock);
            ended = shared_->list_ended;
        }
        if (ended) {
            list_thread_.join();
        } else {
            list_thread_.detach();
        }
    }
    for (size_t i = 0; i < capture_part_count; ++i) {
        if (!threads_[i].joinable()) {
            continue;
        }
        bool ended = false;
        {
            const std::lock_guard<std::mutex> hold(shared_->lock);
            ended = shared_->handed[i].has_value();
        }
        if (ended) {
            threads_[i].join();
        } else {
            threads_[i].detach();
        }
    }
}

void capture_run::take_in(capture_part part, handed_back&& records) {
    std::vector<reason>& into = capture_.reasons[index_of(part)];
    switch (part) {
        case capture_part::directx:
            capture_.adapters = std::move(records.directx.adapters);
            append(into, std::move(records.directx.reasons));
            hand_over(readings_, capture_.adapters);
            break;
        case capture_part::direct3d11_12:
            readings_ = std::move(records.d3d11_12);
            append(into, std::move(records.reasons));
            hand_over(readings_, capture_.adapters);
            append(into, reasons_of(readings_, capture_.adapters));
            break;
        case capture_part::opengl:
            capture_.opengl = std::move(records.opengl.records);
            append(into, std::move(records.opengl.reasons));
            break;
        case capture_part::vulkan:
            capture_.vulkan = std::move(records.vulkan.instance);
            capture_.vulkan_devices = std::move(records.vulkan.devices);
            append(into, std::move(records.vulkan.reasons));
            break;
    }
    capture_.reading[index_of(part)] = false;
}

bool capture_run::collect() {
    std::array<std::optional<handed_back>, capture_part_count> ended;
    std::optional<listed> list;
    {
        const std::lock_guard<std::mutex> hold(shared_->lock);
        if (capture_.listing && shared_->list) {
            list = std::move(shared_->list);
            shared_->list.reset();
        }
        for (size_t i = 0; i < capture_part_count; ++i) {
            if (capture_.reading[i] && shared_->handed[i]) {
                ended[i] = std::move(shared_->handed[i]);
                shared_->handed[i].reset();
            }
        }
    }
    bool changed = false;
    if (list) {
        list_thread_.join();
        start_probes(std::move(*list));
        changed = true;
    }
    // In a fixed order, so that the records meet as in the chained capture.
    for (const capture_part part : every_part) {
        const size_t index = index_of(part);
        if (ended[index]) {
            take_in(part, std::move(*ended[index]));
            // Its work is done: the join waits for the thread's last steps only.
            threads_[index].join();
            changed = true;
        }
    }
    return changed;
}

bool capture_run::ready() const {
    if (capture_.listing) {
        return shared_->list.has_value();
    }
    for (size_t i = 0; i < capture_part_count; ++i) {
        if (capture_.reading[i] && !shared_->handed[i]) {
            return false;
        }
    }
    return true;
}

bool capture_run::wait_until(clock::time_point until) {
    // The list, where it is read aside, and then the probes it starts.
    do {
        {
            std::unique_lock<std::mutex> hold(shared_->lock);
            shared_->changed.wait_until(hold, until, [this] { return ready(); });
        }
        collect();
    } while (!capture_.complete() && clock::now() < until);
    return capture_.complete();
}

void capture_run::give_up() {
    collect();
    // A list still read is left to end alone, the DirectX probe's part's reason.
    if (capture_.listing) {
        capture_.listing = false;
        capture_.abandoned[index_of(capture_part::directx)] = true;
        capture_.reasons[index_of(capture_part::directx)].push_back(too_slow(capture_part::directx, bound_));
    }
    for (const capture_part part : every_part) {
        const size_t index = index_of(part);
        if (!capture_.reading[index]) {
            continue;
        }
        capture_.reading[index] = false;
        capture_.abandoned[index] = true;
        capture_.reasons[index].push_back(too_slow(part, bound_));
    }
}

void capture_run::finish() {
    if (!wait_until(deadline_)) {
        give_up();
    }
}

bool capture_run::left_running() const {
    const std::lock_guard<std::mutex> hold(shared_->lock);
    if (list_thread_.joinable() && !shared_->list_ended) {
        return true;
    }
    for (size_t i = 0; i < capture_part_count; ++i) {
        if (threads_[i].joinable() && !shared_->handed[i]) {
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
    if (seams.platform) {
        capture.platform = seams.platform();
    }
    adapter_records directx = read_directx(seams);
    capture.adapters = std::move(directx.adapters);
    std::vector<reason>& direct3d = capture.reasons[index_of(capture_part::directx)];
    direct3d = std::move(directx.reasons);
    if (seams.direct3d11_12 && !capture.adapters.empty()) {
        d3d11_12_readings read = read_d3d11_12(seams);
        hand_over(read.list, capture.adapters);
        std::vector<reason>& reasons = capture.reasons[index_of(capture_part::direct3d11_12)];
        reasons = std::move(read.reasons);
        append(reasons, reasons_of(read.list, capture.adapters));
    }
    if (seams.opengl) {
        gl_records opengl = guarded<gl_records>("OpenGL", [&] { return seams.opengl(capture.adapters); });
        capture.opengl = std::move(opengl.records);
        capture.reasons[index_of(capture_part::opengl)] = std::move(opengl.reasons);
    }
    if (seams.vulkan) {
        // One probe after the other: no other makes windows meanwhile.
        vk_records vulkan = guarded<vk_records>("Vulkan", [&] { return seams.vulkan([] { return true; }); });
        capture.vulkan = std::move(vulkan.instance);
        capture.vulkan_devices = std::move(vulkan.devices);
        capture.reasons[index_of(capture_part::vulkan)] = std::move(vulkan.reasons);
    }
    return capture;
}
