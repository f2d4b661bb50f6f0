// The OpenGL names of the pages against the Khronos XML registry, an
// independent witness: every known extension is a registered one, and every
// limit row shows the value of the enumerant that the registry calls by the
// row's name.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_gl.h"
#include "fakes/fake_probes.h"
#include "probe/gl_probe.h"
#include "platform/text_file.h"
#include "probe/gl_extensions.h"
#include "probe/gl_limits.h"
#include "refdata/format_names.h"
#include "refdata/pci_names.h"
#include "report/report_builder.h"

namespace {

// Known extensions that the registry lacks, each with the reason.
const std::map<std::string, std::string> unregistered = {
    {"GL_EXT_color_matrix", "registered as GL_SGI_color_matrix; some drivers report the EXT name"},
    {"GL_EXT_texture_edge_clamp",
     "registered as GL_SGIS_texture_edge_clamp; some drivers report the EXT name"},
    {"GL_EXT_texture_rectangle", "Apple's name, never registered; the ARB and NV ones are"},
    {"GL_INGR_palette_buffer", "Intergraph's, never registered"},
    {"GL_INTEL_texture_scissor", "Intel's, never registered"},
    {"GL_SGI_depth_pass_instrument", "registered as GL_SGIX_depth_pass_instrument"},
    {"GL_FfdMaskSGIX", "the registry's name of a bitmask group of GL_SGIX_polynomial_ffd, not an extension"},
    {"GL_SGIX_fog_scale", "left incomplete; the registry only reserves its enumerants"},
    {"GL_SGIX_impact_pixel_texture", "SGI's, never registered"},
    {"GL_SGIX_texture_select", "registered as GL_SGIS_texture_select"},
    {"WIN_draw_range_elements", "Microsoft's own, never registered"},
    {"WIN_swap_hint", "Microsoft's own, never registered"},
};

// What the test needs of gl.xml and wgl.xml.
struct registry {
    std::set<std::string> extensions;
    std::multimap<uint64_t, std::string> names_by_value;
    std::map<std::string, uint64_t> value_by_name;
    // The first OpenGL version that requires each enumerant, as 43 for 4.3,
    // and the enumerants each extension requires.
    std::map<std::string, int> first_version;
    std::map<std::string, std::set<std::string>> required_by;

    bool names(uint64_t value, const std::string& name) const {
        const auto [begin, end] = names_by_value.equal_range(value);
        for (auto it = begin; it != end; ++it) {
            if (it->second == name) {
                return true;
            }
        }
        return false;
    }
};

std::string attribute(const std::string& tag, const char* name) {
    const std::string key = std::string(" ") + name + "=\"";
    const size_t start = tag.find(key);
    if (start == std::string::npos) {
        return "";
    }
    const size_t from = start + key.size();
    return tag.substr(from, tag.find('"', from) - from);
}

void read_registry_file(const std::string& path, registry& out) {
    std::string text = read_text_file(path);
    ASSERT_FALSE(text.empty()) << "cannot read " << path;
    // Comments hold enumerants that were never assigned.
    for (size_t open = text.find("<!--"); open != std::string::npos; open = text.find("<!--", open)) {
        text.erase(open, text.find("-->", open) + 3 - open);
    }
    int version = 0;        // of the OpenGL feature being read
    std::string extension;  // being read
    bool removing = false;
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        const std::string tag = text.substr(at, text.find('>', at) - at);
        if (tag.starts_with("<feature ")) {
            const std::string number = attribute(tag, "number");
            version = attribute(tag, "api") == "gl" ? (number[0] - '0') * 10 + (number[2] - '0') : 0;
        } else if (tag.starts_with("</feature") || tag.starts_with("</extension")) {
            version = 0;
            extension.clear();
        } else if (tag.starts_with("<remove")) {
            removing = true;
        } else if (tag.starts_with("</remove")) {
            removing = false;
        }
        if (tag.starts_with("<enum ") && attribute(tag, "value").empty() && !removing) {
            if (version != 0) {
                out.first_version.emplace(attribute(tag, "name"), version);
            } else if (!extension.empty()) {
                out.required_by[extension].insert(attribute(tag, "name"));
            }
        }
        if (tag.starts_with("<extension ")) {
            out.extensions.insert(attribute(tag, "name"));
            extension = tag.ends_with("/") ? "" : attribute(tag, "name");
        } else if (tag.starts_with("<enum ")) {
            const std::string value = attribute(tag, "value");
            if (value.starts_with("0x")) {
                const uint64_t number = std::stoull(value, nullptr, 16);
                out.names_by_value.emplace(number, attribute(tag, "name"));
                out.value_by_name.emplace(attribute(tag, "name"), number);
            }
        }
    }
}

