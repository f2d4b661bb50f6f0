// The OpenGL probe's rules, on a fake OpenGL system.
#include "probe/gl_probe.h"

#include <gtest/gtest.h>

#include "probe/print_reason.h"

#include <array>
#include <functional>
#include <memory>

#include "base/reason.h"
#include "fakes/fake_gl.h"
#include "fakes/fake_probes.h"
#include "probe/gl_probe.h"
#include "probe/gl_extensions.h"
#include "probe/gl_limits.h"

namespace {

int extension_index(const char* name) {
    const auto known = known_extensions();
    for (size_t i = 0; i < known.size(); ++i) {
        if (std::strcmp(known[i].name, name) == 0) {
            return static_cast<int>(i);
        }
    }
    ADD_FAILURE() << name << " is not a known extension";
    return 0;
}

bool flag(const gl_record& record, const char* name) {
    return record.extension_flags[extension_index(name)];
}

class GlProbe : public ::testing::Test {
protected:
    fakes::gl_system gl;
    fakes::direct3d_list direct3d;

    GlProbe() {
        gl.typical();
        gl.add_monitor(0x501, 0, 0);
        gl.add_monitor(0x502, 1920, -200);
    }

    std::unique_ptr<gl_probe> probe() { return std::make_unique<gl_probe>(direct3d.adapters, gl.platform()); }

    // The probe's reasons on the fake system as it is now, and how many
    // records it read.
    std::pair<std::vector<said>, int> reasons() {
        const gl_probe list(direct3d.adapters, gl.platform());
        expect_nothing_left();
        return {said_of(list.reasons), list.count()};
    }

    void expect_nothing_left() {
        EXPECT_EQ(0, gl.windows_alive);
        EXPECT_EQ(0, gl.dcs_alive);
        EXPECT_EQ(0, gl.contexts_alive);
        EXPECT_EQ(nullptr, gl.current);
    }

