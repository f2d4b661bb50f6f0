// The twenty report pages, written once as data: which group each belongs
// to, its tab sheet, grid and caption, and how and when it is filled. The
// window's page creation, the page fills, the echo order and the tests read
// this table.
#pragma once

#include <span>

#include "probe/records.h"
#include "report/grid_model.h"

class report;

enum class page_group { directx, opengl };

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
    gl_summary,
    gl_device,
    gl_capabilities,
    gl_rendering,
    gl_textures,
    gl_stacks,
    gl_vertex_shader,
    gl_extensions,
};

inline constexpr int page_count = 20;

// Writes the rows of one page into the current grid, which the caller has
// just set up.
using directx_fill = void (*)(report& pages, const dx_adapter& adapter);
using opengl_fill = void (*)(report& pages, const gl_record& record);

struct page_info {
    page_id id;
    page_group group;
    const char* sheet;            // the tab sheet's component name
    const char* grid;             // the grid's component name; without "SG" it is the page's marker
    const char* caption;          // the tab's text
    bool summary;                 // the group's Summary page: two columns, no header
    int value_width;              // the Value column's width after a set-up, in design pixels
    cell_painter painter;         // the cell painter the window's layout gives the grid
    int fill_step;                // position in the group's fill, from 0; differs from the tab order
    bool cleared_without_record;  // reset to one empty row when the adapter has no OpenGL record
    directx_fill fill_directx = nullptr;
    opengl_fill fill_opengl = nullptr;
    bool submitted = true;  // echoed into the submission text, whose format is fixed
    int name_width = 300;   // the Name column's width after a set-up, in design pixels
};

// All pages, in tab order.
std::span<const page_info> page_table();

const page_info& page_of(page_id id);

// The pages of one group in the order their fill writes them.
std::span<const page_info* const> fill_order(page_group group);
