// The report: the grids of the page table, the row writers that fill them,
// and the echo of every row written into the submission text.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "probe/qe_types.h"
#include "report/grid_model.h"
#include "report/pages.h"

class report {
public:
    report();
    report(const report&) = delete;
    report& operator=(const report&) = delete;

    // The grid of a page of the page table.
    grid_model& grid(page_id id) { return grids_[static_cast<size_t>(id)]; }
    const grid_model& grid(page_id id) const { return grids_[static_cast<size_t>(id)]; }

    grid_model* FCurrentGrid = nullptr;  // the grid the writers append to
    bool FEcho = false;                  // writers and set-ups also append to the echo text
    std::string FSubmission;

    // Where the echo goes: into text while it is given, else FSubmission.
    void echo_into(std::string* text) { echo_ = text; }

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
    std::string& echo_text() { return echo_ != nullptr ? *echo_ : FSubmission; }

    std::string* echo_ = nullptr;
    // grid is one of grids_; side is the group of the set-up.
    void setup_grid(grid_model& grid, const char* header, page_group side);

    std::vector<grid_model> grids_;  // one per page, in the page table's order
};
