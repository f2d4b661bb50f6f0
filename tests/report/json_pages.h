// Compares cavio-report's JSON, read by a standard parser, with the pages of
// a report group: every page, row by row.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "report/document.h"

inline void expect_json_pages_equal(const nlohmann::json& written, const report_group& group) {
    ASSERT_EQ(group.pages.size(), written.size());
    for (size_t index = 0; index < group.pages.size(); ++index) {
        const report_page& page = group.pages[index];
        SCOPED_TRACE(page.info().marker);
        const nlohmann::json& block = written.at(index);
        EXPECT_EQ(page.info().marker, block.at("marker"));
        EXPECT_EQ(page.info().caption, block.at("caption"));
        const nlohmann::json& rows = block.at("rows");
        ASSERT_EQ(page.rows.size(), rows.size());
        for (size_t r = 0; r < page.rows.size(); ++r) {
            const nlohmann::json& row = rows.at(r);
            const bool section = page.rows[r].kind == row_kind::section;
            EXPECT_EQ(4u + (section ? 1 : 0) + (page.rows[r].wire_value ? 1 : 0), row.size()) << "row " << r;
            EXPECT_EQ(page.rows[r].name, row.at("name")) << "row " << r;
            EXPECT_EQ(page.rows[r].value, row.at("value")) << "row " << r;
            EXPECT_EQ(page.rows[r].description, row.at("description")) << "row " << r;
            EXPECT_EQ(section, row.value("section", false)) << "row " << r;
        }
    }
}