const registry& khronos() {
    static const registry loaded = [] {
        registry r;
        read_registry_file(std::string(CAVIO_KHRONOS_REGISTRY) + "/gl.xml", r);
        read_registry_file(std::string(CAVIO_KHRONOS_REGISTRY) + "/wgl.xml", r);
        return r;
    }();
    return loaded;
}

TEST(KhronosRegistry, EveryKnownExtensionIsRegisteredOrListedWithItsReason) {
    ASSERT_GT(khronos().extensions.size(), 500u);
    for (const gl_extension& extension : known_extensions()) {
        const bool registered = khronos().extensions.count(extension.name) != 0;
        const bool excused = unregistered.count(extension.name) != 0;
        EXPECT_NE(registered, excused)
            << extension.name
            << (registered ? " is registered: take it off the list" : " is not a registered extension");
    }
}

TEST(KhronosRegistry, EveryLimitOfTheTableIsTheEnumerantOfItsName) {
    for (const gl_limit& limit : gl_limits) {
        EXPECT_TRUE(khronos().names(limit.enumerant, limit.name))
            << limit.name << " is not " << limit.enumerant;
    }
}

// Each limit the core-profile context is asked is gated by the version that
// brought its enumerant and by an extension that requires an enumerant of
// its value.
TEST(KhronosRegistry, EachCoreLimitIsGatedByItsVersionAndExtension) {
    int gated = 0;
    for (const gl_limit& limit : gl_limits) {
        if (!limit.core) {
            continue;
        }
        SCOPED_TRACE(limit.name);
        const auto first = khronos().first_version.find(limit.name);
        EXPECT_EQ(first != khronos().first_version.end() ? first->second : 0, static_cast<int>(limit.since));
        if (limit.extension != nullptr) {
            ASSERT_EQ(1u, khronos().extensions.count(limit.extension))
                << limit.extension << " is not registered";
            const auto required = khronos().required_by.find(limit.extension);
            ASSERT_NE(khronos().required_by.end(), required) << limit.extension << " requires no enumerant";
            EXPECT_TRUE(
                std::any_of(required->second.begin(), required->second.end(),
                            [&](const std::string& name) { return khronos().names(limit.enumerant, name); }))
                << limit.extension << " brings no enumerant " << limit.enumerant;
        }
        ++gated;
    }
    EXPECT_GT(gated, 150);
}

TEST(KhronosRegistry, CompressionRowsNameTheirFormatValues) {
    for (const compressed_format& format : compressed_formats()) {
        EXPECT_TRUE(khronos().names(format.value, format.name)) << format.name;
    }
}

// The OpenGL pages of one context on a fake system in which every integer
// and float enumerant answers with its own value.
class LimitRows : public ::testing::Test {
protected:
    fakes::direct3d_list direct3d;

    LimitRows() {
        init_reference_data();
        direct3d.add("Board", 0x501);
    }

