#include "report/page_table.h"

#include <algorithm>
#include <array>

#include "report/page_writers.h"

namespace {

using enum page_group;
using enum cell_painter;

constexpr page_info dx(page_id id, const char* sheet, const char* grid, const char* caption, int fill_step,
                       directx_fill fill, int value_width = 100, cell_painter painter = none) {
    return {id, directx, sheet, grid, caption, id == page_id::dx_summary, value_width,
            id == page_id::dx_summary ? summary : painter, fill_step, false, fill, nullptr,
            // The Direct3D 11/12 page came after the submission's format;
            // its names are the structures' long field names.
            id != page_id::dx_d3d11_12, id == page_id::dx_d3d11_12 ? 430 : 300};
}

constexpr page_info gl(page_id id, const char* sheet, const char* grid, const char* caption, int fill_step,
                       opengl_fill fill, int value_width = 100) {
    // The Summary and Device pages, the first two, are reset for an adapter
    // without an OpenGL record.
    const bool first = id == page_id::gl_summary;
    return {id,        opengl,        sheet,   grid, caption, first, value_width, first ? summary : device,
            fill_step, fill_step < 2, nullptr, fill};
}

// Tab order. The sheet names are the published component names, the two
// shader sheets' and the OpenGL Device sheet's included.
constexpr page_info pages[] = {
    dx(page_id::dx_summary, "TSdx_summary", "SGdx_summary", "Summary", 0, directx_pages::summary),
    dx(page_id::dx_device, "TSdx_device", "SGdx_device", "Device", 1, directx_pages::device, 250, device),
    dx(page_id::dx_capabilities, "TSdx_capabilities", "SGdx_capabilities", "Capabilities", 2,
       directx_pages::capabilities),
    dx(page_id::dx_vertices, "TSdx_vertices", "SGdx_vertices", "Vertices", 3, directx_pages::vertices),
    dx(page_id::dx_rendering, "TSdx_rendering", "SGdx_rendering", "Rendering", 4, directx_pages::rendering),
    dx(page_id::dx_textures, "TSdx_textures", "SGdx_textures", "Textures", 5, directx_pages::textures),
    dx(page_id::dx_blending, "TSdx_blending", "SGdx_blending", "Blending", 6, directx_pages::blending),
    dx(page_id::dx_buffers, "TSdx_buffers", "SGdx_buffers", "Buffers", 7, directx_pages::buffers),
    // The Vertex Shader page is filled before the Pixel Shader page, whose tab stands first.
    dx(page_id::dx_pixel_shader, "TSdx_ps20", "SGdx_pixel_shader", "Pixel Shader", 9,
       directx_pages::pixel_shader),
    dx(page_id::dx_vertex_shader, "TSdx_vs20", "SGdx_vertex_shader", "Vertex Shader", 8,
       directx_pages::vertex_shader),
    dx(page_id::dx_resolutions, "TSdx_resolutions", "SGdx_resolutions", "Resolutions", 10,
       directx_pages::resolutions),
    dx(page_id::dx_d3d11_12, "TSdx_d3d11_12", "SGdx_d3d11_12", "Direct3D 11/12", 11,
       directx_pages::direct3d11_12, 120),
    gl(page_id::gl_summary, "TSgl_summary", "SGgl_summary", "Summary", 0, opengl_pages::summary),
    gl(page_id::gl_device, "Device", "SGgl_device", "Device", 1, opengl_pages::device, 250),
    gl(page_id::gl_capabilities, "TSgl_capabilities", "SGgl_capabilities", "Capabilities", 2,
       opengl_pages::capabilities),
    gl(page_id::gl_rendering, "TSgl_rendering", "SGgl_rendering", "Rendering", 3, opengl_pages::rendering),
    // The Extensions page, the last tab, is filled fifth.
    gl(page_id::gl_textures, "TSgl_textures", "SGgl_textures", "Textures", 5, opengl_pages::textures),
    gl(page_id::gl_stacks, "TSgl_stacks", "SGgl_stacks", "Stacks", 6, opengl_pages::stacks),
    gl(page_id::gl_vertex_shader, "TSgl_vertex_shader", "SGgl_vertex_shader", "Vertex Shader", 7,
       opengl_pages::vertex_shader),
    gl(page_id::gl_extensions, "TSgl_extensions", "SGgl_extensions", "Extensions", 4,
       opengl_pages::extensions),
};
static_assert(std::size(pages) == page_count);

constexpr bool ids_follow_the_table() {
    for (int i = 0; i < page_count; ++i) {
        if (static_cast<int>(pages[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(ids_follow_the_table());

template <page_group group>
constexpr std::array<const page_info*, group == directx ? 12 : 8> sorted_by_fill() {
    std::array<const page_info*, group == directx ? 12 : 8> order{};
    size_t n = 0;
    for (const page_info& page : pages) {
        if (page.group == group) {
            order[n++] = &page;
        }
    }
    std::sort(order.begin(), order.end(),
              [](const page_info* a, const page_info* b) { return a->fill_step < b->fill_step; });
    return order;
}

constexpr auto directx_order = sorted_by_fill<directx>();
constexpr auto opengl_order = sorted_by_fill<opengl>();

}  // namespace

std::span<const page_info> page_table() {
    return pages;
}

const page_info& page_of(page_id id) {
    return pages[static_cast<int>(id)];
}

std::span<const page_info* const> fill_order(page_group group) {
    if (group == directx) {
        return directx_order;
    }
    return opengl_order;
}
