// The capture of this machine, made once per test program: the platform
// does not change while the tests run, and on some shapes (three heads,
// whose DXGI mode lists Wine builds slowly) a capture takes many seconds.
#pragma once

#include "probe/capture.h"
#include "refdata/pci_names.h"

inline const startup_capture& shared_capture() {
    static const startup_capture capture = [] {
        init_reference_data();
        return capture_startup();
    }();
    return capture;
}
