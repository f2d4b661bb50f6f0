// The Direct3D 9 probe: adapters, identity, hardware caps and display modes.
#pragma once

#include <d3d9.h>
#include <wrl/client.h>

#include <functional>

#include "probe/qe_3d.h"

// Creates the Direct3D 9 object for an SDK version; returns one reference
// the caller owns, or null. The default is Direct3DCreate9.
using d3d9_creator = std::function<IDirect3D9*(UINT sdk_version)>;

d3d9_creator default_d3d9_creator();

class tq3d09 : public tq3d {
public:
    // Lists the adapters; the list is complete on return.
    explicit tq3d09(const d3d9_creator& create = default_d3d9_creator());
    ~tq3d09() override;

    Microsoft::WRL::ComPtr<IDirect3D9> d3d;

private:
    void capture();
    bool is_listed(const GUID& device_identifier) const;
};
