// The main window and the grid control on real windows, with fakes behind
// the window's seams.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <thread>
#include <atomic>

#include "app/cell_style.h"
#include "app/format_matrix.h"
#include "app/control_ids.h"
#include "app/window_layout.h"
#include "app/main_window.h"
#include "app/grid_control.h"
#include "base/text.h"
#include "fakes/fake_dxgi.h"
#include "fakes/fake_probes.h"
#include "platform/report_program.h"
#include "platform/text_file.h"
#include "refdata/pci_names.h"
#include "probe/dxgi_probe.h"
#include "report/page_writer.h"
#include "report/report_json.h"

#include <nlohmann/json.hpp>

namespace {

using fakes::direct3d_list;
using fakes::opengl_list;

struct launches {
    std::vector<std::string> messages;
    std::vector<std::string> hidden;
    std::vector<std::string> opened;
};

// Seams with two Direct3D adapters, the second without an OpenGL record.
struct fake_world {
    launches seen;
    int direct3d10_calls = 0;
    int direct3d9_calls = 0;
    int opengl_calls = 0;
    bool direct3d10_fails = false;
    bool direct3d9_fails = false;
    bool opengl_fails = false;

    window_seams seams() {
        window_seams s;
        // A probe that could not run says why; the capture adds its part.
        const auto failed = [](const char* why) { return reason{{}, -1, {}, why, {}}; };
        s.capture.direct3d10 = [this, failed] {
            ++direct3d10_calls;
            direct3d_list list;
            if (direct3d10_fails) {
                throw failure(failed("no dx10"));
            }
            dx_adapter& first = list.add("First board", 0x501);
            first.caps.MaxTextureWidth = 4096;
            first.caps.PixelShader1xMaxValue = 3.4028235e38f;
            // R8G8B8A8_UNORM: sampled, a render target, stored to a typed UAV, MSAA x4.
            first.d3d11_12.formats11 = {{28, true, 0x4000 | 0x200, 0x80, true, 1u << 2}};
            // A8R8G8B8 under Direct3D 9: a texture and a render target, filtered, MSAA x4.
            d3d9_format_support& a8r8g8b8 = first.formats9.emplace_back();
            a8r8g8b8.format = 21;
            a8r8g8b8.uses = d3d9_use_texture | d3d9_use_render_target | d3d9_use_filter;
            a8r8g8b8.sample_counts = 1u << 4;
            a8r8g8b8.asked = 28;
            list.add("Second board", 0x502).caps.MaxTextureWidth = 8192;
            return list.take();
        };
        s.capture.direct3d9 = [this, failed] {
            ++direct3d9_calls;
            if (direct3d9_fails) {
                throw failure(failed("Direct3D 9 is broken"));
            }
            direct3d_list list;
            list.add("Direct3D 9 board", 0x501);
            return list.take();
        };
        s.capture.opengl = [this, failed](std::span<const dx_adapter>) {
            ++opengl_calls;
            if (opengl_fails) {
                throw failure(failed("can't create RC"));
            }
            opengl_list gl;
            gl.add("First renderer", 0x501).max_lights = 8;
            return gl.take();
        };
        s.message_box = [this](HWND, const std::string& text, UINT) {
            seen.messages.push_back(text);
            return IDOK;
        };
        s.run_hidden = [this](const std::string& line) { seen.hidden.push_back(line); };
        s.open_address = [this](const std::string& address) { seen.opened.push_back(address); };
        s.product_url = "http://cavio.example/";
        s.maker_url = "http://tarsen.example/";
        return s;
    }
};

// Shows the window, which starts the capture, and waits for every probe.
void show(main_window& form) {
    ShowWindow(form.handle(), SW_SHOWNA);
    form.finish_capture();
}

std::string text_of(HWND window) {
    return window_text(window);
}

std::string combo_line(HWND combo, int index) {
    wchar_t text[512] = {};
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return utf8_of(text);
}

std::string status_text(HWND status) {
    return status_part(status, 0);
}

class Window : public ::testing::Test {
protected:
    fake_world world;
    Window() { init_reference_data(); }
};

TEST_F(Window, StartUpListsTheAdaptersAndShowsTheFirst) {
    main_window form(world.seams());
    show(form);
    ASSERT_TRUE(form.started);
    HWND adapters = form.controls().adapter_list;
    ASSERT_EQ(2, SendMessageA(adapters, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("#0: First board", combo_line(adapters, 0));
    EXPECT_EQ("#1: Second board", combo_line(adapters, 1));
    EXPECT_EQ(0, SendMessageA(adapters, CB_GETCURSEL, 0, 0));
    // The submission build ended with the second adapter; the pages show
    // the first again.
    EXPECT_EQ("First board", form.grid(page_id::dx_summary).cell(1, 0));
    EXPECT_EQ("First renderer", form.grid(page_id::gl_summary).cell(1, 0));
    EXPECT_NE(std::string::npos, form.submission.find("Device\tSecond board"));
    EXPECT_EQ("\tVersion 1.2.3.4", status_text(form.controls().status_bar));
    EXPECT_TRUE(world.seen.messages.empty());

    // The second adapter has no OpenGL record: Summary and Device reset,
    // the other six OpenGL pages keep what they showed.
    SendMessageA(adapters, CB_SETCURSEL, 1, 0);
    form.show_selected_adapter();
    EXPECT_EQ("Second board", form.grid(page_id::dx_summary).cell(1, 0));
    EXPECT_EQ(1, form.grid(page_id::gl_summary).row_count());
    EXPECT_EQ("", form.grid(page_id::gl_summary).cell(0, 0));
    EXPECT_EQ(2, form.grid(page_id::gl_device).row_count());
    int lights = -1;
    for (int r = 0; r < form.grid(page_id::gl_rendering).row_count(); ++r) {
        if (form.grid(page_id::gl_rendering).cell(0, r) == "GL_MAX_LIGHTS") {
            lights = std::stoi(form.grid(page_id::gl_rendering).cell(1, r));
        }
    }
    EXPECT_EQ(8, lights);

    // Shown again: no second probe.
    ShowWindow(form.handle(), SW_HIDE);
    show(form);
    EXPECT_EQ(1, world.direct3d10_calls);
    EXPECT_EQ(1, world.opengl_calls);
}

// A probe that fails is a problem the window names, never a box or a stop.
TEST_F(Window, ProbeFailuresAtStartUpAreProblems) {
    world.direct3d10_fails = true;
    world.opengl_fails = true;
    {
        main_window form(world.seams());
        show(form);
        EXPECT_TRUE(form.started);
        EXPECT_EQ(1, world.direct3d9_calls);
        EXPECT_EQ("#0: Direct3D 9 board", combo_line(form.controls().adapter_list, 0));
        EXPECT_FALSE(form.document().adapters.at(0).group(page_group::opengl).read);
        EXPECT_EQ(std::string::npos, form.submission.find("@opengl@"));
        EXPECT_EQ(std::string::npos, form.submission.find("Problems"));
        EXPECT_TRUE(world.seen.messages.empty());
        // The latest in the status bar; each on its group's Summary page.
        EXPECT_EQ("OpenGL: can't create RC", status_part(form.controls().status_bar, status_message));
        const grid_model& directx = form.grid(page_id::dx_summary);
        EXPECT_EQ("[Problems]", directx.cell(0, directx.row_count() - 2));
        EXPECT_EQ("DXGI", directx.cell(0, directx.row_count() - 1));
        EXPECT_EQ("no dx10", directx.cell(1, directx.row_count() - 1));
        const grid_model& opengl = form.grid(page_id::gl_summary);
        ASSERT_EQ(2, opengl.row_count());
        EXPECT_EQ("can't create RC", opengl.cell(1, 1));
    }
    world.direct3d9_fails = true;
    world.opengl_fails = false;
    main_window form(world.seams());
    show(form);
    EXPECT_TRUE(form.started);
    EXPECT_TRUE(world.seen.messages.empty());
    EXPECT_EQ(0, SendMessageA(form.controls().adapter_list, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("%2.00%\r\n", form.submission);
    EXPECT_EQ("Direct3D 9: Direct3D 9 is broken", status_part(form.controls().status_bar, status_message));
}

TEST_F(Window, LinksOpenThroughTheCommandInterpreterOrTheShell) {
    main_window form(world.seams());
    char saved[1024] = {};
    const DWORD saved_length = GetEnvironmentVariableA("COMSPEC", saved, sizeof saved);

    SetEnvironmentVariableA("COMSPEC", "C:\\windows\\system32\\cmd.exe");
    form.open_home_link();
    form.open_maker_link();
    EXPECT_EQ((std::vector<std::string>{"C:\\windows\\system32\\cmd.exe /c start http://cavio.example/",
                                        "C:\\windows\\system32\\cmd.exe /c start http://tarsen.example/"}),
              world.seen.hidden);

    SetEnvironmentVariableA("COMSPEC", nullptr);
    form.open_home_link();
    SetEnvironmentVariableA("COMSPEC", ("C:\\" + std::string(300, 'x') + "\\cmd.exe").c_str());
    form.open_maker_link();
    EXPECT_EQ(2u, world.seen.hidden.size());
    EXPECT_EQ((std::vector<std::string>{"http://cavio.example/", "http://tarsen.example/"}),
              world.seen.opened);

    SetEnvironmentVariableA("COMSPEC", saved_length > 0 ? saved : nullptr);
}

TEST_F(Window, ControlTreeCaptionsAndParents) {
    main_window form(world.seams());
    EXPECT_EQ("Cavio \u2014 DirectX, OpenGL and Vulkan capabilities", text_of(form.handle()));
    const window_controls& c = form.controls();
    // OpenGL's and Vulkan's pages are made when their group first shows.
    EXPECT_EQ(nullptr, c.opengl.sheet);
    form.grid_window(page_id::gl_summary);
    form.grid_window(page_id::vk_summary);
    // So are a page's sheet and grid when the page first shows.
    EXPECT_EQ(nullptr, c.directx.page_sheets[1]);
    const HWND dx_device = form.grid_window(page_id::dx_device);
    const HWND dx_pixel_shader = form.grid_window(page_id::dx_pixel_shader);
    const HWND gl_extensions = form.grid_window(page_id::gl_extensions);
    form.grid_window(page_id::dx_resolutions);
    form.grid_window(page_id::gl_device);
    const group_controls& dx = c.directx;
    const group_controls& gl = c.opengl;
    // Each control, its parent and its caption.
    const std::vector<std::tuple<HWND, HWND, const char*>> tree = {
        {c.status_bar, form.handle(), ""},
        {c.top_panel, form.handle(), ""},
        {c.device_label, c.top_panel, "Device:"},
        {c.adapter_list, c.top_panel, ""},
        {c.submit_button, c.top_panel, "Submit to cavio.example"},
        {c.group_panel, form.handle(), ""},
        {dx.tab, c.group_panel, "DirectX"},
        {gl.tab, c.group_panel, "OpenGL"},
        {dx.sheet, c.group_panel, "DirectX"},
        {gl.sheet, c.group_panel, "OpenGL"},
        {dx.pages, dx.sheet, ""},
        {gl.pages, gl.sheet, ""},
        {dx.summary.sheet, dx.sheet, "Summary"},
        {dx.summary.image, dx.summary.sheet, ""},
        {dx.summary.home_link, dx.summary.sheet, "http://cavio.example/"},
        {dx.summary.maker_link, dx.summary.sheet, "http://tarsen.example/"},
        {dx.summary.panel, dx.summary.sheet, ""},
        {dx.summary.grid, dx.summary.panel, "SGdx_summary"},
        {dx.page_sheets[1], dx.sheet, "Device"},
        {dx_device, dx.page_sheets[1], "SGdx_device"},
        {dx.page_sheets[8], dx.sheet, "Pixel Shader"},
        {dx_pixel_shader, dx.page_sheets[8], "SGdx_pixel_shader"},
        {dx.page_sheets[10], dx.sheet, "Resolutions"},
        {gl.summary.sheet, gl.sheet, "Summary"},
        {gl.summary.image, gl.summary.sheet, ""},
        {gl.summary.home_link, gl.summary.sheet, "http://cavio.example/"},
        {gl.summary.maker_link, gl.summary.sheet, "http://tarsen.example/"},
        {gl.summary.grid, gl.summary.panel, "SGgl_summary"},
        {gl.page_sheets[1], gl.sheet, "Device"},
        {gl_extensions, gl.page_sheets[7], "SGgl_extensions"},
    };
    for (const auto& [window, parent, caption] : tree) {
        SCOPED_TRACE(caption);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(parent, GetParent(window));
        EXPECT_EQ(caption, text_of(window));
    }
    EXPECT_EQ(14u, dx.grids.size());
    EXPECT_EQ(10u, gl.grids.size());
    const auto tab_texts = [](HWND tabs) {
        std::vector<std::string> texts;
        for (int i = 0; i < SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0); ++i) {
            char text[64] = {};
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            texts.push_back(text);
        }
        return texts;
    };
    EXPECT_EQ((std::vector<std::string>{"Summary", "Device", "Capabilities", "Vertices", "Rendering",
                                        "Textures", "Blending", "Buffers", "Pixel Shader", "Vertex Shader",
                                        "Resolutions", "Direct3D 11/12", "Formats", "Outputs"}),
              tab_texts(c.directx.pages));
    EXPECT_EQ(
        (std::vector<std::string>{"Summary", "Device", "Capabilities", "Rendering", "Textures", "Stacks",
                                  "Vertex Shader", "Extensions", "Core limits", "All extensions"}),
        tab_texts(c.opengl.pages));
    EXPECT_TRUE(IsWindowVisible(c.directx.sheet) || !IsWindowVisible(form.handle()));
    EXPECT_FALSE(GetWindowLongA(c.opengl.sheet, GWL_STYLE) & WS_VISIBLE);
}

// The thread's keyboard state, as a real key press leaves it; released at the end.
class held_keys {
public:
    explicit held_keys(std::initializer_list<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        for (const int key : keys) {
            state[key] = 0x80;
        }
        SetKeyboardState(state);
    }
    ~held_keys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256] = {};
};

TEST_F(Window, KeysChangeThePageAndTabFollowsTheScreen) {
    main_window form(world.seams());
    show(form);
    const window_controls& c = form.controls();
    const auto press = [&](WPARAM key) {
        return form.translate_key(MSG{c.adapter_list, WM_KEYDOWN, key, 0, 0, {}});
    };
    const auto page = [&] { return static_cast<int>(SendMessageA(c.directx.pages, TCM_GETCURSEL, 0, 0)); };
    const auto shown = [&](int index) {
        return (GetWindowLongA(c.directx.page_sheets[static_cast<size_t>(index)], GWL_STYLE) & WS_VISIBLE) !=
               0;
    };
    EXPECT_FALSE(press(VK_TAB));  // no Ctrl: the dialog navigation's
    {
        const held_keys control({VK_CONTROL});
        EXPECT_TRUE(press(VK_TAB));
        EXPECT_EQ(1, page());
        EXPECT_TRUE(shown(1));
        EXPECT_FALSE(shown(0));
        press(VK_NEXT);
        EXPECT_EQ(2, page());
        press(VK_PRIOR);
        press(VK_PRIOR);
        EXPECT_EQ(0, page());
        press(VK_PRIOR);  // wraps to the last page
        EXPECT_EQ(13, page());
        EXPECT_TRUE(shown(13));
    }
    {
        const held_keys control_shift({VK_CONTROL, VK_SHIFT});
        press(VK_TAB);
        EXPECT_EQ(12, page());
    }
    // The arrow keys on the strip select the page they reach.
    SendMessageA(c.directx.pages, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(11, page());
    EXPECT_TRUE(shown(11));
    SendMessageA(c.directx.pages, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(c.directx.pages, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(13, page());

    // Tab goes as the eye does: device list, find box, submit button, group
    // tabs, page strip, the page's grid.
    std::vector<HWND> order = {c.adapter_list};
    for (int i = 0; i < 7; ++i) {
        order.push_back(GetNextDlgTabItem(form.handle(), order.back(), FALSE));
    }
    EXPECT_EQ((std::vector<HWND>{c.adapter_list, c.find_box, c.submit_button, c.directx.tab, c.opengl.tab,
                                 c.vulkan.tab, c.directx.pages, c.directx.grids[13]}),
              order);
    // Alt+V, Alt+O and Alt+D show their group from wherever the focus is.
    for (const auto& [key, shown] : {std::pair{'V', page_group::vulkan}, std::pair{'O', page_group::opengl},
                                     std::pair{'D', page_group::directx}}) {
        EXPECT_TRUE(form.translate_key(MSG{c.find_box, WM_SYSKEYDOWN, static_cast<WPARAM>(key), 0, 0, {}}));
        for (const page_group which : {page_group::directx, page_group::opengl, page_group::vulkan}) {
            // A group not made yet has not shown.
            const HWND sheet = c.group(which).sheet;
            EXPECT_EQ(which == shown,
                      sheet != nullptr && (GetWindowLongA(sheet, GWL_STYLE) & WS_VISIBLE) != 0)
                << key;
        }
    }
}

TEST_F(Window, FindGoesToEachRowThatHoldsTheText) {
    main_window form(world.seams());
    show(form);
    const window_controls& c = form.controls();
    const auto said = [&] { return status_part(c.status_bar, status_find); };
    const auto key = [&](WPARAM which) {
        return form.translate_key(MSG{c.find_box, WM_KEYDOWN, which, 0, 0, {}});
    };
    const auto current = [&](page_id id) {
        const grid_model& grid = form.grid(id);
        return grid.cell(0, grid.current_row);
    };
    // Typing (the edit's EN_CHANGE) goes to the first row found, group and page included.
    SetWindowTextA(c.find_box, "max_LIGHTS");
    EXPECT_EQ("1 of 1 match", said());
    EXPECT_TRUE(GetWindowLongA(c.opengl.sheet, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(3, SendMessageA(c.opengl.pages, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ("GL_MAX_LIGHTS", current(page_id::gl_rendering));

    SetWindowTextA(c.find_box,
                   "first board");        // the Summary's Device row, then the Device page's Description
    EXPECT_EQ("1 of 2 matches", said());  // none after the open OpenGL page: round to the first
    EXPECT_TRUE(GetWindowLongA(c.directx.sheet, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(0, SendMessageA(c.directx.pages, TCM_GETCURSEL, 0, 0));
    EXPECT_TRUE(key(VK_RETURN));
    EXPECT_EQ("2 of 2 matches", said());
    EXPECT_EQ(1, SendMessageA(c.directx.pages, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ("Description", current(page_id::dx_device));
    EXPECT_TRUE(key(VK_F3));  // wraps to the first
    EXPECT_EQ(0, SendMessageA(c.directx.pages, TCM_GETCURSEL, 0, 0));
    {
        const held_keys shift({VK_SHIFT});
        key(VK_F3);  // back, wrapping to the last
        EXPECT_EQ(1, SendMessageA(c.directx.pages, TCM_GETCURSEL, 0, 0));
    }
    // A new find starts at the page on show.
    SetWindowTextA(c.find_box, "First Board");
    EXPECT_EQ("2 of 2 matches", said());
    EXPECT_EQ(1, SendMessageA(c.directx.pages, TCM_GETCURSEL, 0, 0));
    SetWindowTextA(c.find_box, "nowhere at all");
    EXPECT_EQ("No match", said());
    SetWindowTextA(c.find_box, "");
    EXPECT_EQ("", said());
    EXPECT_TRUE(key(VK_ESCAPE));
}

std::string clipboard_text() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = utf8_of(chars);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return text;
}

// Growing the window repaints every control, moved or not, so that none
// keeps the pixels of the smaller window.
TEST_F(Window, GrowingTheWindowRepaintsEveryControl) {
    main_window form(world.seams());
    SetWindowPos(form.handle(), nullptr, 0, 0, 1100, 750, SWP_NOZORDER | SWP_NOACTIVATE);
    show(form);
    UpdateWindow(form.handle());
    RedrawWindow(form.handle(), nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    SetWindowPos(form.handle(), nullptr, 0, 0, 1450, 900, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    const window_controls& c = form.controls();
    for (HWND control : {c.device_label, c.adapter_list, c.find_label, c.find_box, c.submit_button,
                         c.directx.tab, c.opengl.tab, c.vulkan.tab, c.directx.pages}) {
        EXPECT_TRUE(GetUpdateRect(control, nullptr, FALSE)) << text_of(control);
    }
}

// The app mode of Windows, at start and when it changes while running.
TEST_F(Window, FollowsTheAppModeOfWindows) {
    ui_theme wanted = ui_theme::dark;
    window_seams seams = world.seams();
    seams.theme = [&wanted] { return wanted; };
    main_window form(seams);
    show(form);
    const auto background = [&] { return cell_facts_at(form.grid(page_id::dx_device), 1, 2).grid_color; };
    EXPECT_EQ(palette_of(ui_theme::dark).window, background());
    wanted = ui_theme::light;
    SendMessageW(form.handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    EXPECT_EQ(RGB(255, 255, 255), background());
}

TEST_F(Window, ADpiChangeRescalesAndRepaintsEveryControl) {
    main_window form(world.seams());
    show(form);
    const window_controls& c = form.controls();
    // Painted and valid, as before the user drags the window to another monitor.
    RedrawWindow(form.handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_FALSE(GetUpdateRect(c.find_label, nullptr, FALSE));
    RECT suggested{0, 0, scale_to(design_client_width + 16, 144), scale_to(design_client_height + 39, 144)};
    SendMessageA(form.handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(144, form.dpi());
    RECT label{};
    GetWindowRect(c.device_label, &label);
    EXPECT_EQ(scale_to(44, 144), label.right - label.left);
    // Every control waits to be painted again at the new scale.
    for (HWND control : {c.device_label, c.find_label, c.adapter_list, c.submit_button, c.directx.tab,
                         c.directx.summary.grid}) {
        EXPECT_TRUE(GetUpdateRect(control, nullptr, FALSE));
    }
}

TEST_F(Window, GridMenusCopyTheirPageOrTheWholeReport) {
    main_window form(world.seams());
    show(form);
    HWND device = form.grid_window(page_id::dx_device);
    const auto ask = [&](int code) {
        SendMessageA(GetParent(device), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(device), code),
                     reinterpret_cast<LPARAM>(device));
        return clipboard_text();
    };
    EXPECT_EQ(0u, ask(grid_copy_page).find("DirectX - Device\r\nDirectX name "));
    const std::string report = ask(grid_copy_report);
    EXPECT_EQ(0u, report.find("Adapter 1 of 2: First board\r\n\r\nDirectX - Summary\r\nDevice "));
    EXPECT_NE(std::string::npos, report.find(" First board\r\n"));
    EXPECT_NE(std::string::npos, report.find("\r\n\r\nOpenGL - Extensions\r\n"));
}

// A report saved by the window, changed, opened from the command line and
// compared: the pages show the file, Submit waits for this machine, and the
// Compared column shows the other report's values.
TEST_F(Window, OpensAndComparesSavedReports) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string saved = std::string(folder) + "cavio-window-saved.json";
    const std::string changed = std::string(folder) + "cavio-window-changed.json";
    {
        main_window live(world.seams());
        ShowWindow(live.handle(), SW_SHOWNA);
        ASSERT_TRUE(live.save_report(saved));
    }
    std::string text = read_text_file(saved);
    for (size_t at = text.find("First board"); at != std::string::npos; at = text.find("First board")) {
        text.replace(at, 11, "Other board");
    }
    write_text_file(changed, text);
    window_seams seams = world.seams();
    seams.choose_file = [&](HWND, file_choice choice, const std::string& start, const std::string&) {
        // Ctrl+Shift+O asks for the report to compare with, under a title that says so.
        EXPECT_EQ(file_choice::compare, choice);
        EXPECT_EQ(std::wstring(L"Compare with"), file_dialog_title(choice));
        EXPECT_EQ(std::string(folder).substr(0, std::strlen(folder) - 1), start);  // the folder last used
        return saved;
    };
    main_window form(seams);
    form.report_at_start = changed;
    show(form);
    const window_controls& c = form.controls();
    ASSERT_TRUE(form.showing_file());
    EXPECT_EQ("Other board", form.grid(page_id::dx_summary).cell(1, 0));
    EXPECT_EQ("Report from cavio-window-changed.json", status_part(c.status_bar, status_message));
    EXPECT_EQ("cavio-window-changed.json \u2014 " + utf8_of(main_caption), text_of(form.handle()));
    EXPECT_FALSE(IsWindowEnabled(c.submit_button));

    // Ctrl+Shift+O: the file the dialog chose, beside the one shown.
    const held_keys control_shift({VK_CONTROL, VK_SHIFT});
    EXPECT_TRUE(form.translate_key(MSG{c.adapter_list, WM_KEYDOWN, 'O', 0, 0, {}}));
    ASSERT_TRUE(form.comparing());
    const grid_model& summary = form.grid(page_id::dx_summary);
    EXPECT_EQ("First board", summary.cell(2, 0));
    EXPECT_EQ("Compared", form.grid(page_id::dx_device).cell(2, 0));
    EXPECT_TRUE(summary.row_differs(0));
    EXPECT_FALSE(summary.row_differs(1));
    EXPECT_EQ("Report from cavio-window-changed.json; 2 rows differ on 2 pages",
              status_part(c.status_bar, status_message));
    EXPECT_TRUE(IsWindowVisible(c.differences_only));
    SendMessageA(c.differences_only, BM_SETCHECK, BST_CHECKED, 0);
    form.show_selected_adapter();
    EXPECT_EQ(1, form.grid(page_id::dx_summary).row_count());
    EXPECT_EQ("Description", form.grid(page_id::dx_device).cell(0, 1));
    EXPECT_EQ(2, form.grid(page_id::dx_device).row_count());

    form.close_comparison();
    form.show_this_machine();
    EXPECT_FALSE(form.comparing() || form.showing_file());
    EXPECT_TRUE(IsWindowEnabled(c.submit_button));
    EXPECT_EQ("First board", form.grid(page_id::dx_summary).cell(1, 0));
    // A file that is refused says why and changes nothing.
    write_text_file(changed, "{\"format\": 7}");
    EXPECT_FALSE(form.open_report(changed));
    EXPECT_EQ(
        "cavio-window-changed.json is not a Cavio report: it is a report of format 7; this Cavio reads "
        "format 1.",
        world.seen.messages.back());
    DeleteFileA(saved.c_str());
    DeleteFileA(changed.c_str());
}

// What a developer who keeps the window open relies on, one behaviour per
// step: the Summary's links, the Formats matrix and its filter, numbers in
// scientific notation, a comparison's counts and F8, sized columns, the
// Summary's scroll bars after growing, Find's wrap, the menus and Save's name.
TEST_F(Window, WhatADeveloperKeepsOpenWorksAsItSays) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string saved = std::string(folder) + "cavio-window-kept.json";
    window_seams seams = world.seams();
    seams.choose_file = [&](HWND, file_choice, const std::string&, const std::string&) { return saved; };
    main_window form(seams);
    show(form);
    const window_controls& c = form.controls();
    const auto page_shown = [&](page_group group) {
        return static_cast<int>(SendMessageA(c.group(group).pages, TCM_GETCURSEL, 0, 0));
    };
    const auto current = [&](page_id id) { return form.grid(id).cell(0, form.grid(id).current_row); };
    const auto row_named = [&](page_id id, const std::string& name) {
        const grid_model& grid = form.grid(id);
        for (int r = 0; r < grid.row_count(); ++r) {
            if (grid.cell(0, r) == name) {
                return r;
            }
        }
        return -1;
    };
    // The Summary's Direct3D 11/12 rows lead to their page and row.
    grid_model& summary = form.grid(page_id::dx_summary);
    summary.current_row = row_named(page_id::dx_summary, "Highest shader model");
    ASSERT_NE(nullptr, summary.link(summary.current_row));
    EXPECT_EQ(nullptr, summary.link(row_named(page_id::dx_summary, "Driver")));
    SendMessageA(form.handle(), WM_COMMAND, MAKEWPARAM(id_first_grid, grid_follow_link),
                 reinterpret_cast<LPARAM>(c.directx.summary.grid));
    EXPECT_EQ(11, page_shown(page_group::directx));
    EXPECT_EQ("Highest shader model", current(page_id::dx_d3d11_12));

    // The matrix marks what a DXGI format's bits and a Direct3D 9 format's
    // words say, and filters on a capability in both sections.
    const grid_model& formats = form.grid(page_id::dx_formats);
    const auto marked = [&](const char* name) {
        const int format = row_named(page_id::dx_formats, name);
        std::string headers;
        for (int column = 0; format > 0 && column < formats.column_count(); ++column) {
            if (formats.column(column).role == column_role::mark &&
                formats.cell(column, format) == format_mark) {
                headers += formats.column(column).header + " ";
            }
        }
        return headers;
    };
    EXPECT_EQ("Sample Target UAV store x4 ", marked("DXGI_FORMAT_R8G8B8A8_UNORM"));
    EXPECT_EQ("2D Filter Target x4 ", marked("D3DFMT_A8R8G8B8"));
    EXPECT_EQ("", marked("D3DFMT_X8R8G8B8"));
    const auto header = [&](const char* name) {
        for (int column = 0; column < formats.column_count(); ++column) {
            if (formats.column(column).header == name) {
                return formats.column(column).mark;
            }
        }
        return -1;
    };
    HWND formats_grid = form.grid_window(page_id::dx_formats);
    grid_set_filter(formats_grid, {header("Sample"), header("x4")});
    EXPECT_NE(-1, row_named(page_id::dx_formats, "DXGI_FORMAT_R8G8B8A8_UNORM"));
    EXPECT_EQ(-1, row_named(page_id::dx_formats, "DXGI_FORMAT_R32G32B32A32_FLOAT"));
    EXPECT_EQ(-1, row_named(page_id::dx_formats, "D3DFMT_A8R8G8B8"));
    grid_set_filter(formats_grid, {header("Target"), header("x4")});
    EXPECT_NE(-1, row_named(page_id::dx_formats, "DXGI_FORMAT_R8G8B8A8_UNORM"));
    EXPECT_NE(-1, row_named(page_id::dx_formats, "D3DFMT_A8R8G8B8"));
    EXPECT_EQ(-1, row_named(page_id::dx_formats, "D3DFMT_X8R8G8B8"));
    grid_set_filter(formats_grid, {header("Filter")});
    EXPECT_EQ(-1, row_named(page_id::dx_formats, "DXGI_FORMAT_R8G8B8A8_UNORM"));
    EXPECT_NE(-1, row_named(page_id::dx_formats, "D3DFMT_A8R8G8B8"));
    grid_set_filter(formats_grid, {header("Blend")});
    EXPECT_EQ("No format can be blended.", formats.placeholder());
    grid_set_filter(formats_grid, {});

    // A real of 1e9 or more: scientific in the window, every digit in the submission.
    const int max_value = row_named(page_id::dx_pixel_shader, "PixelShader1xMaxValue");
    ASSERT_GT(max_value, 0);
    EXPECT_EQ("3.402823e+38", form.grid(page_id::dx_pixel_shader).cell(1, max_value));
    EXPECT_NE(std::string::npos, form.submission.find("340282346638528859811704183484516925440.000000"));

    // Find marks the text, and says when it went round.
    SetWindowTextA(c.find_box, "first BOARD");
    EXPECT_EQ("1 of 2 matches", status_part(c.status_bar, status_find));
    form.step_found(1);
    form.step_found(1);
    EXPECT_EQ("1 of 2 matches, from the top", status_part(c.status_bar, status_find));
    EXPECT_EQ(11u, form.grid(page_id::dx_summary).match.length);

    // Menus with nothing to do are off; Save suggests the adapter and the day.
    HMENU menu = GetMenu(form.handle());
    EXPECT_TRUE(GetMenuState(menu, id_menu_this_machine, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, id_menu_close_comparison, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ("Board A B - 2026-01-02.json",
              suggested_report_name("Board: A/B", SYSTEMTIME{2026, 1, 0, 2, 0, 0, 0, 0}));
    form.choose_where_to_save();
    EXPECT_EQ("Saved as " + saved, status_part(c.status_bar, status_message));

    // A comparison with a value that differs in letter case only, and one
    // further on: counts on the tabs and buttons, and F8 in tab order.
    std::string text = read_text_file(saved);
    for (size_t at = text.find("First board"); at != std::string::npos; at = text.find("First board")) {
        text.replace(at, 11, "FIRST BOARD");
    }
    const std::string width_value = "\"value\": \"4096\"";
    const size_t texture = text.find(width_value, text.find("\"MaxTextureWidth\""));
    ASSERT_NE(std::string::npos, texture);
    text.replace(texture, width_value.size(), "\"value\": \"8192\"");
    // And the last row of the Device page: a difference there is one too.
    nlohmann::ordered_json changed = nlohmann::ordered_json::parse(text);
    std::string last_device_row;
    for (auto& page : changed["adapters"][0]["directx"]) {
        if (page["marker"] == "dx_device") {
            nlohmann::ordered_json& last = page["rows"].back();
            ASSERT_NE("blank", last["kind"]);
            last_device_row = last["name"].get<std::string>();
            last["value"] = last["value"].get<std::string>() + "1";
        }
    }
    text = changed.dump(2) + "\n";
    write_text_file(saved, text);
    ASSERT_TRUE(form.compare_with(saved));
    EXPECT_EQ("DirectX (4)", text_of(c.directx.tab));
    wchar_t caption[64] = {};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = caption;
    tab.cchTextMax = 64;
    SendMessageW(c.directx.pages, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tab));
    EXPECT_EQ(L"Summary (1)", std::wstring(caption));
    EXPECT_FALSE(GetMenuState(menu, id_menu_close_comparison, MF_BYCOMMAND) & MF_GRAYED);
    // From Find's row, the Summary's Device: on, and round to it again.
    const std::pair<int, std::string> steps[] = {
        {1, "Description"}, {1, last_device_row}, {5, "MaxTextureWidth"}, {0, "Device"}};
    for (const auto& [page, row] : steps) {
        EXPECT_TRUE(form.translate_key(MSG{c.find_box, WM_KEYDOWN, VK_F8, 0, 0, {}}));
        EXPECT_EQ(page, page_shown(page_group::directx));
        EXPECT_EQ(row, current(pages_of(page_group::directx)[static_cast<size_t>(page)].id));
    }
    EXPECT_EQ("Difference 1 of 4", status_part(c.status_bar, status_find));
    SendMessageA(c.differences_only, BM_SETCHECK, BST_CHECKED, 0);
    form.show_selected_adapter();
    EXPECT_EQ("No differences on this page.", form.grid(page_id::dx_capabilities).cell(0, 1));
    form.close_comparison();

    // A column the user sized keeps its width when the page is shown anew.
    HWND device = form.grid_window(page_id::dx_device);
    const int width = form.grid(page_id::dx_device).column_width(0);
    SendMessageA(device, WM_LBUTTONDOWN, 0, MAKELPARAM(width, 5));
    SendMessageA(device, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width + 40, 5));
    SendMessageA(device, WM_LBUTTONUP, 0, MAKELPARAM(width + 40, 5));
    form.show_selected_adapter();
    EXPECT_EQ(width + 40, form.grid(page_id::dx_device).column_width(0));

    // Shrunk, the Summary scrolls; grown back, its grid shows every row again.
    HWND summary_grid = c.directx.summary.grid;
    SetWindowPos(form.handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(GetWindowLongA(summary_grid, GWL_STYLE) & WS_VSCROLL);
    SetWindowPos(form.handle(), nullptr, 0, 0, 1200, 900, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(GetWindowLongA(summary_grid, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
    DeleteFileA(saved.c_str());
}

// Every Vulkan device of a report can be chosen, and every Vulkan page shows it.
TEST_F(Window, TheVulkanGroupShowsTheDeviceChosen) {
    nlohmann::ordered_json report =
        nlohmann::ordered_json::parse(read_text_file(CAVIO_GOLDEN_DIR "/report.json"));
    // The adapter's own device, and a second one no adapter is.
    const nlohmann::ordered_json first = {{"name", "Golden Vulkan Board"},
                                          {"vulkan", report.at("adapters").at(0).at("vulkan")}};
    nlohmann::ordered_json second = first;
    second["name"] = "Second Vulkan Board";
    for (auto& page : second["vulkan"]) {
        for (auto& row : page["rows"]) {
            if (page["marker"] == "vk_summary" && row["name"] == "Device") {
                row["value"] = "Second Vulkan Board";
            }
        }
    }
    report["vulkan_devices"] = {first, second};
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "cavio-two-vulkan-devices.json";
    write_text_file(path, report.dump(2));
    main_window form(world.seams());
    form.report_at_start = path;
    show(form);
    form.show_row(page_id::vk_summary, "");
    HWND list = form.controls().vulkan.summary.device_list;
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VISIBLE);
    ASSERT_EQ(2, SendMessageA(list, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageA(list, CB_GETCURSEL, 0, 0));  // the adapter's own
    EXPECT_EQ("Golden Vulkan Board", form.grid(page_id::vk_summary).cell(1, 0));
    SendMessageA(list, CB_SETCURSEL, 1, 0);
    SendMessageA(form.handle(), WM_COMMAND, MAKEWPARAM(id_vulkan_devices, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ("Second Vulkan Board", form.grid(page_id::vk_summary).cell(1, 0));
    DeleteFileA(path.c_str());
}

// As a screen reader would, from another thread: the Device grid's object,
// its rows with their names, values, descriptions, roles and states, and the
// focused row after a key moves it.
TEST_F(Window, AScreenReaderReadsEveryRowOfAGrid) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    main_window form(world.seams());
    show(form);
    HWND device = form.grid_window(page_id::dx_device);
    const report_page& page = form.grid(page_id::dx_device).shown();
    SetFocus(device);
    grid_select_row(device, 2);
    struct read_row {
        std::string name, value, description;
        LONG role = 0, state = 0;
    };
    std::string grid_name;
    LONG count = 0;
    LONG grid_role = 0;
    LONG focused = 0;
    std::vector<read_row> rows;
    std::atomic<bool> done = false;
    std::thread reader([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IAccessible* object = nullptr;
        if (AccessibleObjectFromWindow(device, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object)) == S_OK) {
            // Asks, then reads the answer: the text's arguments are read only
            // after the call.
            const auto text = [](auto&& ask) {
                BSTR value = nullptr;
                std::string utf8 = ask(&value) == S_OK && value != nullptr ? utf8_of(value) : "";
                SysFreeString(value);
                return utf8;
            };
            VARIANT self{};
            self.vt = VT_I4;
            grid_name = text([&](BSTR* out) { return object->get_accName(self, out); });
            object->get_accChildCount(&count);
            VARIANT role{};
            object->get_accRole(self, &role);
            grid_role = role.lVal;
            VARIANT focus{};
            object->get_accFocus(&focus);
            focused = focus.vt == VT_I4 ? focus.lVal : -1;
            for (LONG child = 1; child <= count; ++child) {
                VARIANT id{};
                id.vt = VT_I4;
                id.lVal = child;
                read_row& row = rows.emplace_back();
                row.name = text([&](BSTR* out) { return object->get_accName(id, out); });
                row.value = text([&](BSTR* out) { return object->get_accValue(id, out); });
                row.description = text([&](BSTR* out) { return object->get_accDescription(id, out); });
                VARIANT got{};
                object->get_accRole(id, &got);
                row.role = got.lVal;
                object->get_accState(id, &got);
                row.state = got.lVal;
            }
            object->Release();
        }
        CoUninitialize();
        done = true;
    });
    while (!done) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
    reader.join();
    EXPECT_EQ("Device", grid_name);
    EXPECT_EQ(ROLE_SYSTEM_LIST, grid_role);
    ASSERT_EQ(static_cast<LONG>(page.rows.size()), count);
    EXPECT_EQ(2, focused);  // the second data row, after the header
    for (size_t i = 0; i < page.rows.size(); ++i) {
        const report_row& row = page.rows[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.name, rows[i].name);
        EXPECT_EQ(row.value, rows[i].value);
        EXPECT_EQ(row.description, rows[i].description);
        EXPECT_EQ(row.kind == row_kind::section ? ROLE_SYSTEM_GROUPING
                  : row.kind == row_kind::blank ? ROLE_SYSTEM_SEPARATOR
                                                : ROLE_SYSTEM_LISTITEM,
                  rows[i].role);
        EXPECT_EQ(i == 1, (rows[i].state & STATE_SYSTEM_SELECTED) != 0);
    }
    CoUninitialize();
}

RECT rect_in(HWND window, HWND parent) {
    RECT area{};
    GetWindowRect(window, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

TEST_F(Window, SummaryPanelStaysCentredAndLinksStayTopRight) {
    main_window form(world.seams());
    for (const SIZE size : {SIZE{1000, 720}, SIZE{1400, 900}}) {
        SetWindowPos(form.handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        const summary_controls& summary = form.controls().directx.summary;
        HWND sheet = summary.sheet;
        RECT sheet_area{};
        GetClientRect(sheet, &sheet_area);
        const RECT panel = rect_in(summary.panel, sheet);
        EXPECT_NEAR(sheet_area.right / 2, (panel.left + panel.right) / 2, 1);
        EXPECT_NEAR(sheet_area.bottom / 2, (panel.top + panel.bottom) / 2, 1);
        const RECT logo = rect_in(summary.image, sheet);
        const RECT link = rect_in(summary.home_link, sheet);
        EXPECT_EQ(sheet_area.right - scale_to(7, form.dpi()), logo.right);
        EXPECT_EQ(logo.right, link.right);
        EXPECT_EQ(scale_to(140, form.dpi()), logo.right - logo.left);
    }
}

// In a sheet too short for it, a Summary grid gives way and scrolls, down to
// a few rows.
TEST(Layout, ASummaryTooTallForItsSheetScrolls) {
    for (const int dpi : {96, 192}) {
        const summary_layout small =
            layout_summary(scale_to(700, dpi), scale_to(200, dpi), dpi, page_group::directx);
        EXPECT_LE(small.panel.bottom, scale_to(200 - 4, dpi));
        EXPECT_GE(small.grid.bottom - small.grid.top, scale_to(60, dpi));
        const summary_layout roomy =
            layout_summary(scale_to(900, dpi), scale_to(600, dpi), dpi, page_group::directx);
        EXPECT_EQ(scale_to(310, dpi), roomy.grid.bottom - roomy.grid.top);
    }
}

TEST(Layout, MetricsScaleWithTheDpi) {
    const main_layout normal = layout_main(984, 664, 96);
    const main_layout doubled = layout_main(1968, 1328, 192);
    EXPECT_EQ(41, normal.top_panel.bottom);
    EXPECT_EQ(82, doubled.top_panel.bottom);
    EXPECT_EQ(831, normal.submit.left);
    EXPECT_EQ(1662, doubled.submit.left);
    EXPECT_EQ(2 * (normal.submit.right - normal.submit.left), doubled.submit.right - doubled.submit.left);
    EXPECT_EQ(56, normal.adapters.left);
    EXPECT_EQ(409, normal.adapters.right - normal.adapters.left);
    EXPECT_EQ(818, doubled.adapters.right - doubled.adapters.left);
    EXPECT_EQ(664 - 19, normal.status_bar.top);
    EXPECT_EQ(1328 - 38, doubled.status_bar.top);
    EXPECT_EQ(100, normal.directx_tab.right - normal.directx_tab.left);
    EXPECT_EQ(200, doubled.directx_tab.right - doubled.directx_tab.left);
    // The button keeps its distance from the right edge when the window grows.
    EXPECT_EQ(1200 - 153, layout_main(1200, 664, 96).submit.left);

    // The first window: centred, and never larger than the work area, as on
    // a 1600x1000 screen at 192 DPI (task bar below) or an 800x600 one.
    const auto place = [](SIZE frame, RECT work) {
        const RECT r = first_window_rect(frame, work);
        return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
    };
    EXPECT_EQ((std::vector<LONG>{100, 50, 1100, 750}), place({1000, 700}, {0, 0, 1200, 800}));
    EXPECT_EQ((std::vector<LONG>{0, 0, 1600, 960}), place({1984, 1374}, {0, 0, 1600, 960}));
    EXPECT_EQ((std::vector<LONG>{-800, 0, 0, 560}), place({1000, 700}, {-800, 0, 0, 560}));

    const summary_layout summary = layout_summary(945, 564, 96, page_group::directx);
    EXPECT_EQ(798, summary.logo.left);
    EXPECT_EQ(192, summary.panel.left);
    EXPECT_EQ(96, summary.panel.top);
    // The OpenGL panel is 22 px taller for the core profile's two rows.
    EXPECT_EQ(164, layout_summary(945, 564, 96, page_group::opengl).panel.top);
    const summary_layout big = layout_summary(1890, 1128, 192, page_group::directx);
    EXPECT_EQ(2 * 798, big.logo.left);
    EXPECT_EQ(2 * 409, big.grid.right - big.grid.left);
    EXPECT_EQ(2 * 31, big.grid.top);
}

TEST(Layout, TheSummaryGridNeverLiesUnderTheLogoOrTheLinks) {
    for (const int dpi : {96, 144, 192}) {
        for (int width = 500; width <= 1500; width += 23) {
            for (int height = 280; height <= 900; height += 31) {
                const int w = scale_to(width, dpi);
                const int h = scale_to(height, dpi);
                for (const page_group group : {page_group::directx, page_group::opengl, page_group::vulkan}) {
                    const summary_layout layout = layout_summary(w, h, dpi, group);
                    RECT grid = layout.grid;
                    OffsetRect(&grid, layout.panel.left, layout.panel.top);
                    // Wholly on the sheet, below the tabs, with room for rows.
                    const RECT sheet{0, 0, w, h};
                    RECT inside{};
                    IntersectRect(&inside, &grid, &sheet);
                    ASSERT_TRUE(EqualRect(&inside, &grid)) << width << "x" << height << " at " << dpi;
                    EXPECT_GE(grid.bottom - grid.top, scale_to(60, dpi))
                        << width << "x" << height << " at " << dpi;
                    for (const RECT& part : {layout.logo, layout.home_visit, layout.home_link,
                                             layout.maker_visit, layout.maker_link}) {
                        RECT both{};
                        ASSERT_FALSE(IntersectRect(&both, &grid, &part))
                            << width << "x" << height << " at " << dpi;
                    }
                }
            }
        }
    }
    // The top bar at the smallest window: list, "Find:", box and button side by side.
    const main_layout narrow = layout_main(scale_to(640 - 16, 144), scale_to(420, 144), 144);
    const std::vector<RECT> bar = {narrow.adapters, narrow.find_label, narrow.find_box, narrow.submit};
    for (size_t i = 1; i < bar.size(); ++i) {
        EXPECT_LT(bar[i - 1].right, bar[i].left) << i;
    }
    EXPECT_GE(narrow.find_box.right - narrow.find_box.left, scale_to(100, 144));
    // At the design size the panel stays in the middle.
    const summary_layout design = layout_summary(945, 564, 96, page_group::directx);
    EXPECT_EQ(192, design.panel.left);
}

// Renders a grid window into a 32-bit bitmap through WM_PRINTCLIENT.
class rendered_grid {
public:
    rendered_grid(grid_model& model, int width, int height)
        : width_(width),
          parent_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr,
                                  nullptr)),
          grid_(create_grid(parent_, &model, 1)) {
        MoveWindow(grid_, 0, 0, width, height, FALSE);
        render(height);
    }
    // A grid window of the caller's, as it paints now.
    rendered_grid(HWND grid, int width, int height) : width_(width), grid_(grid) { render(height); }
    ~rendered_grid() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        if (parent_ != nullptr) {
            DestroyWindow(parent_);
        }
    }
    COLORREF pixel(int x, int y) const {
        const uint32_t value = bits_[y * width_ + x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }
    // Pixels of a band of rows whose colour leans to one channel.
    int leaning(int top, int bottom, int channel) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < width_ - 20; ++x) {
                const COLORREF c = pixel(x, y);
                const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                const bool lean = channel == 0 ? r > g + 60 && r > b + 60 : g > r + 40 && g > b + 40;
                count += lean ? 1 : 0;
            }
        }
        return count;
    }

private:
    void render(int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        SendMessageA(grid_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
        GdiFlush();
    }

    int width_;
    HWND parent_ = nullptr;
    HWND grid_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// The grid of a page holding what write writes.
grid_model grid_of(page_id id, const std::function<void(page_writer&)>& write) {
    report_page page{id, {}, {}};
    page_writer writer(page);
    write(writer);
    grid_model grid(page_of(id));
    grid.show(&page);
    return grid;
}

TEST(GridPainting, ColoursOfValuesCurrentRowAndSections) {
    grid_model grid = grid_of(page_id::dx_capabilities, [](page_writer& page) {
        page.text("Current", "text", "");    // row 1, the current row
        page.yes_no("Supported", true, "");  // row 2: yes
        page.number("Nothing", 0, "");       // row 3: 0
        page.section("[Section]", "");       // row 4: 32 px
    });
    grid.current_row = 1;
    rendered_grid image(grid, 600, 160);
    // Header 17, rows 17, 17, 17, then the 32 px section row, at 96 DPI.
    const int y1 = 17, y2 = 34, y3 = 51, y4 = 68;
    EXPECT_EQ(RGB(192, 220, 192), image.pixel(120, y1 + 3));
    EXPECT_EQ(RGB(192, 220, 192), image.pixel(500, y1 + 3));
    EXPECT_EQ(RGB(255, 255, 255), image.pixel(120, y2 + 3));
    EXPECT_EQ(RGB(192, 192, 192), image.pixel(500, y4 + 10));
    EXPECT_EQ(RGB(192, 192, 192), image.pixel(100, 5));
    EXPECT_GT(image.leaning(y2, y3, 1), 5) << "green text in the yes cell";
    EXPECT_EQ(0, image.leaning(y2, y3, 0));
    EXPECT_GT(image.leaning(y3, y4, 0), 3) << "red text in the 0 cell";
    EXPECT_EQ(0, image.leaning(y3, y4, 1));
}

TEST(GridPainting, AFocusedSummaryGridMarksItsCurrentRow) {
    grid_model grid = grid_of(page_id::dx_summary, [](page_writer& page) {
        page.text("Device", "Board", "");
        page.text("Vendor", "Maker", "");
    });
    grid.current_row = 1;
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND window = create_grid(parent, &grid, 1);
    MoveWindow(window, 0, 0, 300, 100, FALSE);
    SetFocus(window);
    ASSERT_EQ(window, GetFocus());
    rendered_grid image(window, 300, 100);
    // The dotted line along the top of row 1 (17 px down), where no text
    // stands, differs from the ground just above it.
    int dots = 0;
    for (int x = 60; x < 195; ++x) {
        dots += image.pixel(x, 17) != image.pixel(x, 16) ? 1 : 0;
    }
    EXPECT_GT(dots, 20);
    DestroyWindow(parent);
}

TEST(GridTips, ACutCellShowsItsWholeTextOnHover) {
    const std::string long_text(200, 'x');
    grid_model model =
        grid_of(page_id::dx_buffers, [&](page_writer& page) { page.text("Short", "1", long_text); });
    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr, nullptr, nullptr);
    HWND grid = create_grid(parent, &model, 1);
    MoveWindow(grid, 0, 0, 600, 200, TRUE);
    // What the tip asks for the cell under the mouse, as the tooltip control does.
    const auto tip_at = [&](int x, int y) {
        SendMessageA(grid, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = nullptr;
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(grid, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return utf8_of(info.lpszText != nullptr ? info.lpszText : L"");
    };
    EXPECT_EQ(long_text, tip_at(450, 25));  // the Description, cut by the window's edge
    EXPECT_EQ("", tip_at(50, 25));          // "Short", whole
    EXPECT_EQ("", tip_at(350, 25));         // "1", whole
    DestroyWindow(parent);
}

TEST(GridSelection, CopiesTheSelectedRowsAsText) {
    grid_model model = grid_of(page_id::dx_buffers, [](page_writer& page) {
        page.section("[ZCmpCaps]", "Depth tests.");
        page.yes_no("D3DPCMPCAPS_ALWAYS", true, "Always passes.");
        page.blank();
    });
    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    HWND grid = create_grid(parent, &model, 1);
    model.current_row = 2;
    EXPECT_EQ("D3DPCMPCAPS_ALWAYS\tyes\tAlways passes.\r\n", grid_selected_text(grid));
    grid_select_all(grid);
    EXPECT_EQ("[ZCmpCaps]\t\tDepth tests.\r\nD3DPCMPCAPS_ALWAYS\tyes\tAlways passes.\r\n\t\t\r\n",
              grid_selected_text(grid));
    // Home ends the selection at the first data row, never the header.
    SendMessageA(grid, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(1, model.current_row);
    // Both ranges follow the client area that both bars leave, so that the
    // last pixel can be scrolled into view.
    MoveWindow(grid, 0, 0, 300, 70, TRUE);
    SendMessageA(grid, WM_HSCROLL, SB_BOTTOM, 0);
    for (const int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO range{};
        range.cbSize = sizeof range;
        range.fMask = SIF_ALL;
        GetScrollInfo(grid, bar, &range);
        RECT client{};
        GetClientRect(grid, &client);
        const LONG view = bar == SB_HORZ ? client.right : client.bottom - normal_row_height;
        EXPECT_EQ(view, static_cast<LONG>(range.nPage)) << bar;
        if (bar == SB_HORZ) {
            EXPECT_EQ(range.nMax + 1 - static_cast<int>(range.nPage), range.nPos);  // at the end
        }
    }
    // The horizontal wheel scrolls sideways, within the range, both ways.
    SendMessageA(grid, WM_HSCROLL, SB_TOP, 0);
    SendMessageA(grid, WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    const int right = GetScrollPos(grid, SB_HORZ);
    EXPECT_GT(right, 0);
    SendMessageA(grid, WM_MOUSEHWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(0, GetScrollPos(grid, SB_HORZ));
    DestroyWindow(parent);
}

// cavio.exe, one folder above the tests, carries the chip as its icon in the
// four sizes Windows asks for.
TEST(ProgramIcon, TheChipIn16_32_48And256Pixels) {
    const std::string program = built_program("cavio.exe");
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module) << program;
    HRSRC found =
        FindResourceA(module, MAKEINTRESOURCEA(icon_resource), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(nullptr, found);
    // The group directory: reserved, type, count, then 14-byte entries whose
    // first byte is the width (0 for 256).
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    std::vector<int> widths;
    for (int i = 0; i < group[4]; ++i) {
        widths.push_back(group[6 + 14 * i] == 0 ? 256 : group[6 + 14 * i]);
    }
    EXPECT_EQ((std::vector<int>{16, 32, 48, 256}), widths);
    FreeLibrary(module);
}

// Writes what a window shows to a 24-bit BMP file, for a look at it.
void save_window_image(HWND window, const std::string& path) {
    RECT area{};
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD size = static_cast<DWORD>((width * 3 + 3) / 4 * 4 * height);
    const BITMAPFILEHEADER file{0x4D42,
                                static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info.bmiHeader + size),
                                0, 0, sizeof(BITMAPFILEHEADER) + sizeof info.bmiHeader};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// A board named with characters outside the code page, as DXGI gives it in
// UTF-16: whole in the device list, the pages, what the grid draws, the
// copied report and the JSON; the code page's own bytes in the submission.
TEST_F(Window, ANameOutsideTheCodePageShowsWhole) {
    const std::wstring wide = L"Radeon\u2122 \u56FE\u5F62";
    const std::string name = "Radeon\xE2\x84\xA2 \xE5\x9B\xBE\xE5\xBD\xA2";
    fakes::dxgi_factory factory;
    fakes::dxgi_adapter board;
    board.describe(wide, 0x1002, 0x687F, 0, 0);
    board.interface_status = E_NOINTERFACE;
    factory.adapters.push_back(&board);
    dx10_entry_points entry;
    entry.CreateDXGIFactory = [&factory](REFIID, void** out) {
        factory.AddRef();
        *out = static_cast<IDXGIFactory*>(&factory);
        return S_OK;
    };
    window_seams seams = world.seams();
    seams.capture.direct3d10 = [&entry] { return dxgi_probe(entry).take(); };
    main_window form(seams);
    show(form);
    EXPECT_EQ("#0: " + name, combo_line(form.controls().adapter_list, 0));
    EXPECT_EQ(name, form.grid(page_id::dx_summary).cell(1, 0));
    HWND device = form.grid_window(page_id::dx_device);
    SendMessageW(GetParent(device), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(device), grid_copy_report),
                 reinterpret_cast<LPARAM>(device));
    EXPECT_NE(std::string::npos, clipboard_text().find(" " + name + "\r\n"));
    const nlohmann::json json = nlohmann::json::parse(report_json(form.document(), "cavio", "1"));
    EXPECT_EQ(name, json.at("adapters").at(0).at("description"));
    char ansi[64] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    EXPECT_NE(std::string::npos, form.submission.find(std::string("Device\t") + ansi + "\r\n"));
    // The grid draws the characters themselves, not what the code page makes of them.
    const auto drawn = [](const std::string& text) {
        grid_model model =
            grid_of(page_id::dx_summary, [&](page_writer& page) { page.text("Device", text, ""); });
        rendered_grid image(model, 600, 100);
        std::vector<COLORREF> pixels;
        for (int x = 200; x < 400; ++x) {
            for (int y = 0; y < normal_row_height; ++y) {
                pixels.push_back(image.pixel(x, y));
            }
        }
        return pixels;
    };
    EXPECT_NE(drawn(name), drawn(ansi_of_utf8(name)));
    if (const char* shot = std::getenv("CAVIO_SCREENSHOT")) {
        SetWindowPos(form.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(form.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        save_window_image(form.handle(), shot);
    }
    EXPECT_EQ(0u, factory.references);
}

// Runs the thread's messages, as the message loop would, until done says so
// or five seconds have passed.
void run_messages_until(const std::function<bool()>& done) {
    MSG message;
    for (int wait = 0; wait < 500 && !done(); ++wait) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

TEST_F(Window, AGroupStillReadSaysSoAndFillsWhenItsProbeEnds) {
    std::promise<void> held;
    const std::shared_future<void> gate = held.get_future().share();
    window_seams seams = world.seams();
    seams.capture.opengl = [gate, answer = seams.capture.opengl](std::span<const dx_adapter> adapters) {
        gate.wait();
        return answer(adapters);
    };
    main_window form(seams);
    ShowWindow(form.handle(), SW_SHOWNA);
    // The DirectX pages at once; OpenGL's say they are being read.
    EXPECT_EQ("First board", form.grid(page_id::dx_summary).cell(1, 0));
    EXPECT_EQ("Reading\u2026", form.grid(page_id::gl_summary).cell(0, 0));
    EXPECT_EQ("Reading OpenGL\u2026", status_part(form.controls().status_bar, status_message));
    EXPECT_EQ("", form.submission);
    SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(id_opengl_tab, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.controls().opengl.tab));
    if (const char* shot = std::getenv("CAVIO_SCREENSHOT_READING")) {
        SetWindowPos(form.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(form.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        save_window_image(form.handle(), shot);
    }
    // The probe's message fills the group in the message loop.
    held.set_value();
    run_messages_until([&] { return form.grid(page_id::gl_summary).cell(1, 0) == "First renderer"; });
    EXPECT_EQ("First renderer", form.grid(page_id::gl_summary).cell(1, 0));
    EXPECT_EQ("", status_part(form.controls().status_bar, status_message));
    EXPECT_NE(std::string::npos, form.submission.find("Device\tSecond board"));
}

TEST_F(Window, AProbePastItsBoundEndsAsAReasonAndTheRestWorks) {
    std::promise<void> held;
    const std::shared_future<void> gate = held.get_future().share();
    window_seams seams = world.seams();
    const auto token = std::make_shared<int>();
    seams.capture.opengl = [gate, token,
                            answer = seams.capture.opengl](std::span<const dx_adapter> adapters) {
        gate.wait();
        return answer(adapters);
    };
    seams.capture.bound = std::chrono::milliseconds(200);
    const long copies = token.use_count();
    {
        main_window form(seams);
        ShowWindow(form.handle(), SW_SHOWNA);
        // The window's timer gives the probe up.
        run_messages_until([&] { return !form.submission.empty(); });
        EXPECT_EQ("OpenGL: no answer within 200 ms", status_part(form.controls().status_bar, status_message));
        EXPECT_EQ("First board", form.grid(page_id::dx_summary).cell(1, 0));
        EXPECT_NE(std::string::npos, form.submission.find("Device\tSecond board"));
        EXPECT_TRUE(form.capture_left_running());
    }
    // Let go, the probe ends alone, before the fake world it reads goes.
    held.set_value();
    for (int wait = 0; wait < 500 && token.use_count() > copies; ++wait) {
        Sleep(10);
    }
    EXPECT_EQ(copies, token.use_count());
}

}  // namespace

namespace {

// Whether a window's rectangle lies wholly in its parent's client area.
bool wholly_inside(HWND window, HWND parent) {
    const RECT area = rect_in(window, parent);
    RECT client{};
    GetClientRect(parent, &client);
    RECT both{};
    IntersectRect(&both, &area, &client);
    return EqualRect(&both, &area) != FALSE;
}

}  // namespace

// The Summary in a short or narrow window, light and dark: its grid wholly
// on the page below the tabs, a vertical bar only where its rows do not all
// fit (so every row can be scrolled to), and no horizontal bar.
TEST_F(Window, TheSummaryFitsEveryWindowSize) {
    for (const ui_theme theme : {ui_theme::light, ui_theme::dark}) {
        window_seams seams = world.seams();
        seams.theme = [theme] { return theme; };
        main_window form(seams);
        show(form);
        for (const SIZE size : {SIZE{1000, 430}, SIZE{640, 420}, SIZE{1000, 720}}) {
            SetWindowPos(form.handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            for (const page_id page : {page_id::dx_summary, page_id::vk_summary}) {
                SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy) + " " +
                             page_of(page).marker + (theme == ui_theme::dark ? " dark" : " light"));
                form.show_row(page, "");
                const summary_controls& summary = form.controls().group(page_of(page).group).summary;
                EXPECT_TRUE(wholly_inside(summary.grid, summary.panel));
                EXPECT_TRUE(wholly_inside(summary.panel, summary.sheet));
                const grid_model& model = form.grid(page);
                int rows = 0;
                for (int r = 0; r < model.row_count(); ++r) {
                    rows += scale_to(model.row_height(r), form.dpi());
                }
                RECT client{};
                GetClientRect(summary.grid, &client);
                const LONG style = GetWindowLongW(summary.grid, GWL_STYLE);
                EXPECT_EQ(rows > client.bottom, (style & WS_VSCROLL) != 0) << rows << " in " << client.bottom;
                EXPECT_EQ(0, style & WS_HSCROLL) << [&] {
                    RECT sheet{};
                    GetClientRect(summary.sheet, &sheet);
                    const RECT panel = rect_in(summary.panel, summary.sheet);
                    return std::to_string(sheet.right) + "x" + std::to_string(sheet.bottom) + " panel " +
                           std::to_string(panel.left) + "," + std::to_string(panel.top) + " " +
                           std::to_string(panel.right) + "," + std::to_string(panel.bottom) + " widths " +
                           std::to_string(model.column_width(0)) + "+" +
                           std::to_string(model.column_width(1));
                }();
                EXPECT_GE(client.bottom, scale_to(60, form.dpi()));
            }
        }
    }
}

// After a dialog, a message box or another window, the control that had
// the focus has it again; the grid of the page on show where that one went.
TEST_F(Window, FocusComesBackAfterADialog) {
    main_window form(world.seams());
    show(form);
    SetActiveWindow(form.handle());
    const auto dialog = [&] {
        HWND other = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     form.handle(), nullptr, nullptr, nullptr);
        SetActiveWindow(other);
        EXPECT_NE(form.handle(), GetActiveWindow());
        DestroyWindow(other);
        SetActiveWindow(form.handle());
    };
    HWND find = form.controls().find_box;
    SetFocus(find);
    dialog();
    EXPECT_EQ(find, GetFocus());
    form.show_row(page_id::dx_device, "Description");
    HWND device = form.grid_window(page_id::dx_device);
    EXPECT_EQ(device, GetFocus());
    dialog();
    EXPECT_EQ(device, GetFocus());
    // The frame itself given the focus hands it on.
    SetFocus(form.handle());
    EXPECT_EQ(device, GetFocus());
}

// Find in a comparison sees both values, only the rows "Differences only"
// leaves, and leaves nothing marked where nothing matches; the status bar's
// count of differences is the page's.
TEST_F(Window, FindAndDifferencesInAComparison) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string other = std::string(folder) + "cavio-window-other.json";
    {
        main_window live(world.seams());
        show(live);
        ASSERT_TRUE(live.save_report(other));
    }
    std::string text = read_text_file(other);
    const std::string width = "\"value\": \"4096\"";
    const size_t at = text.find(width, text.find("\"MaxTextureWidth\""));
    ASSERT_NE(std::string::npos, at);
    text.replace(at, width.size(), "\"value\": \"8191\"");
    write_text_file(other, text);
    main_window form(world.seams());
    show(form);
    ASSERT_TRUE(form.compare_with(other));
    const window_controls& c = form.controls();
    const grid_model& textures = form.grid(page_id::dx_textures);

    SetWindowTextA(c.find_box, "8191");  // the compared value only
    EXPECT_EQ("1 of 1 match", status_part(c.status_bar, status_find));
    EXPECT_EQ(textures.column_of(column_role::compared), textures.match.column);
    EXPECT_EQ("MaxTextureWidth", textures.cell(0, textures.match.row));
    SetWindowTextA(c.find_box, "8191x");
    EXPECT_EQ("No match", status_part(c.status_bar, status_find));
    EXPECT_EQ(-1, textures.match.row);

    // "First board" is on the Summary and the Device page, where nothing
    // differs: hidden there, it is not found.
    SetWindowTextA(c.find_box, "First board");
    EXPECT_EQ("1 of 2 matches", status_part(c.status_bar, status_find));
    SendMessageA(c.differences_only, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(id_differences_only, BN_CLICKED),
                 reinterpret_cast<LPARAM>(c.differences_only));
    EXPECT_EQ("No match", status_part(c.status_bar, status_find));

    SetWindowTextA(c.find_box, "");
    EXPECT_TRUE(form.translate_key(MSG{c.find_box, WM_KEYDOWN, VK_F8, 0, 0, {}}));
    EXPECT_EQ("Difference 1 of 1", status_part(c.status_bar, status_find));
    form.show_row(page_id::dx_device, "");
    EXPECT_EQ("No differences on this page", status_part(c.status_bar, status_find));
    form.show_row(page_id::dx_textures, "");
    EXPECT_EQ("1 difference on this page", status_part(c.status_bar, status_find));
    DeleteFileA(other.c_str());
}

// What a finished window does beside its big behaviours, one grid at a time:
// a Value column that leaves Description room, the names in view whatever Find shows, the filter's count per
// section, the matrix in a comparison, and tooltips in the dark theme.
TEST(GridFinish, LinksValuesNamesCountsComparisonsAndTips) {
    init_reference_data();
    HWND parent =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1000, 300, nullptr, nullptr, nullptr, nullptr);
    const auto grid_window = [&](grid_model& model) {
        HWND grid = create_grid(parent, &model, 1);
        MoveWindow(grid, 0, 0, 1000, 300, TRUE);
        grid_refresh(grid);
        return grid;
    };

    // A long value is cut where Description would have less than its readable width.
    const std::string long_text(400, 'v');
    const std::string long_description = std::string(100, 'd') + " needle";
    grid_model device = grid_of(page_id::vk_device,
                                [&](page_writer& page) { page.text("Long", long_text, long_description); });
    HWND device_grid = grid_window(device);
    const int value = device.column_of(column_role::value);
    RECT client{};
    GetClientRect(device_grid, &client);
    EXPECT_LE(device.column_width(0) + device.column_width(value) + readable_description_width,
              MulDiv(client.right, 96, window_dpi(device_grid)));
    // Find's mark far along the description: it is brought into view right of the names, which stay.
    const rendered_grid before(device_grid, 1000, 300);
    grid_show_match(device_grid, 1, column_role::description, long_description.size() - 6, 6);
    const int scrolled = GetScrollPos(device_grid, SB_HORZ);
    EXPECT_GT(scrolled, 0);
    // The row's name is drawn at the left as it was before the scroll.
    const rendered_grid after(device_grid, 1000, 300);
    int same = 0;
    int inked = 0;
    for (int y = 18; y < 34; ++y) {
        for (int x = 0; x < device.column_width(0) - 2; ++x) {
            same += after.pixel(x, y) == before.pixel(x, y) ? 1 : 0;
            inked += GetRValue(before.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(16 * (device.column_width(0) - 2), same);
    // Home brings the first columns back.
    SendMessageW(device_grid, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(0, GetScrollPos(device_grid, SB_HORZ));

    // The filter's count, per section of the page.
    const auto formats = [](const char* d3d9_value, const char* dxgi_bits) {
        report_page page{page_id::dx_formats, {}, {}};
        page_writer writer(page);
        writer.section("[Direct3D 9]", "");
        writer.row(row_kind::text, "D3DFMT_A8R8G8B8", d3d9_value, "Direct3D 9 format 21.");
        writer.row(row_kind::text, "D3DFMT_L8", "texture", "Direct3D 9 format 50.");
        writer.section("[Direct3D 11]", "");
        writer.row(row_kind::text, "DXGI_FORMAT_R8_UNORM", "texture 2D",
                   std::string("DXGI format 61; support bits ") + dxgi_bits + " and 0x00000000.");
        return page;
    };
    const report_page mine = formats("texture, filter", "0x00000020");
    const report_page theirs = formats("texture, render target", "0x00000020");
    grid_model matrix(page_of(page_id::dx_formats));
    matrix.show(&mine);
    const auto column_headed = [&](const char* header) {
        for (int c = 0; c < matrix.column_count(); ++c) {
            if (matrix.column(c).header == header) {
                return c;
            }
        }
        return -1;
    };
    matrix.set_filter({matrix.column(column_headed("2D")).mark});
    EXPECT_EQ("2 of 2 Direct3D 9 and 1 of 1 Direct3D 11 formats", matrix.filter_counts());
    matrix.set_filter({matrix.column(column_headed("Filter")).mark});
    EXPECT_EQ("1 of 2 Direct3D 9 and 0 of 1 Direct3D 11 formats", matrix.filter_counts());

    // Compared, the page stays a matrix: the cells that differ are marked,
    // a dash where only the other report's format can.
    matrix.set_filter({});
    matrix.show_compared(&mine, &theirs, false);
    EXPECT_TRUE(matrix.is_matrix());
    const int a8r8g8b8 = 2;
    ASSERT_EQ("D3DFMT_A8R8G8B8", matrix.cell(0, a8r8g8b8));
    EXPECT_EQ(format_mark, matrix.cell(column_headed("Filter"), a8r8g8b8));
    EXPECT_TRUE(matrix.mark_differs(column_headed("Filter"), a8r8g8b8));
    EXPECT_EQ(format_mark_other, matrix.cell(column_headed("Target"), a8r8g8b8));
    EXPECT_TRUE(matrix.mark_differs(column_headed("Target"), a8r8g8b8));
    EXPECT_EQ(format_mark, matrix.cell(column_headed("2D"), a8r8g8b8));
    EXPECT_FALSE(matrix.mark_differs(column_headed("2D"), a8r8g8b8));
    EXPECT_TRUE(decide_cell_style(cell_facts_at(matrix, column_headed("Filter"), a8r8g8b8)).background ==
                differs_color);
    EXPECT_FALSE(decide_cell_style(cell_facts_at(matrix, column_headed("2D"), a8r8g8b8)).background ==
                 differs_color);
    // Its filter asks the report shown.
    matrix.set_filter({matrix.column(column_headed("Filter")).mark});
    EXPECT_EQ("1 of 2 Direct3D 9 and 0 of 1 Direct3D 11 formats", matrix.filter_counts());

    // A tooltip in the dark theme is drawn in its colours.
    HWND tip =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
    set_active_theme(ui_theme::dark);
    theme_tooltip(tip);
    EXPECT_EQ(active_palette().window, static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)));
    EXPECT_EQ(active_palette().text, static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0)));
    set_active_theme(ui_theme::light);
    theme_tooltip(tip);
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)));
    DestroyWindow(parent);
}

// Tab goes from one link of the DirectX Summary to the next, and on from the last.
TEST_F(Window, TheSummaryLinksAreTabStops) {
    main_window form(world.seams());
    show(form);
    HWND links_grid = form.controls().directx.summary.grid;
    const grid_model& links = form.grid(page_id::dx_summary);
    EXPECT_NE(0, GetWindowLongW(links_grid, GWL_STYLE) & WS_TABSTOP);
    std::vector<int> link_rows;
    for (int r = 0; r < links.row_count(); ++r) {
        if (links.link(r) != nullptr) {
            link_rows.push_back(r);
        }
    }
    ASSERT_GE(link_rows.size(), 2u);
    grid_select_row(links_grid, link_rows[0]);
    MSG tab{links_grid, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    const auto wants_tab = [&] {
        return (SendMessageW(links_grid, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) &
                DLGC_WANTMESSAGE) != 0;
    };
    EXPECT_TRUE(wants_tab());
    SendMessageW(links_grid, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(link_rows[1], links.current_row);
    grid_select_row(links_grid, link_rows.back());
    EXPECT_FALSE(wants_tab());
}

// The program's own window takes input at once: its controls are there
// before it shows, the other pages' grids come when their page shows, and
// what is typed while the adapters are still listed aside is kept, and
// searched once they are in.
TEST_F(Window, TheProgramsWindowTakesInputAtOnce) {
    std::promise<void> held;
    const std::shared_future<void> gate = held.get_future().share();
    window_seams seams = world.seams();
    seams.capture.adapter_list = [gate] {
        gate.wait();
        fakes::direct3d_list list;
        list.add("First board", 0x501);
        list.add("Second board", 0x502);
        return std::optional(list.adapters);
    };
    main_window form(seams, true);
    const window_controls& c = form.controls();
    ASSERT_TRUE(IsWindow(c.find_box));
    EXPECT_NE(nullptr, c.directx.summary.grid);
    EXPECT_EQ(nullptr, c.directx.grids[1]);
    ShowWindow(form.handle(), SW_SHOW);
    run_messages_until([&] { return form.started; });
    EXPECT_EQ("Reading the adapter list\u2026", status_part(c.status_bar, status_message));
    EXPECT_TRUE(form.document().adapters.empty());
    // Typed into Find while the list is read: taken at once, and nothing yet to find.
    SetFocus(c.find_box);
    for (const char key : std::string("board")) {
        SendMessageW(c.find_box, WM_CHAR, static_cast<WPARAM>(key), 0);
    }
    EXPECT_EQ("board", text_of(c.find_box));
    EXPECT_EQ("No match", status_part(c.status_bar, status_find));
    EXPECT_EQ(c.find_box, GetFocus());
    // The list comes in: the search finds what it holds, the focus stays.
    held.set_value();
    run_messages_until([&] { return !form.document().adapters.empty(); });
    EXPECT_EQ(0u, status_part(c.status_bar, status_find).find("1 of "));
    EXPECT_EQ(c.find_box, GetFocus());
    form.finish_capture();
    EXPECT_TRUE(form.grid_window(page_id::dx_device) != nullptr);
    EXPECT_EQ(form.grid_window(page_id::dx_device), c.directx.grids[1]);
}
