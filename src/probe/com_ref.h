// Helpers for counted references.
#pragma once

#include <wrl/client.h>

// Takes over a reference the caller already owns (a creator's result).
// MinGW-w64's ComPtr::Attach adds a reference of its own, which would leak
// the object, so the pointer is stored directly.
template <typename T>
void adopt(Microsoft::WRL::ComPtr<T>& holder, T* owned) {
    *holder.ReleaseAndGetAddressOf() = owned;
}
