// The Value column on every page of the golden platform: no value cut, and
// never narrower than the set-up made it.
#include "app/column_fit.h"

#include <gtest/gtest.h>

#include "app/cell_style.h"
#include "fakes/golden_platform.h"
#include "platform/text_file.h"
#include "probe/d3d9_probe.h"
#include "probe/gl_probe.h"
#include "refdata/pci_names.h"
#include "report/report_builder.h"

namespace {

// A font of 6 pixels a character, 7 when bold, 1 more a point above 8.
int measure(std::string_view text, int points, bool bold) {
    return static_cast<int>(text.size()) * ((bold ? 7 : 6) + std::max(0, points - 8));
}

TEST(ColumnFit, NoValueOfAnyGoldenPageIsCut) {
    init_reference_data();
    fakes::d3d9 d3d;
    fakes::gl_system gl;
    fakes::golden_direct3d(d3d);
    fakes::golden_opengl(gl, read_text_file(std::string(CAVIO_GOLDEN_DIR) + "/gl_extensions.txt"));
    const d3d9_probe direct3d([&d3d](UINT version) { return d3d.create(version); });
    const gl_probe opengl(direct3d.adapters, gl.platform());
    const gl_record record = opengl.adapter(0);
    const adapter_report report = build_adapter_report(direct3d.adapter(0), &record);
    int widened = 0;
    for (const page_info& page : page_table()) {
        grid_model grid(page);
        grid.show(report.group(page.group).page(page.id));
        SCOPED_TRACE(grid.name());
        const int before = grid.column_width(1);
        grid.set_column_width(1, fitted_value_width(grid, measure));
        EXPECT_GE(grid.column_width(1), before);
        widened += grid.column_width(1) > before ? 1 : 0;
        for (int r = grid.fixed_rows(); r < grid.row_count(); ++r) {
            const cell_style style = decide_cell_style(cell_facts_at(grid, 1, r));
            EXPECT_LE(
                measure(grid.cell(1, r), style.font_size, style.bold) + style.inset_left + style.inset_right,
                grid.column_width(1))
                << grid.cell(0, r) << ": " << grid.cell(1, r);
        }
    }
    // Some pages hold values wider than their set-up width.
    EXPECT_GT(widened, 0);
}

}  // namespace
