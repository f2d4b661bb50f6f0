// The cell-painting rule: background, colour, weight and alignment by cell kind.
#include "app/cell_style.h"
#include "app/theme.h"

#include <gtest/gtest.h>

namespace {

cell_style device(const char* text, row_kind kind = row_kind::text, int column = 1, bool current = false,
                  bool fixed = false) {
    cell_facts cell;
    cell.text = text;
    cell.kind = kind;
    cell.column = column;
    cell.current_row = current;
    cell.fixed_row = fixed;
    return decide_cell_style(cell);
}

TEST(CellStyle, NumbersZerosAndWords) {
    for (const char* zero : {"0", "0.0"}) {
        const cell_style style = device(zero);
        EXPECT_EQ(cell_align::right, style.align) << zero;
        EXPECT_EQ(zero_color, style.text_color) << zero;
        EXPECT_FALSE(style.bold) << zero;
    }
    EXPECT_EQ(zero_color, device("0 MiB", row_kind::number).text_color);  // a zero with its unit
    for (const char* number : {"0.00", "1", "-1", "1.5E3", "4096     4096"}) {
        const cell_style style = device(number);
        EXPECT_EQ(cell_align::right, style.align) << number;
        EXPECT_EQ(number_color, style.text_color) << number;
        EXPECT_TRUE(style.bold) << number;
    }
    const cell_style padded = device(" 1");
    EXPECT_EQ(cell_align::left, padded.align);
    EXPECT_EQ(RGB(0, 0, 0), padded.text_color);

    const cell_style yes = device("yes");
    EXPECT_EQ(cell_align::center, yes.align);
    EXPECT_EQ(number_color, yes.text_color);
    EXPECT_TRUE(yes.bold);
    const cell_style no = device("no");
    EXPECT_EQ(cell_align::center, no.align);
    EXPECT_EQ(zero_color, no.text_color);
    EXPECT_FALSE(no.bold);
    const cell_style capital = device("Yes");
    EXPECT_EQ(cell_align::left, capital.align);
    EXPECT_FALSE(capital.bold);
    // Free text reads so in every column alike.
    EXPECT_EQ(number_color, device("1", row_kind::text, 0).text_color);
    EXPECT_EQ(number_color, device("60", row_kind::text, 2).text_color);
    // A value is painted as its row's kind says; names and descriptions of
    // such rows are free text.
    EXPECT_EQ(cell_align::right, device("8.17.18.19", row_kind::number).align);
    // What names a thing is neither good nor bad: a version, of a number row
    // or free text, and an ordinal, zero or not.
    for (const char* version : {"8.17.18.19", "1.3.280"}) {
        for (const row_kind kind : {row_kind::number, row_kind::text}) {
            EXPECT_EQ(RGB(0, 0, 0), device(version, kind).text_color) << version;
            EXPECT_FALSE(device(version, kind).bold) << version;
        }
    }
    for (const char* ordinal : {"AdapterOrdinal", "MasterAdapterOrdinal", "AdapterOrdinalInGroup"}) {
        for (const char* value : {"0", "2"}) {
            cell_facts cell;
            cell.text = value;
            cell.row_name = ordinal;
            cell.kind = row_kind::number;
            cell.column = 1;
            EXPECT_EQ(RGB(0, 0, 0), decide_cell_style(cell).text_color) << ordinal << " " << value;
            EXPECT_EQ(cell_align::right, decide_cell_style(cell).align);
        }
    }
    EXPECT_EQ(zero_color, device("0", row_kind::number).text_color);
    EXPECT_EQ(zero_color, device("0.0", row_kind::number).text_color);
    EXPECT_EQ(cell_align::center, device("yes", row_kind::yes_no).align);
    const cell_style unanswered = device("not available", row_kind::not_available);
    EXPECT_EQ(cell_align::left, unanswered.align);
    EXPECT_EQ(RGB(0, 0, 0), unanswered.text_color);
    EXPECT_EQ(cell_align::left, device("MaxTextureWidth", row_kind::number, 0).align);
    EXPECT_EQ(8, yes.inset_left);
    EXPECT_EQ(1, yes.inset_top);
}

TEST(CellStyle, BackgroundsAndSectionRows) {
    EXPECT_EQ(RGB(255, 255, 255), device("text").background);
    EXPECT_EQ(RGB(192, 192, 192), device("Value", row_kind::text, 1, false, true).background);
    // The current row turns light green; its text keeps its colours.
    const cell_style current = device("0", row_kind::number, 1, true);
    EXPECT_EQ(RGB(192, 220, 192), current.background);
    EXPECT_EQ(zero_color, current.text_color);
    EXPECT_EQ(number_color, device("yes", row_kind::yes_no, 1, true).text_color);

    const cell_style section = device("[DevCaps]", row_kind::section, 0);
    EXPECT_EQ(RGB(192, 192, 192), section.background);
    EXPECT_EQ(12, section.font_size);
    EXPECT_TRUE(section.bold);
    EXPECT_EQ(16, section.inset_left);
    const cell_style section_value = device("", row_kind::section, 1);
    EXPECT_FALSE(section_value.bold);
    EXPECT_EQ(8, section_value.inset_left);
    EXPECT_EQ(RGB(192, 220, 192), device("[DevCaps]", row_kind::section, 0, true).background);
    // A section row is painted as one even where its text is a number.
    EXPECT_EQ(cell_align::left, device("1", row_kind::section, 2).align);
}

TEST(CellStyle, SummaryPainter) {
    cell_facts cell;
    cell.painter = cell_painter::summary;
    cell.grid_color = RGB(240, 240, 240);
    cell.text = "0";
    cell.current_row = true;
    const cell_style name = decide_cell_style(cell);
    EXPECT_EQ(RGB(240, 240, 240), name.background);
    EXPECT_TRUE(name.bold);
    EXPECT_EQ(cell_align::left, name.align);
    EXPECT_EQ(2, name.inset_left);
    cell.column = 1;
    const cell_style value = decide_cell_style(cell);
    EXPECT_FALSE(value.bold);
    EXPECT_EQ(RGB(0, 0, 0), value.text_color);
}

}  // namespace

