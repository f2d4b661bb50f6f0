// The writer of each page, for the page table: each turns one probe record
// into the rows of its page. Pure: the same record always gives the same
// rows.
#pragma once

struct dx_adapter;
struct gl_record;
class page_writer;

namespace directx_pages {
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
}  // namespace opengl_pages
