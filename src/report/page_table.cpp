#include "report/page_table.h"

#include <algorithm>
#include <iterator>

#include "report/page_writers.h"

namespace {

using enum page_id;

constexpr page_info dx(page_id id, const char* marker, const char* caption, directx_writer write,
                       int value_width = 100, int name_width = 300) {
    return {id,      page_group::directx, marker,     caption, id == dx_summary, write,
            nullptr, name_width,          value_width};
}

constexpr page_info gl(page_id id, const char* marker, const char* caption, opengl_writer write,
                       int value_width = 100) {
    // The Summary and Device pages say nothing of an adapter without an
    // OpenGL record.
    const bool cleared = id == gl_summary || id == gl_device;
    return {id,  page_group::opengl, marker, caption, id == gl_summary, nullptr, write,
            300, value_width,        cleared};
}

// Tab order.
constexpr page_info pages[] = {
    dx(dx_summary, "dx_summary", "Summary", directx_pages::summary),
    dx(dx_device, "dx_device", "Device", directx_pages::device, 250),
    dx(dx_capabilities, "dx_capabilities", "Capabilities", directx_pages::capabilities),
    dx(dx_vertices, "dx_vertices", "Vertices", directx_pages::vertices),
    dx(dx_rendering, "dx_rendering", "Rendering", directx_pages::rendering),
    dx(dx_textures, "dx_textures", "Textures", directx_pages::textures),
    dx(dx_blending, "dx_blending", "Blending", directx_pages::blending),
    dx(dx_buffers, "dx_buffers", "Buffers", directx_pages::buffers),
    dx(dx_pixel_shader, "dx_pixel_shader", "Pixel Shader", directx_pages::pixel_shader),
    dx(dx_vertex_shader, "dx_vertex_shader", "Vertex Shader", directx_pages::vertex_shader),
    dx(dx_resolutions, "dx_resolutions", "Resolutions", directx_pages::resolutions),
    // The structures' field names are long.
    dx(dx_d3d11_12, "dx_d3d11_12", "Direct3D 11/12", directx_pages::direct3d11_12, 120, 430),
    gl(gl_summary, "gl_summary", "Summary", opengl_pages::summary),
    gl(gl_device, "gl_device", "Device", opengl_pages::device, 250),
    gl(gl_capabilities, "gl_capabilities", "Capabilities", opengl_pages::capabilities),
    gl(gl_rendering, "gl_rendering", "Rendering", opengl_pages::rendering),
    gl(gl_textures, "gl_textures", "Textures", opengl_pages::textures),
    gl(gl_stacks, "gl_stacks", "Stacks", opengl_pages::stacks),
    gl(gl_vertex_shader, "gl_vertex_shader", "Vertex Shader", opengl_pages::vertex_shader),
    gl(gl_extensions, "gl_extensions", "Extensions", opengl_pages::extensions),
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
    return group == page_group::directx ? "DirectX" : "OpenGL";
}
