#include "report/page_table.h"

#include <algorithm>
#include <iterator>

namespace {

using enum page_id;

constexpr page_info dx(page_id id, const char* marker, const char* caption, int value_width = 100,
                       int name_width = 300) {
    return {id, page_group::directx, marker, caption, id == dx_summary, name_width, value_width};
}

constexpr page_info gl(page_id id, const char* marker, const char* caption, int value_width = 100,
                       int name_width = 300) {
    // The Summary and Device pages, and those of the core-profile context,
    // say nothing of an adapter without an OpenGL record.
    const bool cleared =
        id == gl_summary || id == gl_device || id == gl_core_limits || id == gl_all_extensions;
    return {id, page_group::opengl, marker, caption, id == gl_summary, name_width, value_width, cleared};
}

// Every Vulkan page belongs to the adapter's own device: none is kept from
// another adapter.
constexpr page_info vk(page_id id, const char* marker, const char* caption, int value_width = 100,
                       int name_width = 300) {
    return {id, page_group::vulkan, marker, caption, id == vk_summary, name_width, value_width, true};
}

// Tab order.
constexpr page_info pages[] = {
    dx(dx_summary, "dx_summary", "Summary", 200, 200),
    dx(dx_device, "dx_device", "Device", 250),
    dx(dx_capabilities, "dx_capabilities", "Capabilities"),
    dx(dx_vertices, "dx_vertices", "Vertices"),
    dx(dx_rendering, "dx_rendering", "Rendering"),
    dx(dx_textures, "dx_textures", "Textures"),
    dx(dx_blending, "dx_blending", "Blending"),
    dx(dx_buffers, "dx_buffers", "Buffers"),
    dx(dx_pixel_shader, "dx_pixel_shader", "Pixel Shader"),
    dx(dx_vertex_shader, "dx_vertex_shader", "Vertex Shader"),
    dx(dx_resolutions, "dx_resolutions", "Resolutions"),
    // The structures' field names are long.
    dx(dx_d3d11_12, "dx_d3d11_12", "Direct3D 11/12", 120, 430),
    // The formats' names are long, and so are their lists of uses.
    dx(dx_formats, "dx_formats", "Formats", 300, 380),
    dx(dx_outputs, "dx_outputs", "Outputs", 200, 250),
    gl(gl_summary, "gl_summary", "Summary", 200, 200),
    gl(gl_device, "gl_device", "Device", 250),
    gl(gl_capabilities, "gl_capabilities", "Capabilities"),
    gl(gl_rendering, "gl_rendering", "Rendering"),
    gl(gl_textures, "gl_textures", "Textures"),
    gl(gl_stacks, "gl_stacks", "Stacks"),
    gl(gl_vertex_shader, "gl_vertex_shader", "Vertex Shader"),
    gl(gl_extensions, "gl_extensions", "Extensions"),
    // The enumerants' names are long.
    gl(gl_core_limits, "gl_core_limits", "Core limits", 140, 430),
    gl(gl_all_extensions, "gl_all_extensions", "All extensions", 100, 360),
    // The identifiers are long: the names give way.
    vk(vk_summary, "vk_summary", "Summary", 276, 130),
    // The structures' member names are long.
    vk(vk_device, "vk_device", "Device", 150, 400),
    vk(vk_limits, "vk_limits", "Limits", 100, 340),
    vk(vk_features, "vk_features", "Features", 100, 400),
    vk(vk_extensions, "vk_extensions", "Extensions", 100, 340),
    vk(vk_formats, "vk_formats", "Formats", 200, 360),
    vk(vk_memory, "vk_memory", "Memory"),
    vk(vk_queues, "vk_queues", "Queues"),
    vk(vk_extension_features, "vk_extension_features", "Extension features", 100, 340),
    vk(vk_extension_properties, "vk_extension_properties", "Extension properties", 200, 340),
    vk(vk_surface, "vk_surface", "Surface", 200, 260),
};
static_assert(std::size(pages) == page_count);

constexpr bool ids_follow_the_table() {
    for (int i = 0; i < page_count; ++i) {
        if (static_cast<int>(pages[i].id) != i || (i > 0 && pages[i].group < pages[i - 1].group)) {
            return false;
        }
    }
    return true;
}
static_assert(ids_follow_the_table(), "ids in table order, each group's pages together");

}  // namespace

std::span<const page_info> page_table() {
    return pages;
}

const page_info& page_of(page_id id) {
    return pages[static_cast<int>(id)];
}

std::span<const page_info> pages_of(page_group group) {
    const auto first = std::find_if(std::begin(pages), std::end(pages),
                                    [group](const page_info& page) { return page.group == group; });
    const auto last =
        std::find_if(first, std::end(pages), [group](const page_info& page) { return page.group != group; });
    return {first, last};
}

const char* group_caption(page_group group) {
    switch (group) {
        case page_group::directx:
            return "DirectX";
        case page_group::opengl:
            return "OpenGL";
        case page_group::vulkan:
            return "Vulkan";
    }
    return "";
}
