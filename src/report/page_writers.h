// The fill of each page, for the page table: each writes its page's rows
// into the current grid, which the caller has just set up.
#pragma once

#include "probe/records.h"

class report;

namespace directx_pages {
void summary(report& pages, const dx_adapter& adapter);
void device(report& pages, const dx_adapter& adapter);
void capabilities(report& pages, const dx_adapter& adapter);
void vertices(report& pages, const dx_adapter& adapter);
void rendering(report& pages, const dx_adapter& adapter);
void textures(report& pages, const dx_adapter& adapter);
void blending(report& pages, const dx_adapter& adapter);
void buffers(report& pages, const dx_adapter& adapter);
void pixel_shader(report& pages, const dx_adapter& adapter);
void vertex_shader(report& pages, const dx_adapter& adapter);
void resolutions(report& pages, const dx_adapter& adapter);  // sorts the grid when written
void direct3d11_12(report& pages, const dx_adapter& adapter);
}  // namespace directx_pages

namespace opengl_pages {
void summary(report& pages, const gl_record& record);
void device(report& pages, const gl_record& record);
void capabilities(report& pages, const gl_record& record);
void rendering(report& pages, const gl_record& record);
void textures(report& pages, const gl_record& record);
void stacks(report& pages, const gl_record& record);
void vertex_shader(report& pages, const gl_record& record);
void extensions(report& pages, const gl_record& record);
}  // namespace opengl_pages
