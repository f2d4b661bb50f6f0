// The report: the 19 page grids, the row writers that fill them, and the
// echo of every row written into the submission text.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "probe/qe_types.h"
#include "report/grid_model.h"

class report {
public:
    report();
    report(const report&) = delete;
    report& operator=(const report&) = delete;

    // DirectX pages, in tab order.
    grid_model SGdx_summary{"SGdx_summary", true};
    grid_model SGdx_device{"SGdx_device", false};
    grid_model SGdx_capabilities{"SGdx_capabilities", false};
    grid_model SGdx_vertices{"SGdx_vertices", false};
    grid_model SGdx_rendering{"SGdx_rendering", false};
    grid_model SGdx_textures{"SGdx_textures", false};
    grid_model SGdx_blending{"SGdx_blending", false};
    grid_model SGdx_buffers{"SGdx_buffers", false};
    grid_model SGdx_pixel_shader{"SGdx_pixel_shader", false};
    grid_model SGdx_vertex_shader{"SGdx_vertex_shader", false};
    grid_model SGdx_resolutions{"SGdx_resolutions", false};
    // OpenGL pages, in tab order.
    grid_model SGgl_summary{"SGgl_summary", true};
    grid_model SGgl_device{"SGgl_device", false};
    grid_model SGgl_capabilities{"SGgl_capabilities", false};
    grid_model SGgl_rendering{"SGgl_rendering", false};
    grid_model SGgl_textures{"SGgl_textures", false};
    grid_model SGgl_stacks{"SGgl_stacks", false};
    grid_model SGgl_vertex_shader{"SGgl_vertex_shader", false};
    grid_model SGgl_extensions{"SGgl_extensions", false};

    grid_model* FCurrentGrid = nullptr;  // the grid the writers append to
    bool FEcho = false;                  // writers and set-ups also append to FSubmission
    std::string FSubmission;

    std::array<grid_model*, 11> directx_grids();
    std::array<grid_model*, 8> opengl_grids();

    // Grid set-ups: make the grid current and reset it to one empty row.
    void SetupDirectXGrid(grid_model& grid);
    void SetupOpenGLGrid(grid_model& grid);
    // Resets the OpenGL Summary and Device pages to one empty row each.
    void ClearOpenGLPages();

    // Row writers: each appends one row to the current grid.
    void AddRow(const std::string& name, const std::string& value, const std::string& description);
    void AddBlankRow();
    void AddIntRow(const std::string& name, int32_t value, const std::string& description);
    void AddInt64Row(const std::string& name, int64_t value, const std::string& description);
    void AddFloatRow(const std::string& name, float value, const std::string& description);
    void AddFloatPairRow(const std::string& name, const std::array<float, 2>& value,
                         const std::string& description);
    void AddIntPairRow(const std::string& name, const std::array<int32_t, 2>& value,
                       const std::string& description);
    void AddBoolRow(const std::string& name, bool value, const std::string& description);
    void AddFlagRow(const std::string& name, uint32_t value, const std::string& description);
    void AddGuidRow(const std::string& name, const GUID& value, const std::string& description);
    void AddDriverVersionRow(const std::string& name, int64_t value, const std::string& description);
    void AddShaderVersionRow(const std::string& name, uint32_t value, const std::string& description);
    void AddVendorRow(const std::string& name, int64_t vendor_id, const std::string& description);
    void AddDeviceRow(const std::string& name, int64_t vendor_id, uint32_t device_id,
                      const std::string& description);

    // The eleven DirectX pages from one adapter record.
    void FillDirect3DPages(Tqdx_adapter adapter);
    // The eight OpenGL pages from one OpenGL record.
    void FillOpenGLPages(tqgl_adapter record);

private:
    void setup_grid(grid_model& grid, const char* header, const grid_model& own_summary);
};
