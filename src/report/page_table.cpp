// The page table: every page of the report, in tab order, with its writer.
#include "report/page_table.h"

#include <algorithm>
#include <iterator>

#include "report/page_writers.h"

// The site reads pages and never writes them from records: its build has no
// writers, and no probe records to write from.
#ifdef CAVIO_WITHOUT_PAGE_WRITERS
#define WRITTEN_BY(writer) nullptr
#else
#define WRITTEN_BY(writer) &writer
#endif
// cavio-report on Linux writes the OpenGL and Vulkan pages alone: there is
// no DirectX there, and no record to write its pages from.
#if defined(CAVIO_WITHOUT_PAGE_WRITERS) || defined(CAVIO_WITHOUT_DIRECTX_WRITERS)
#define DIRECTX_WRITTEN_BY(writer) nullptr
#else
#define DIRECTX_WRITTEN_BY(writer) &writer
#endif

namespace {

using enum page_id;

// A page's place in the submission, where it has one.
struct sent {
    int place = 0;
};

constexpr page_info dx(page_id id, const char* marker, const char* caption,
                       void (*writer)(page_writer&, const dx_adapter&), sent submitted, int value_width = 100,
                       int name_width = 300) {
    return {id,         page_group::directx, marker, caption,         id == dx_summary,
            name_width, value_width,         false,  submitted.place, {writer, nullptr, nullptr}};
}

constexpr page_info gl(page_id id, const char* marker, const char* caption,
                       void (*writer)(page_writer&, const gl_record&), sent submitted, int value_width = 100,
                       int name_width = 300) {
    // The Summary and Device pages, and those of the core-profile context,
    // say nothing of an adapter without an OpenGL record.
    const bool cleared =
        id == gl_summary || id == gl_device || id == gl_core_limits || id == gl_all_extensions;
    return {id,         page_group::opengl, marker,  caption,         id == gl_summary,
            name_width, value_width,        cleared, submitted.place, {nullptr, writer, nullptr}};
}

// Every Vulkan page belongs to the adapter's own device: none is kept from
// another adapter. The submission holds no Vulkan page.
constexpr page_info vk(page_id id, const char* marker, const char* caption,
                       void (*writer)(page_writer&, const vk_page_source&), int value_width = 100,
                       int name_width = 300) {
    return {id,         page_group::vulkan, marker, caption, id == vk_summary,
            name_width, value_width,        true,   0,       {nullptr, nullptr, writer}};
}

// Tab order; a page the submission holds says its place there (the site has
// always received the Vertex Shader before the Pixel Shader, and OpenGL's
// Extensions before its Textures).
constexpr page_info pages[] = {
    dx(dx_summary, "dx_summary", "Summary", DIRECTX_WRITTEN_BY(directx_pages::summary), {1}, 200, 200),
    dx(dx_device, "dx_device", "Device", DIRECTX_WRITTEN_BY(directx_pages::device), {2}, 250),
    dx(dx_capabilities, "dx_capabilities", "Capabilities", DIRECTX_WRITTEN_BY(directx_pages::capabilities),
       {3}),
    dx(dx_vertices, "dx_vertices", "Vertices", DIRECTX_WRITTEN_BY(directx_pages::vertices), {4}),
    dx(dx_rendering, "dx_rendering", "Rendering", DIRECTX_WRITTEN_BY(directx_pages::rendering), {5}),
    dx(dx_textures, "dx_textures", "Textures", DIRECTX_WRITTEN_BY(directx_pages::textures), {6}),
    dx(dx_blending, "dx_blending", "Blending", DIRECTX_WRITTEN_BY(directx_pages::blending), {7}),
    dx(dx_buffers, "dx_buffers", "Buffers", DIRECTX_WRITTEN_BY(directx_pages::buffers), {8}),
    dx(dx_pixel_shader, "dx_pixel_shader", "Pixel Shader", DIRECTX_WRITTEN_BY(directx_pages::pixel_shader),
       {10}),
    dx(dx_vertex_shader, "dx_vertex_shader", "Vertex Shader",
       DIRECTX_WRITTEN_BY(directx_pages::vertex_shader), {9}),
    dx(dx_resolutions, "dx_resolutions", "Resolutions", DIRECTX_WRITTEN_BY(directx_pages::resolutions), {11}),
    // The structures' field names are long.
    dx(dx_d3d11_12, "dx_d3d11_12", "Direct3D 11/12", DIRECTX_WRITTEN_BY(directx_pages::direct3d11_12), {},
       120, 430),
    // The formats' names are long, and so are their lists of uses.
    dx(dx_formats, "dx_formats", "Formats", DIRECTX_WRITTEN_BY(directx_pages::formats), {}, 300, 380),
    dx(dx_outputs, "dx_outputs", "Outputs", DIRECTX_WRITTEN_BY(directx_pages::outputs), {}, 200, 250),
    gl(gl_summary, "gl_summary", "Summary", WRITTEN_BY(opengl_pages::summary), {1}, 200, 200),
    gl(gl_device, "gl_device", "Device", WRITTEN_BY(opengl_pages::device), {2}, 250),
    gl(gl_capabilities, "gl_capabilities", "Capabilities", WRITTEN_BY(opengl_pages::capabilities), {3}),
    gl(gl_rendering, "gl_rendering", "Rendering", WRITTEN_BY(opengl_pages::rendering), {4}),
    gl(gl_textures, "gl_textures", "Textures", WRITTEN_BY(opengl_pages::textures), {6}),
    gl(gl_stacks, "gl_stacks", "Stacks", WRITTEN_BY(opengl_pages::stacks), {7}),
    gl(gl_vertex_shader, "gl_vertex_shader", "Vertex Shader", WRITTEN_BY(opengl_pages::vertex_shader), {8}),
    gl(gl_extensions, "gl_extensions", "Extensions", WRITTEN_BY(opengl_pages::extensions), {5}),
    // The enumerants' names are long.
    gl(gl_core_limits, "gl_core_limits", "Core limits", WRITTEN_BY(opengl_pages::core_limits), {}, 140, 430),
    gl(gl_all_extensions, "gl_all_extensions", "All extensions", WRITTEN_BY(opengl_pages::all_extensions), {},
       100, 360),
    // The identifiers are long: the names give way.
    vk(vk_summary, "vk_summary", "Summary", WRITTEN_BY(vulkan_pages::summary), 276, 130),
    // The structures' member names are long.
    vk(vk_device, "vk_device", "Device", WRITTEN_BY(vulkan_pages::device), 150, 400),
    vk(vk_limits, "vk_limits", "Limits", WRITTEN_BY(vulkan_pages::limits), 100, 340),
    vk(vk_features, "vk_features", "Features", WRITTEN_BY(vulkan_pages::features), 100, 400),
    vk(vk_extensions, "vk_extensions", "Extensions", WRITTEN_BY(vulkan_pages::extensions), 100, 340),
    vk(vk_formats, "vk_formats", "Formats", WRITTEN_BY(vulkan_pages::formats), 200, 360),
    vk(vk_memory, "vk_memory", "Memory", WRITTEN_BY(vulkan_pages::memory)),
    vk(vk_queues, "vk_queues", "Queues", WRITTEN_BY(vulkan_pages::queues)),
    vk(vk_extension_features, "vk_extension_features", "Extension features",
       WRITTEN_BY(vulkan_pages::extension_features), 100, 340),
    vk(vk_extension_properties, "vk_extension_properties", "Extension properties",
       WRITTEN_BY(vulkan_pages::extension_properties), 200, 340),
    vk(vk_surface, "vk_surface", "Surface", WRITTEN_BY(vulkan_pages::surface), 200, 260),
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

// Each group's submitted pages hold the places 1, 2, ... once each.
constexpr bool submission_places_hold_together() {
    for (int g = 0; g < group_count; ++g) {
        int sent = 0;
        int places = 0;
        for (const page_info& page : pages) {
            if (static_cast<int>(page.group) == g && page.submitted > 0) {
                ++sent;
                places |= 1 << page.submitted;
            }
        }
        if (places != ((1 << (sent + 1)) - 2)) {
            return false;
        }
    }
    return true;
}
static_assert(submission_places_hold_together(), "each group's submission places 1 to N, once each");

}  // namespace

std::span<const page_info> page_table() {
    return pages;
}

const page_info& page_of(page_id id) {
    return pages[static_cast<int>(id)];
}

std::optional<page_id> page_by_marker(std::string_view marker) {
    const auto found = std::find_if(std::begin(pages), std::end(pages),
                                    [marker](const page_info& page) { return marker == page.marker; });
    return found != std::end(pages) ? std::optional(found->id) : std::nullopt;
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
