// The start-up capture that the window and cavio-report share: the adapter
// list first, then the DirectX, Direct3D 11/12, OpenGL and Vulkan probes side
// by side, each on a thread of its own.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "base/os_platform.h"
#include "base/reason.h"
#include "probe/dxgi_probe.h"
#include "probe/records.h"
#include "probe/vk_records.h"

// What is read side by side once the adapters are listed.
enum class capture_part { directx, direct3d11_12, opengl, vulkan };
inline constexpr int capture_part_count = 4;

// "DirectX", "Direct3D 11/12", "OpenGL", "Vulkan".
const char* capture_part_name(capture_part part);

// The probes the capture runs; tests put fakes in their place. Each runs on
// the thread that calls it, destroys its probe (and every platform object)
// there, and hands back values only: records and reasons.
struct capture_seams {
    // The adapters as DXGI describes them, read before anything else so that
    // the window can show them; none (or empty): the DirectX probe's list,
    // read first.
    std::function<std::optional<std::vector<dx_adapter>>()> adapter_list;
    // The DirectX probe, and its Direct3D 9 fallback where it did not answer.
    std::function<adapter_records()> direct3d10;
    std::function<adapter_records()> direct3d9;
    // Direct3D 11 and 12 on every DXGI adapter; empty: not asked.
    std::function<std::vector<d3d11_12_reading>()> direct3d11_12;
    std::function<gl_records(std::span<const dx_adapter> adapters)> opengl;
    // Vulkan; empty: not asked. It calls windows_free before it makes the
    // windows of its surfaces: that returns true once no other probe makes
    // windows or contexts any more (Wine's X11 driver and Mesa can deadlock
    // when two threads do), false where one still does at its bound.
    std::function<vk_records(const std::function<bool()>& windows_free)> vulkan;
    // The operating system the capture reads on; none where empty.
    std::function<os_platform()> platform;
    // How long each probe may take once the list is read.
    std::chrono::milliseconds bound{20000};
};

// The real probes on the real platform.
capture_seams default_capture_seams();

// What the capture read, as far as it got.
struct startup_capture {
    // The list, then what the DirectX probe read, with Direct3D 11 and 12's
    // records on the adapters of their LUIDs.
    std::vector<dx_adapter> adapters;
    std::vector<gl_record> opengl;             // one per monitor whose context was read
    std::optional<vk_instance_record> vulkan;  // none where Vulkan was not asked or read nothing
    std::vector<vk_device_record> vulkan_devices;
    // What each part could not read, in the order it arose.
    std::array<std::vector<reason>, capture_part_count> reasons;
    // The parts still being read, and those given up past the bound: the
    // records of either are not there (the list stands for the DirectX
    // probe's adapters).
    std::array<bool, capture_part_count> reading{};
    std::array<bool, capture_part_count> abandoned{};
    // The list itself is still being read, aside (capture_run's list_aside):
    // no adapter is known yet and no probe has started.
    bool listing = false;
    // The operating system, as it says itself.
    os_platform platform;

    bool still_reading(capture_part part) const { return reading[static_cast<size_t>(part)]; }
    bool given_up(capture_part part) const { return abandoned[static_cast<size_t>(part)]; }
    bool complete() const;
    // Every part's reasons, in the order of the parts.
    std::vector<reason> all_reasons() const;
};

// "OpenGL and Vulkan": the parts still being read, in their order.
std::string parts_still_reading(const startup_capture& capture);

// A capture under way. Making it reads the list, on the calling thread, and
// starts the probes; each runs on a thread of its own that owns whatever
// windows and contexts it makes and hands back only its records.
class capture_run {
public:
    using clock = std::chrono::steady_clock;

    // finished, where given, is called on a probe's thread each time one
    // ends: the window posts itself a message. With list_aside, the list too
    // is read on a thread of its own, so that making the run returns at
    // once: capture().listing until it is in, when collect() starts the probes.
    explicit capture_run(const capture_seams& seams = default_capture_seams(),
                         std::function<void()> finished = {}, bool list_aside = false);
    // Joins the probes that have ended; one given up is left to end alone.
    ~capture_run();
    capture_run(const capture_run&) = delete;
    capture_run& operator=(const capture_run&) = delete;

    // What has been taken in so far.
    const startup_capture& capture() const { return capture_; }
    // Takes in the records of the probes that have ended since, and joins
    // their threads (holding no lock); true when anything changed.
    bool collect();
    // Waits until every probe has ended or until, whichever comes first,
    // then takes in what ended; true when the capture is complete.
    bool wait_until(clock::time_point until);
    // Every probe still reading becomes a reason ("OpenGL: no answer within
    // 20 seconds") and is left to end alone.
    void give_up();
    // Waits for every probe up to the bound, then gives up the rest.
    void finish();
    clock::time_point deadline() const { return deadline_; }
    // A probe has not ended yet (one given up, or the run is left early):
    // the process should not wait for it at exit.
    bool left_running() const;
    // The capture, moved out.
    startup_capture take() { return std::move(capture_); }

    struct shared;
    struct handed_back;

    struct listed;

private:
    template <typename Work>
    void start(capture_part part, Work work);
    void take_in(capture_part part, handed_back&& records);
    // The probes, once the list (or the DirectX probe's records, where there
    // is no list) is in.
    void start_probes(listed&& list);
    bool ready() const;  // under shared's lock: something to take in

    startup_capture capture_;
    std::shared_ptr<shared> shared_;
    std::array<std::thread, capture_part_count> threads_;
    capture_seams seams_;      // kept while the list is read aside
    std::thread list_thread_;  // reads the list aside
    std::chrono::milliseconds bound_;
    clock::time_point deadline_;
    std::vector<d3d11_12_reading> readings_;  // handed to each list the DirectX group gets
};

// The list, then every probe side by side until all have ended or the
// bound: capture_run, finished. Never raises: a probe that raises is a reason,
// and the capture goes on.
startup_capture capture_startup(const capture_seams& seams = default_capture_seams());

// The same records, one probe after the other on the calling thread: the
// capture as it was, for the benchmark and the tests that compare the two.
startup_capture capture_chained(const capture_seams& seams = default_capture_seams());
