// Where rows and columns lie, without a window: row tops at two DPIs, hit
// tests in the header, the data and below, dividers, scroll ranges and the
// minimal scroll that shows a row.
#include "app/grid_geometry.h"

#include <gtest/gtest.h>

namespace {

// A report grid: header (17), rows 1 and 3 normal (17), row 2 a section (32),
// columns 300, 100 and 800 wide.
grid_model sample() {
    grid_model grid(page_of(page_id::dx_capabilities));
    report_page page{page_id::dx_capabilities, {}, {}};
    page.rows = {{row_kind::number, "A", "1", "", {}},
                 {row_kind::section, "[B]", "", "", {}},
                 {row_kind::yes_no, "C", "yes", "", {}}};
    grid.show(&page);
    return grid;
}

TEST(GridGeometry, RowsColumnsAndRangesScaleWithTheDpi) {
    const grid_model grid = sample();
    for (const auto& [dpi, factor] : {std::pair{96, 2}, std::pair{192, 4}}) {
        SCOPED_TRACE(dpi);
        const grid_geometry g(grid, dpi);
        const int unit = factor / 2;  // 1 at 96 DPI, 2 at 192
        EXPECT_EQ(17 * unit, g.fixed_height());
        EXPECT_EQ((17 + 32 + 17) * unit, g.content_height());
        EXPECT_EQ(1200 * unit, g.content_width());
        EXPECT_EQ(400 * unit, g.column_left(2));
        EXPECT_EQ((17 + 17) * unit, g.row_top(2));
        EXPECT_EQ(32 * unit, g.row_pixels(2));
        // A view 40 pixels high under the header holds one page of two rows.
        const int client = (17 + 40) * unit;
        EXPECT_EQ(40 * unit, g.data_view_height(client));
        EXPECT_EQ(26 * unit, g.max_scroll_y(client));
        EXPECT_EQ(2, g.page_rows(client));
        EXPECT_EQ(200 * unit, g.max_scroll_x(1000 * unit));
    }
}

TEST(GridGeometry, HitTestsAndTheScrollThatShowsARow) {
    const grid_geometry g(sample(), 96);
    EXPECT_EQ(0, g.row_at(5, 0));  // the header never scrolls
    EXPECT_EQ(0, g.row_at(5, 30));
    EXPECT_EQ(1, g.row_at(17, 0));  // the first data row's top pixel
    EXPECT_EQ(2, g.row_at(34, 0));
    EXPECT_EQ(3, g.row_at(34, 32));  // scrolled by 32: row 3 under y 34
    EXPECT_EQ(-1, g.row_at(17 + 66, 0));
    EXPECT_EQ(0, g.divider_at(302, 5, 0, 3));
    EXPECT_EQ(1, g.divider_at(398, 5, 0, 3));
    EXPECT_EQ(-1, g.divider_at(305, 5, 0, 3));
    EXPECT_EQ(0, g.column_at(299, 0));
    EXPECT_EQ(2, g.column_at(400, 0));
    EXPECT_EQ(-1, g.column_at(1200, 0));
    EXPECT_EQ(-1, g.divider_at(300, 20, 0, 3));  // not in the header
    // Scrolled sideways, the names stay where they are and the others pass
    // under them: 50 pixels on, the value column shows from 300 to 350.
    EXPECT_EQ(0, g.column_at(299, 50));
    EXPECT_EQ(1, g.column_at(300, 50));
    EXPECT_EQ(2, g.column_at(350, 50));
    EXPECT_EQ(2, g.column_at(300, 150));  // the value column gone under the names
    EXPECT_EQ(0, g.column_screen_left(0, 150));
    EXPECT_EQ(250, g.column_screen_left(2, 150));
    EXPECT_EQ(0, g.divider_at(301, 5, 50, 3));
    EXPECT_EQ(1, g.divider_at(349, 5, 50, 3));
    EXPECT_EQ(0, g.divider_at(301, 5, 150, 3));  // the value column's edge is under the names'
    EXPECT_EQ(-1, g.divider_at(250, 5, 150, 3));
    const int client = 17 + 40;
    EXPECT_EQ(0, g.scroll_to_show(1, 0, client));    // in view: stays
    EXPECT_EQ(26, g.scroll_to_show(3, 0, client));   // below: its bottom at the view's bottom
    EXPECT_EQ(0, g.scroll_to_show(1, 26, client));   // above: its top at the view's top
    EXPECT_EQ(26, g.scroll_to_show(0, 26, client));  // the header needs no scroll
}

}  // namespace
