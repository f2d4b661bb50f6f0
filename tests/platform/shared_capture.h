// The capture of this machine, made once per test program: the platform
// does not change while the tests run, and on some shapes (three heads,
// whose DXGI mode lists Wine builds slowly) a capture takes many seconds.
// The tests check what the probes read, not their bound (the capture's
// tests hold that with fakes): on a machine busy with other tests a probe
// gets two minutes, and Vulkan's surfaces half of that to wait for the
// other probes' windows.
#pragma once

#include "probe/capture.h"
#include "refdata/pci_names.h"

inline const startup_capture& shared_capture() {
    static const startup_capture capture = [] {
        init_reference_data();
        capture_seams seams = default_capture_seams();
        seams.bound = std::chrono::minutes(2);
        return capture_startup(seams);
    }();
    return capture;
}