    void TearDown() override {
        expect_nothing_left();
        EXPECT_EQ(0, gl.queries_without_context);
        EXPECT_EQ("", gl.call_order_fault());
    }
};

TEST_F(GlProbe, NoDirect3DAdapterMakesNoContext) {
    auto list = probe();
    EXPECT_EQ(0, list->count());
    EXPECT_TRUE(list->adapters.empty());
    EXPECT_TRUE(gl.window_bounds.empty());
    EXPECT_EQ(0, gl.contexts_created);
}

TEST_F(GlProbe, OneRecordPerAdapterOnADesktopMonitor) {
    direct3d.add("", 0x999);  // not on the desktop
    direct3d.add("", 0x502);
    direct3d.add("", 0x501);
    auto list = probe();
    ASSERT_EQ(2, list->count());
    EXPECT_EQ(reinterpret_cast<HMONITOR>(0x502), list->adapter(0).monitor);
    EXPECT_EQ(reinterpret_cast<HMONITOR>(0x501), list->adapter(1).monitor);
    // A 100 by 100 window at each monitor's top left corner.
    ASSERT_EQ(2u, gl.window_bounds.size());
    EXPECT_EQ(1920, gl.window_bounds[0].left);
    EXPECT_EQ(-200, gl.window_bounds[0].top);
    EXPECT_EQ(100, gl.window_bounds[0].right - gl.window_bounds[0].left);
    EXPECT_EQ(100, gl.window_bounds[0].bottom - gl.window_bounds[0].top);
    EXPECT_EQ(0, gl.window_bounds[1].left);
    EXPECT_EQ(2, gl.contexts_created);
}

TEST_F(GlProbe, IdenticalContextsGiveTwoRecords) {
    direct3d.add("", 0x501);
    direct3d.add("", 0x501);
    auto list = probe();
    ASSERT_EQ(2, list->count());
    EXPECT_EQ(list->adapter(0).renderer, list->adapter(1).renderer);
    EXPECT_EQ(reinterpret_cast<HMONITOR>(0x501), list->adapter(1).monitor);
}

TEST_F(GlProbe, PixelFormatIsADoubleBufferedRgbaWindowFormat) {
    direct3d.add("", 0x501);
    probe();
    ASSERT_EQ(1u, gl.formats_set.size());
    const PIXELFORMATDESCRIPTOR& format = gl.formats_set[0];
    EXPECT_EQ(40, format.nSize);
    EXPECT_EQ(1, format.nVersion);
    EXPECT_EQ(0x25u, format.dwFlags);
    EXPECT_EQ(PFD_TYPE_RGBA, format.iPixelType);
    EXPECT_EQ(0, format.cColorBits);
    EXPECT_EQ(16, format.cDepthBits);
    EXPECT_EQ(0, format.cStencilBits);
    EXPECT_EQ(PFD_MAIN_PLANE, format.iLayerType);
}

TEST_F(GlProbe, ReadsStringsLimitsAndFormats) {
    direct3d.add("", 0x501);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    const gl_record record = list->adapter(0);
    EXPECT_EQ("Fake Renderer", record.renderer);
    EXPECT_EQ("Fake Vendor", record.vendor);
    EXPECT_EQ("2.1.2 Fake 5.0", record.version_string);
    EXPECT_EQ("2.1.2", record.version);
    EXPECT_EQ(gl.gl_extensions, record.extensions);
    EXPECT_EQ("1.2.2.0 Fake GLU", record.glu_version_string);
    EXPECT_EQ("1.2.2.0", record.glu_version);
    EXPECT_EQ("GLU_EXT_object_space_tess", record.glu_extensions);
    EXPECT_EQ("1.20", record.shading_language_version);
    EXPECT_TRUE(record.double_buffer);
    EXPECT_FALSE(record.stereo);
    EXPECT_EQ(8, record.max_lights);
    EXPECT_EQ(4096, record.max_texture_size);
    EXPECT_EQ(8192, record.max_viewport_dims[0]);
    EXPECT_EQ(4096, record.max_viewport_dims[1]);
    EXPECT_EQ(15, record.max_texture_lod_bias);
    EXPECT_EQ(0.5f, record.line_width_range[0]);
    EXPECT_EQ(10.0f, record.line_width_range[1]);
    EXPECT_EQ(63.375f, record.point_size_range[1]);
    EXPECT_EQ(7.0f, record.aliased_line_width_range[1]);
    EXPECT_EQ(255.0f, record.aliased_point_size_range[1]);
    EXPECT_EQ(0.125f, record.line_width_granularity);
    // The smooth enumerants are the plain ones under another name.
    EXPECT_EQ(record.line_width_range, record.smooth_line_width_range);
    EXPECT_EQ(record.point_size_range, record.smooth_point_size_range);
    EXPECT_EQ(record.line_width_granularity, record.smooth_line_width_granularity);
    EXPECT_EQ(record.point_size_granularity, record.smooth_point_size_granularity);
    EXPECT_EQ(3, record.num_compressed_texture_formats);
    EXPECT_EQ((std::vector<int32_t>{0x83F0, 0x86B0, 0x83F3}), record.compressed_texture_formats);
}

TEST_F(GlProbe, NullStringsAndRejectedQueriesLeaveZeros) {
    gl.strings.clear();
    gl.glu_strings.clear();
    gl.integers.erase(GL_MAX_VERTEX_ATTRIBS);
    gl.integers.erase(GL_MAX_VARYING_FLOATS);
    gl.integers.erase(GL_NUM_COMPRESSED_TEXTURE_FORMATS);
    direct3d.add("", 0x501);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    const gl_record record = list->adapter(0);
    EXPECT_EQ("", record.renderer);
    EXPECT_EQ("", record.version_string);
    EXPECT_EQ("", record.version);
    EXPECT_EQ("", record.extensions);
    EXPECT_EQ("", record.glu_version);
    EXPECT_EQ("", record.shading_language_version);
    EXPECT_EQ(0, record.max_vertex_attribs);
    EXPECT_EQ(0, record.max_varying_floats);
    EXPECT_EQ(0, record.max_vertex_uniform_components);
    EXPECT_EQ(0, record.num_compressed_texture_formats);
    EXPECT_TRUE(record.compressed_texture_formats.empty());
    // The implementation's GL_INVALID_ENUM says which limits it did not answer.
    EXPECT_FALSE(record.answered(GL_MAX_VERTEX_ATTRIBS));
    EXPECT_FALSE(record.answered(GL_MAX_VARYING_FLOATS));
    EXPECT_TRUE(record.answered(GL_MAX_LIGHTS));
    // Only the WGL text is left to find extensions in.
    EXPECT_TRUE(flag(record, "WGL_ARB_pbuffer"));
    EXPECT_FALSE(flag(record, "GL_ARB_multitexture"));
}

TEST_F(GlProbe, NegativeCompressedFormatCountListsNothing) {
    gl.integers[GL_NUM_COMPRESSED_TEXTURE_FORMATS] = {-4};
    direct3d.add("", 0x501);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    EXPECT_EQ(0, list->adapter(0).num_compressed_texture_formats);
    EXPECT_TRUE(list->adapter(0).compressed_texture_formats.empty());
}

TEST_F(GlProbe, WithoutGluBothGluTextsAreEmpty) {
    gl.glu_present = false;
    direct3d.add("", 0x501);
    auto list = probe();
    ASSERT_EQ(1, list->count());
    EXPECT_EQ("", list->adapter(0).glu_version_string);
    EXPECT_EQ("", list->adapter(0).glu_version);
    EXPECT_EQ("", list->adapter(0).glu_extensions);
    EXPECT_EQ("Fake Renderer", list->adapter(0).renderer);

    gl.glu_present = true;
    gl.missing_entries = {"gluGetString"};
    list = probe();
    EXPECT_EQ("", list->adapter(0).glu_version_string);
}

TEST_F(GlProbe, WglExtensionsComeFromTheWglTextOnly) {
    direct3d.add("", 0x501);
    auto list = probe();
    const gl_record record = list->adapter(0);
    EXPECT_TRUE(flag(record, "WGL_ARB_pbuffer"));
    EXPECT_TRUE(flag(record, "WGL_EXT_swap_control"));
    EXPECT_FALSE(flag(record, "WGL_ARB_pixel_format"));
    EXPECT_TRUE(flag(record, "GL_ARB_multitexture"));
    // Found only as the beginning of longer names.
    EXPECT_FALSE(flag(record, "GL_EXT_texture"));
    EXPECT_FALSE(flag(record, "GL_ARB_shadow"));
    EXPECT_TRUE(flag(record, "GL_EXT_texture3D"));
    // No EXT entry point at load: the ARB one is asked, once per context.
    EXPECT_EQ(1, gl.arb_string_calls);
    EXPECT_EQ(gl.gl_extensions, record.extensions);
}

TEST_F(GlProbe, WglExtEntryPointFoundAtLoadIsPreferred) {
    gl.ext_string_exported = true;
    direct3d.add("", 0x501);
    auto list = probe();
    EXPECT_TRUE(flag(list->adapter(0), "WGL_ARB_pbuffer"));
    EXPECT_EQ(0, gl.arb_string_calls);
}

TEST_F(GlProbe, WithoutAnyWglEntryPointOnlyTheGlTextCounts) {
    gl.arb_string = false;
    direct3d.add("", 0x501);
    auto list = probe();
    EXPECT_FALSE(flag(list->adapter(0), "WGL_ARB_pbuffer"));
    EXPECT_TRUE(flag(list->adapter(0), "GL_ARB_multitexture"));
}

// A monitor whose context fails is a reason of its adapter; the other
// monitor keeps its record, and nothing is left behind.
TEST_F(GlProbe, EachFailureIsAReasonAndTheOtherMonitorKeepsItsRecord) {
    direct3d.add("", 0x501);
    direct3d.add("", 0x502);
    const std::pair<bool fakes::gl_system::*, const char*> failures[] = {
        {&fakes::gl_system::fail_get_dc, "no device context"},
        {&fakes::gl_system::fail_set_pixel_format, "no pixel format"},
        {&fakes::gl_system::fail_create_context, "no rendering context"},
        {&fakes::gl_system::fail_make_current, "wglMakeCurrent failed"},
    };
    for (const auto& [failure, words] : failures) {
        for (const int before : {0, 1}) {
            SCOPED_TRACE(std::string(words) + " after " + std::to_string(before));
            gl.contexts_before_failure = before;
            gl.contexts_created = 0;
            gl.*failure = true;
            const auto [found, count] = reasons();
            gl.*failure = false;
            // From the first context on, or from the second: the first
            // monitor's record stays.
            const said second{1, "OpenGL: " + std::string(words) + " on \\\\.\\DISPLAY2"};
            if (before == 0) {
                EXPECT_EQ(0, count);
                EXPECT_EQ(
                    (std::vector<said>{{0, "OpenGL: " + std::string(words) + " on \\\\.\\DISPLAY1"}, second}),
                    found);
            } else {
                EXPECT_EQ(1, count);
                EXPECT_EQ(std::vector<said>{second}, found);
            }
        }
    }
}

TEST_F(GlProbe, MissingOpenGLAndTheDesktopAreReasons) {
    direct3d.add("", 0x501);
    direct3d.add("", 0x999);  // not on the desktop
    EXPECT_EQ((std::vector<said>{{1, "OpenGL: the adapter shows on no desktop monitor"}}), reasons().first);
    gl.opengl_present = false;
    EXPECT_EQ((std::vector<said>{{-1, "OpenGL: OpenGL32.dll is missing"}}), reasons().first);
    gl.opengl_present = true;
    gl.missing_entries = {"wglCreateContext"};
    EXPECT_EQ((std::vector<said>{{-1, "OpenGL: OpenGL32.dll has no wglCreateContext"}}), reasons().first);
    gl.missing_entries = {"glGetIntegerv"};
    EXPECT_EQ("OpenGL: no glGetIntegerv on \\\\.\\DISPLAY1", reasons().first.at(0).text);
}

// The core-profile context: each rule that keeps it from being made is a
// reason of its own and leaves the first context's record whole; made, it
// is asked each limit its version or extensions have, and no other.
TEST_F(GlProbe, TheCoreProfileContextAndWhatKeepsItFromBeingMade) {
    using enum gl_answer;
    struct rule {
        const char* what;
        std::function<void(fakes::gl_system&)> set;
        std::string reason;  // after "OpenGL: no core-profile context on \\.\DISPLAY1 "
        std::vector<int> versions_asked;
        // GL_MAX_VERTEX_ATTRIB_STRIDE (4.4), GL_MAX_TEXTURE_MAX_ANISOTROPY (4.6
        // or an extension), GL_MAX_COMPUTE_WORK_GROUP_SIZE (4.3, refused below).
        std::array<gl_answer, 3> answers;
    };
    const rule rules[] = {
        {"no WGL_ARB_create_context_profile",
         [](fakes::gl_system& g) { g.wgl_extensions = "WGL_ARB_pbuffer WGL_ARB_create_context"; },
         "(the driver offers no WGL_ARB_create_context_profile)",
         {},
         {}},
        {"no wglCreateContextAttribsARB",
         [](fakes::gl_system& g) { g.missing_entries = {"wglCreateContextAttribsARB"}; },
         "(no wglCreateContextAttribsARB)",
         {},
         {}},
        {"every version refused",
         [](fakes::gl_system& g) { g.core_version = 0; },
         "(no version from 4.6 down to 3.2 accepted)",
         {46, 45, 44, 43, 42, 41, 40, 33, 32},
         {}},
        {"4.5", [](fakes::gl_system&) {}, "", {46, 45}, {answered, not_supported, not_available}},
        {"4.3 with the anisotropy extension",
         [](fakes::gl_system& g) {
             g.core_version = 43;
             g.core_extensions.push_back("GL_EXT_texture_filter_anisotropic");
         },
         "",
         {46, 45, 44, 43},
         {not_supported, answered, not_available}},
    };
    direct3d.add("", 0x501);
    for (const rule& r : rules) {
        SCOPED_TRACE(r.what);
        fakes::gl_system g;
        g.typical();
        g.add_monitor(0x501, 0, 0);
        g.answer_from_enumerant = true;
        g.refusals = {GL_MAX_COMPUTE_WORK_GROUP_SIZE};
        r.set(g);
        const gl_probe list(direct3d.adapters, g.platform());
        EXPECT_EQ(0, g.contexts_alive);
        EXPECT_EQ(nullptr, g.current);
        EXPECT_EQ("", g.call_order_fault());
        EXPECT_EQ(r.versions_asked, g.versions_asked);
        ASSERT_EQ(1, list.count());
        const gl_record& record = list.adapters[0];
        EXPECT_EQ("Fake Renderer", record.renderer);
        EXPECT_EQ(r.reason.empty(), record.core.made);
        if (!r.reason.empty()) {
            EXPECT_EQ(
                (std::vector<said>{{0, "OpenGL: no core-profile context on \\\\.\\DISPLAY1 " + r.reason}}),
                said_of(list.reasons));
            continue;
        }
        EXPECT_TRUE(list.reasons.empty());
        EXPECT_EQ("4.5 (Core Profile) Fake 5.0", record.core.version_string);
        EXPECT_EQ(g.core_extensions, record.core.extensions);
        const auto answer = [&](const char* name) {
            return record.core.limits.at(gl_limit_index(name)).answer;
        };
        EXPECT_EQ(r.answers, (std::array<gl_answer, 3>{answer("GL_MAX_VERTEX_ATTRIB_STRIDE"),
                                                       answer("GL_MAX_TEXTURE_MAX_ANISOTROPY"),
                                                       answer("GL_MAX_COMPUTE_WORK_GROUP_SIZE")}));
        // The same enumerant as the first context, asked again: the core profile's own answer.
        const gl_core_value& lod_bias = record.core.limits[gl_limit_index("GL_MAX_TEXTURE_LOD_BIAS")];
        EXPECT_EQ(GL_MAX_TEXTURE_LOD_BIAS + 0.25f, lod_bias.reals[0]);
        const gl_core_value& count = record.core.limits[gl_limit_index("GL_MAX_COMPUTE_WORK_GROUP_COUNT")];
        EXPECT_EQ((std::array<int64_t, 3>{0x91BE, 0x191BE, 0x291BE}), count.integers);
        // Limits of the first context alone are not asked again.
        EXPECT_EQ(not_supported, answer("GL_MAX_LIGHTS"));
    }
    // Without the core-profile context, nothing of it is tried.
    fakes::gl_system g;
    g.typical();
    g.add_monitor(0x501, 0, 0);
    const gl_probe list(direct3d.adapters, g.platform(), false);
    EXPECT_TRUE(g.versions_asked.empty());
    EXPECT_FALSE(list.adapters.at(0).core.made);
    EXPECT_TRUE(list.reasons.empty());
}

TEST_F(GlProbe, MissingOpenGLIsNoErrorWhenNoContextIsNeeded) {
    gl.opengl_present = false;
    direct3d.add("", 0x999);
    EXPECT_EQ(0, probe()->count());
}

TEST(ExtensionWords, ExactBlankSeparatedWordsOnly) {
    EXPECT_TRUE(has_extension_word("GL_A GL_B", "GL_B"));  // the last word
    EXPECT_TRUE(has_extension_word("GL_A GL_B", "GL_A"));
    EXPECT_TRUE(has_extension_word("GL_B", "GL_B"));
    EXPECT_TRUE(has_extension_word("  GL_A  GL_B ", "GL_B"));
    EXPECT_TRUE(has_extension_word("GL_A\tGL_B\r\nGL_C", "GL_B"));
    EXPECT_FALSE(has_extension_word("GL_ARB_shadow_ambient", "GL_ARB_shadow"));
    EXPECT_FALSE(has_extension_word("XGL_ARB_shadow", "GL_ARB_shadow"));
    EXPECT_FALSE(has_extension_word("", "GL_A"));
    EXPECT_FALSE(has_extension_word("GL_A", ""));
    EXPECT_FALSE(has_extension_word("gl_arb_shadow", "GL_ARB_shadow"));
    // Three names that only a whole-word match tells apart from longer ones.
    EXPECT_FALSE(has_extension_word("GL_EXT_texture3D GL_ARB_multitexture", "GL_EXT_texture"));
    EXPECT_TRUE(has_extension_word("GL_EXT_texture3D GL_ARB_multitexture", "GL_EXT_texture3D"));
    EXPECT_TRUE(has_extension_word("GL_EXT_texture3D GL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_TRUE(has_extension_word("GL_EXT_texture_cube_map GL_EXT_texture", "GL_EXT_texture"));
    EXPECT_FALSE(has_extension_word("GL_EXT_texture2 GL_EXT_texture.x", "GL_EXT_texture"));
}

TEST(KnownExtensions, GroupsNamesAndDisplayNames) {
    const auto groups = known_extension_groups();
    ASSERT_EQ(22u, groups.size());
    EXPECT_STREQ("3DFX", groups.front().tag);
    EXPECT_STREQ("WIN", groups.back().tag);
    EXPECT_STREQ("", groups[6].description);  // I3D
    EXPECT_STREQ("NVIDIA", groups[11].description);
    size_t total = 0;
    int differing = 0;
    for (const auto& group : groups) {
        for (const auto& extension : group_extensions(group)) {
            ++total;
            if (std::strcmp(extension.name, extension.display_name) != 0) {
                ++differing;
                EXPECT_EQ(0, _stricmp(extension.name, extension.display_name)) << extension.name;
            }
        }
    }
    EXPECT_EQ(287u, total);
    EXPECT_EQ(3, differing);
    EXPECT_STREQ("GL_EXT_texture3d", known_extensions()[extension_index("GL_EXT_texture3D")].display_name);
    EXPECT_STREQ("GL_FfdMaskSGIx", known_extensions()[extension_index("GL_FfdMaskSGIX")].display_name);
    EXPECT_STREQ("WIN_swap_hint", known_extensions().back().name);
}

}  // namespace