    // The limit rows of the pages filled from a capture on gl: name, value.
    std::vector<std::pair<std::string, std::string>> limit_rows(fakes::gl_system& gl) {
        gl.add_monitor(0x501, 0, 0);
        gl.answer_from_enumerant = true;
        const gl_probe probe(direct3d.adapters, gl.platform());
        EXPECT_EQ(1, probe.count());
        std::vector<std::pair<std::string, std::string>> rows;
        for (const page_id id : {page_id::gl_capabilities, page_id::gl_rendering, page_id::gl_textures,
                                 page_id::gl_stacks, page_id::gl_vertex_shader}) {
            for (const report_row& row : write_page(page_of(id), probe.adapter(0)).rows) {
                if (row.name == "[Compressions]") {
                    break;
                }
                if (row.name.starts_with("GL_")) {
                    rows.emplace_back(row.name, row.value);
                }
            }
        }
        return rows;
    }
};

TEST_F(LimitRows, EachShowsTheEnumerantOfItsName) {
    fakes::gl_system gl;
    int numbers = 0;
    for (const auto& [name, value] : limit_rows(gl)) {
        if (value == "yes" || value == "no" || value == "not available") {
            continue;  // booleans, which the fake answers only where told: below
        }
        // The enumerant is the whole part of the first number shown.
        const auto enumerant = static_cast<uint64_t>(std::floor(std::stod(value)));
        const auto found = khronos().names_by_value.find(enumerant);
        EXPECT_TRUE(khronos().names(enumerant, name))
            << name << " shows " << value << ", the answer to "
            << (found != khronos().names_by_value.end() ? found->second : "no registered enumerant");
        ++numbers;
    }
    EXPECT_EQ(41, numbers);
}

// The Core limits page of a 4.6 context with every gating extension: each
// number shown is the enumerant of its row's name (x, y and z of a triple
// come apart by 0x10000 in the fake).
TEST_F(LimitRows, EachCoreLimitShowsTheEnumerantOfItsName) {
    fakes::gl_system gl;
    gl.wgl_extensions = "WGL_ARB_create_context WGL_ARB_create_context_profile";
    gl.add_monitor(0x501, 0, 0);
    gl.answer_from_enumerant = true;
    gl.core_version = 46;
    for (const gl_limit& limit : gl_limits) {
        if (limit.extension != nullptr) {
            gl.core_extensions.push_back(limit.extension);
        }
    }
    const gl_probe probe(direct3d.adapters, gl.platform());
    int numbers = 0;
    for (const report_row& row : write_page(page_of(page_id::gl_core_limits), probe.adapter(0)).rows) {
        // The strings, the booleans and the named values; the version and the
        // count of extensions, which the context answers of itself.
        if (!row.name.starts_with("GL_") || row.kind != row_kind::number || row.name == "GL_MAJOR_VERSION" ||
            row.name == "GL_MINOR_VERSION" || row.name == "GL_NUM_EXTENSIONS") {
            continue;
        }
        const auto enumerant = static_cast<uint64_t>(std::floor(std::stod(row.value)));
        EXPECT_TRUE(khronos().names(enumerant, row.name)) << row.name << " shows " << row.value;
        ++numbers;
    }
    EXPECT_GT(numbers, 150);
}

TEST_F(LimitRows, EachBooleanRowShowsTheEnumerantOfItsName) {
    std::set<GLenum> asked;
    {
        fakes::gl_system gl;
        limit_rows(gl);
        for (const std::string& call : gl.calls) {
            if (call.starts_with("glGetBooleanv ")) {
                asked.insert(static_cast<GLenum>(std::stoul(call.substr(14))));
            }
        }
    }
    ASSERT_EQ(2u, asked.size());
    // One enumerant true at a time: exactly the row of its name says yes.
    for (const GLenum enumerant : asked) {
        fakes::gl_system gl;
        gl.booleans[enumerant] = {GL_TRUE};
        std::vector<std::string> yes;
        for (const auto& [name, value] : limit_rows(gl)) {
            if (value == "yes") {
                yes.push_back(name);
            }
        }
        ASSERT_EQ(1u, yes.size()) << "enumerant " << enumerant;
        EXPECT_TRUE(khronos().names(enumerant, yes[0])) << yes[0] << " shows enumerant " << enumerant;
    }
}

}  // namespace
