// The Direct3D 9 probe: adapters, identity, hardware caps and display modes.
#pragma once

#include <d3d9.h>
#include <wrl/client.h>

#include <functional>

#include "probe/d3d_common.h"

// Creates the Direct3D 9 object for an SDK version; returns one reference
// the caller owns, or null. The default is Direct3DCreate9.
using d3d9_creator = std::function<IDirect3D9*(UINT sdk_version)>;

d3d9_creator default_d3d9_creator();

class d3d9_probe : public direct3d_probe {
public:
    // Lists the adapters; the list is complete on return.
    explicit d3d9_probe(const d3d9_creator& create = default_d3d9_creator());
    ~d3d9_probe() override;

    Microsoft::WRL::ComPtr<IDirect3D9> d3d;

private:
    void capture();
    bool is_listed(const GUID& device_identifier) const;
};
