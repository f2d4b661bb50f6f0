// The writer of each page, for the page table: each turns one probe record
// into the rows of its page. Pure: the same record always gives the same
// rows.
#pragma once

#include <cstdint>
#include <string_view>

struct dx_adapter;
struct gl_record;
struct vk_device_record;
struct vk_instance_record;
class page_writer;

// What the Vulkan pages of an adapter are written from: its device, the
// instance, and how the device was found to be the adapter's.
struct vk_page_source {
    const vk_device_record& device;
    const vk_instance_record& instance;
    std::string_view matched_by;  // "LUID", "vendor and device ID", ...
    uintptr_t monitor = 0;        // the adapter's HMONITOR: the Surface page shows a window there
};

namespace directx_pages {
// The Summary's first rows: what DXGI's list says of the adapter.
void identity(page_writer& page, const dx_adapter& adapter);
void summary(page_writer& page, const dx_adapter& adapter);
void device(page_writer& page, const dx_adapter& adapter);
void capabilities(page_writer& page, const dx_adapter& adapter);
void vertices(page_writer& page, const dx_adapter& adapter);
void rendering(page_writer& page, const dx_adapter& adapter);
void textures(page_writer& page, const dx_adapter& adapter);
void blending(page_writer& page, const dx_adapter& adapter);
void buffers(page_writer& page, const dx_adapter& adapter);
void pixel_shader(page_writer& page, const dx_adapter& adapter);
void vertex_shader(page_writer& page, const dx_adapter& adapter);
void resolutions(page_writer& page, const dx_adapter& adapter);  // shown sorted
void direct3d11_12(page_writer& page, const dx_adapter& adapter);
void formats(page_writer& page, const dx_adapter& adapter);
void outputs(page_writer& page, const dx_adapter& adapter);
}  // namespace directx_pages

namespace opengl_pages {
void summary(page_writer& page, const gl_record& record);
void device(page_writer& page, const gl_record& record);
void capabilities(page_writer& page, const gl_record& record);
void rendering(page_writer& page, const gl_record& record);
void textures(page_writer& page, const gl_record& record);
void stacks(page_writer& page, const gl_record& record);
void vertex_shader(page_writer& page, const gl_record& record);
void extensions(page_writer& page, const gl_record& record);
void core_limits(page_writer& page, const gl_record& record);
void all_extensions(page_writer& page, const gl_record& record);
}  // namespace opengl_pages

namespace vulkan_pages {
void summary(page_writer& page, const vk_page_source& source);
void device(page_writer& page, const vk_page_source& source);
void limits(page_writer& page, const vk_page_source& source);
void features(page_writer& page, const vk_page_source& source);
void extensions(page_writer& page, const vk_page_source& source);
void formats(page_writer& page, const vk_page_source& source);
void memory(page_writer& page, const vk_page_source& source);
void queues(page_writer& page, const vk_page_source& source);
// The feature and property structures the device's extensions bring, a
// section each.
void extension_features(page_writer& page, const vk_page_source& source);
void extension_properties(page_writer& page, const vk_page_source& source);
// What the device can present to a window on the adapter's monitor.
void surface(page_writer& page, const vk_page_source& source);
}  // namespace vulkan_pages
