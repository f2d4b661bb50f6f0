// Every report page, written once as data: its group, marker, caption and
// look, the writer of its rows and its place in the submission. The window,
// the builder, every output, the site and the tests read this table; a new
// page is one entry here and its writer.
#pragma once

#include <optional>
#include <span>
#include <string_view>

enum class page_group { directx, opengl, vulkan };
inline constexpr int group_count = 3;

// The pages in tab order, DirectX first. The value is the page's index in
// page_table().
enum class page_id {
    dx_summary,
    dx_device,
    dx_capabilities,
    dx_vertices,
    dx_rendering,
    dx_textures,
    dx_blending,
    dx_buffers,
    dx_pixel_shader,
    dx_vertex_shader,
    dx_resolutions,
    dx_d3d11_12,
    dx_formats,
    dx_outputs,
    gl_summary,
    gl_device,
    gl_capabilities,
    gl_rendering,
    gl_textures,
    gl_stacks,
    gl_vertex_shader,
    gl_extensions,
    gl_core_limits,
    gl_all_extensions,
    vk_summary,
    vk_device,
    vk_limits,
    vk_features,
    vk_extensions,
    vk_formats,
    vk_memory,
    vk_queues,
    // Later pages come last, so that every earlier page keeps its number.
    vk_extension_features,
    vk_extension_properties,
    vk_surface,
};

inline constexpr int page_count = 35;

struct dx_adapter;
struct gl_record;
struct vk_page_source;
class page_writer;

// Writes a page's rows from the record of its group.
struct page_writer_of {
    void (*directx)(page_writer& page, const dx_adapter& adapter) = nullptr;
    void (*opengl)(page_writer& page, const gl_record& record) = nullptr;
    void (*vulkan)(page_writer& page, const vk_page_source& source) = nullptr;
};

struct page_info {
    page_id id;
    page_group group;
    const char* marker;     // "dx_device": the page's name in the submission and in JSON
    const char* caption;    // the tab's text
    bool summary;           // the group's Summary page: two columns, no header, no descriptions
    int name_width = 300;   // the Name column's width, in 96-DPI pixels
    int value_width = 100;  // the Value column's least width, in 96-DPI pixels (a Summary's two make 400)
    // Reset to an empty page when the adapter has no record of the group;
    // the window keeps the others as they were.
    bool cleared_without_record = false;
    // Its place among its group's pages in the submission, from 1, in the
    // order the site has always received them; 0: the submission leaves it out.
    int submitted = 0;
    // Its writer; none in a build that only reads pages (the site's).
    page_writer_of writer = {};
};

// All pages, in tab order.
std::span<const page_info> page_table();

const page_info& page_of(page_id id);

// The page a marker names ("dx_device"); none for a marker of no page.
std::optional<page_id> page_by_marker(std::string_view marker);

// The pages of one group, in tab order.
std::span<const page_info> pages_of(page_group group);

// "DirectX", "OpenGL", "Vulkan".
const char* group_caption(page_group group);