// Every text of the dark theme reads at 4.5:1 or more on every background it
// stands on; high contrast uses only the system's colours; light is the
// viewer's look as it always was.
TEST(Palettes, ContrastAndSystemColours) {
    const palette dark = palette_of(ui_theme::dark);
    for (const COLORREF text : {dark.text, dark.number, dark.zero}) {
        for (const COLORREF back : {dark.window, dark.fixed, dark.current_row, dark.differs, dark.face}) {
            EXPECT_GE(contrast_ratio(text, back), 4.5) << std::hex << text << " on " << back;
        }
    }
    for (const auto& [text, back] :
         {std::pair{dark.face_text, dark.face}, std::pair{dark.link, dark.face},
          std::pair{dark.fixed_text, dark.fixed}, std::pair{dark.tab_text, dark.tab},
          std::pair{dark.chosen_tab_text, dark.chosen_tab}}) {
        EXPECT_GE(contrast_ratio(text, back), 4.5) << std::hex << text << " on " << back;
    }
    const palette contrast = palette_of(ui_theme::high_contrast);
    const auto system = [](COLORREF colour) {
        for (int index = 0; index <= COLOR_MENUBAR; ++index) {
            if (GetSysColor(index) == colour) {
                return true;
            }
        }
        return false;
    };
    for (const COLORREF colour :
         {contrast.face, contrast.face_text, contrast.link, contrast.window, contrast.text, contrast.fixed,
          contrast.fixed_text, contrast.current_row, contrast.current_text, contrast.number, contrast.zero,
          contrast.differs, contrast.tab, contrast.tab_text, contrast.chosen_tab, contrast.chosen_tab_text}) {
        EXPECT_TRUE(system(colour)) << std::hex << colour;
    }
    const palette light = palette_of(ui_theme::light);
    EXPECT_EQ(current_row_color, light.current_row);
    EXPECT_EQ(number_color, light.number);
    EXPECT_EQ(zero_color, light.zero);
    EXPECT_EQ(RGB(255, 255, 255), light.window);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), light.face);
    EXPECT_DOUBLE_EQ(21.0, contrast_ratio(RGB(0, 0, 0), RGB(255, 255, 255)));
}
