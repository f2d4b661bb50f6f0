// The report: the grids of the page table, the row writers that fill them,
// and the echo of every row written into the submission text.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "probe/records.h"
#include "report/grid_model.h"
#include "report/page_table.h"

class report {
public:
    report();
    report(const report&) = delete;
    report& operator=(const report&) = delete;

    // The grid of a page of the page table.
    grid_model& grid(page_id id) { return grids_[static_cast<size_t>(id)]; }
    const grid_model& grid(page_id id) const { return grids_[static_cast<size_t>(id)]; }

    grid_model* current_grid = nullptr;  // the grid the writers append to
    bool echo = false;                   // writers and set-ups also append to the echo text
    std::string submission_text;

    // Where the echo goes: into text while it is given, else submission_text.
    void echo_into(std::string* text) { echo_ = text; }

    // Grid set-ups: make the grid current and reset it to one empty row.
    void setup_directx_grid(grid_model& grid);
    void setup_opengl_grid(grid_model& grid);
    // Resets the OpenGL Summary and Device pages to one empty row each.
    void clear_opengl_pages();

    // Row writers: each appends one row to the current grid.
    void add_row(const std::string& name, const std::string& value, const std::string& description);
    void add_blank_row();
    void add_int_row(const std::string& name, int32_t value, const std::string& description);
    void add_int64_row(const std::string& name, int64_t value, const std::string& description);
    void add_float_row(const std::string& name, float value, const std::string& description);
    void add_float_pair_row(const std::string& name, const std::array<float, 2>& value,
                            const std::string& description);
    void add_int_pair_row(const std::string& name, const std::array<int32_t, 2>& value,
                          const std::string& description);
    void add_bool_row(const std::string& name, bool value, const std::string& description);
    void add_flag_row(const std::string& name, uint32_t value, const std::string& description);
    void add_guid_row(const std::string& name, const GUID& value, const std::string& description);
    void add_driver_version_row(const std::string& name, int64_t value, const std::string& description);
    void add_shader_version_row(const std::string& name, uint32_t value, const std::string& description);
    void add_vendor_row(const std::string& name, int64_t vendor_id, const std::string& description);
    void add_device_row(const std::string& name, int64_t vendor_id, uint32_t device_id,
                        const std::string& description);

    // The eleven DirectX pages from one adapter record.
    void fill_directx_pages(dx_adapter adapter);
    // The eight OpenGL pages from one OpenGL record.
    void fill_opengl_pages(gl_record record);

private:
    std::string& echo_text() { return echo_ != nullptr ? *echo_ : submission_text; }

    std::string* echo_ = nullptr;
    // grid is one of grids_; side is the group of the set-up.
    void setup_grid(grid_model& grid, const char* header, page_group side);

    std::vector<grid_model> grids_;  // one per page, in the page table's order
};
