// Compares cavio-report's JSON, read by a standard parser, with the grids
// that the same page fills produce: every page of a group, row by row.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "report/report.h"
#include "submit/report_json.h"

inline void expect_json_pages_equal_grids(const nlohmann::json& written, const report& pages,
                                          page_group group) {
    size_t index = 0;
    for (const page_info& page : page_table()) {
        if (page.group != group) {
            continue;
        }
        const grid_model& grid = pages.grid(page.id);
        SCOPED_TRACE(grid.name());
        ASSERT_LT(index, written.size());
        const nlohmann::json& block = written.at(index++);
        EXPECT_EQ(grid.name().substr(2), block.at("marker"));
        EXPECT_EQ(page.caption, block.at("caption"));
        const nlohmann::json& rows = block.at("rows");
        ASSERT_EQ(static_cast<size_t>(grid.row_count() - grid.fixed_rows()), rows.size());
        for (int r = grid.fixed_rows(); r < grid.row_count(); ++r) {
            const nlohmann::json& row = rows.at(static_cast<size_t>(r - grid.fixed_rows()));
            const bool section = grid.row_height(r) == section_row_height;
            EXPECT_EQ(section ? 4u : 3u, row.size()) << "row " << r;
            EXPECT_EQ(utf8_of(grid.cell(0, r)), row.at("name")) << "row " << r;
            EXPECT_EQ(utf8_of(grid.cell(1, r)), row.at("value")) << "row " << r;
            EXPECT_EQ(utf8_of(grid.row(r)[2]), row.at("description")) << "row " << r;
            EXPECT_EQ(section, row.value("section", false)) << "row " << r;
        }
    }
    EXPECT_EQ(index, written.size());
}
