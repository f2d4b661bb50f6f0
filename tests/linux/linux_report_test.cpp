// cavio-report on Linux against the platform itself, natively and without
// Wine: the Vulkan pages against the Vulkan API asked by the test and
// against vulkaninfo --json; the OpenGL record and pages against an EGL
// context the test makes, and through GLX against a GLX one (on an X
// display); the JSON read back by the viewer's reader; the
// program's options and exit codes.
#include <gtest/gtest.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glx.h>
#include <GL/glxext.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>

#include "base/os_platform.h"
#include "probe/gl_limits.h"
#include "probe/gl_probe_linux.h"
#include "probe/vk_own.h"
#include "probe/vk_probe.h"
#include "refdata/pci_names.h"
#include "report/device_report.h"
#include "report/report_json.h"

namespace {

struct linux_capture {
    vk_records vulkan;
    gl_records opengl;
    report_document document;
};

// One capture for the whole test program, as cavio-report makes it.
const linux_capture& capture() {
    static const linux_capture once = [] {
        init_reference_data();
        linux_capture made;
        vk_probe probe;
        made.vulkan = probe.take();
        made.opengl = read_egl_opengl();
        made.document = build_device_report(made.vulkan, made.opengl);
        return made;
    }();
    return once;
}

// Runs cavio-report with arguments (in the environment before, where given):
// its exit status and what it said on standard error.
std::pair<int, std::string> run_report(const std::string& arguments, const std::string& environment = {}) {
    const std::filesystem::path said = std::filesystem::temp_directory_path() / "cavio-linux-said.txt";
    const int status = std::system(
        (environment + " " + CAVIO_LINUX_REPORT + " " + arguments + " >/dev/null 2>" + said.string())
            .c_str());
    std::ifstream in(said);
    std::stringstream text;
    text << in.rdbuf();
    return {WEXITSTATUS(status), text.str()};
}

// Every Vulkan device is an adapter, in Vulkan's order, and its pages say
// what Vulkan itself says of it.
TEST(LinuxVulkan, EveryPageIsWhatVulkanSays) {
    const vk_own::own_vulkan vk;
    const linux_capture& read = capture();
    if (vk.instance == VK_NULL_HANDLE) {
        EXPECT_TRUE(read.vulkan.devices.empty());
        EXPECT_FALSE(read.vulkan.reasons.empty()) << "no Vulkan, and no reason given";
        GTEST_SKIP() << "no Vulkan instance here";
    }
    EXPECT_EQ(vk.version, read.vulkan.instance.api_version);
    ASSERT_EQ(vk.devices.size(), read.vulkan.devices.size());
    ASSERT_LE(vk.devices.size(), read.document.adapters.size());
    for (size_t d = 0; d < vk.devices.size(); ++d) {
        SCOPED_TRACE("device " + std::to_string(d));
        const adapter_report& adapter = read.document.adapters[d];
        const VkPhysicalDeviceProperties& properties = read.vulkan.devices[d].properties;
        // Named from the PCI list where it knows the IDs, else as the driver names it.
        const std::string gpu = gpu_name_of(properties.vendorID, properties.deviceID);
        EXPECT_EQ(gpu.empty() ? std::string(properties.deviceName) : gpu,
                  gpu.empty() ? adapter.description
                              : adapter.description.substr(adapter.description.size() - gpu.size()));
        EXPECT_TRUE(adapter.group(page_group::directx).pages.empty());
        vk_own::expect_pages_as_vulkan_says(vk, vk.devices[d], read.vulkan.devices[d], adapter);
    }
}

// A raw member's bytes as a value.
template <typename value>
value read_as(const std::byte* at) {
    value read;
    std::memcpy(&read, at, sizeof read);
    return read;
}

// A raw member as vulkaninfo --json writes it: numbers, arrays of them,
// booleans, and bitmasks of sample counts as the names of their bits.
nlohmann::json as_vulkaninfo(const vk_field& field, const std::byte* structure) {
    const std::byte* at = structure + field.offset;
    const auto many = [&](auto one, size_t width) {
        nlohmann::json values = nlohmann::json::array();
        for (size_t i = 0; i < field.size / width; ++i) {
            values.push_back(one(at + i * width));
        }
        return values.size() == 1 ? values[0] : values;
    };
    const auto u32 = read_as<uint32_t>;
    switch (field.kind) {
        case vk_kind::number:
            return many(u32, 4);
        case vk_kind::signed_number:
            return many(read_as<int32_t>, 4);
        case vk_kind::real:
            return many(read_as<float>, 4);
        case vk_kind::size:
            return field.size == 8 ? nlohmann::json(read_as<uint64_t>(at)) : nlohmann::json(u32(at));
        case vk_kind::yes_no:
            return u32(at) != 0;
        case vk_kind::sample_counts: {
            nlohmann::json bits = nlohmann::json::array();
            for (uint32_t bit = 0; bit < 32; ++bit) {
                if ((u32(at) >> bit) & 1) {
                    bits.push_back("VK_SAMPLE_COUNT_" + std::to_string(1u << bit) + "_BIT");
                }
            }
            return bits;
        }
        default:
            return nullptr;  // not compared
    }
}

// The limits and every features structure of the first device against what
// vulkaninfo --json says of it, field by field.
TEST(LinuxVulkan, LimitsAndFeaturesAreWhatVulkaninfoSays) {
    const linux_capture& read = capture();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "cavio-vulkaninfo";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string command = "cd '" + folder.string() + "' && vulkaninfo --json=0 >/dev/null 2>&1";
    if (read.vulkan.devices.empty() || std::system(command.c_str()) != 0) {
        GTEST_SKIP() << "no vulkaninfo or no Vulkan device here";
    }
    nlohmann::json info;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream(entry.path()) >> info;
    }
    ASSERT_TRUE(info.contains("capabilities"));
    const nlohmann::json& device = info["capabilities"]["device"];
    const vk_device_record& record = read.vulkan.devices[0];
    const std::pair<vk_structure, const nlohmann::json*> compared[] = {
        {vk_structure::limits, &device["properties"]["VkPhysicalDeviceProperties"]["limits"]},
        {vk_structure::features, &device["features"]["VkPhysicalDeviceFeatures"]},
        {vk_structure::features11, &device["features"]["VkPhysicalDeviceVulkan11Features"]},
        {vk_structure::features12, &device["features"]["VkPhysicalDeviceVulkan12Features"]},
        {vk_structure::features13, &device["features"]["VkPhysicalDeviceVulkan13Features"]},
    };
    size_t shown = 0;
    size_t equal = 0;
    for (const vk_table& table : vk_rows::page_tables()) {
        for (const auto& [structure, answer] : compared) {
            const std::byte* bytes = structure_of(record, structure);
            if (table.structure != structure || bytes == nullptr || answer->is_null()) {
                continue;
            }
            for (const vk_field& field : table.fields) {
                const nlohmann::json ours = as_vulkaninfo(field, bytes);
                if (ours.is_null() || !answer->contains(field.name)) {
                    continue;
                }
                ++shown;
                equal += ours == (*answer)[field.name] ? 1 : 0;
                EXPECT_EQ((*answer)[field.name], ours) << table.section << "." << field.name;
            }
        }
    }
    std::printf("vulkaninfo --json: %zu limits and features compared, %zu equal\n", shown, equal);
    EXPECT_GT(shown, 150u);
}

// The test's own EGL context on the default display, surfaceless; the
// first as the driver gives it, or the core profile at 3.2 or later.
class own_context {
public:
    explicit own_context(bool core) {
        // Mesa's surfaceless platform needs no display server, as the probe's.
        display_ = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY) {
            display_ = eglGetDisplay(EGL_DEFAULT_DISPLAY);
        }
        if (display_ == EGL_NO_DISPLAY || eglInitialize(display_, nullptr, nullptr) != EGL_TRUE ||
            eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
            return;
        }
        const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_NONE};
        EGLConfig config = nullptr;
        EGLint count = 0;
        eglChooseConfig(display_, wanted, &config, 1, &count);
        const EGLint core_profile[] = {EGL_CONTEXT_MAJOR_VERSION,
                                       3,
                                       EGL_CONTEXT_MINOR_VERSION,
                                       2,
                                       EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                       EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                       EGL_NONE};
        context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, core ? core_profile : nullptr);
        made = context_ != EGL_NO_CONTEXT &&
               eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE;
    }
    ~own_context() {
        if (context_ != EGL_NO_CONTEXT) {
            eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            eglDestroyContext(display_, context_);
        }
    }
    own_context(const own_context&) = delete;
    own_context& operator=(const own_context&) = delete;
    bool made = false;

private:
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
};

std::string gl_text(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text != nullptr ? text : "";
}

// The record's strings, extensions and every limit the first context reads
// are what the current context answers.
void expect_first_context_is_current(const gl_record& record) {
    EXPECT_EQ(gl_text(GL_RENDERER), record.renderer);
    EXPECT_EQ(gl_text(GL_VERSION), record.version_string);
    EXPECT_EQ(gl_text(GL_EXTENSIONS), record.extensions);
    size_t limits = 0;
    for (const gl_limit& limit : gl_limits) {
        if (!limit.legacy()) {
            continue;
        }
        ++limits;
        GLint integers[16] = {};
        GLfloat reals[16] = {};
        GLboolean flags[16] = {};
        glGetError();
        switch (limit.kind) {
            case gl_limit_kind::boolean:
                glGetBooleanv(limit.enumerant, flags);
                EXPECT_EQ(flags[0] != GL_FALSE, record.*limit.boolean) << limit.name;
                break;
            case gl_limit_kind::integer:
                glGetIntegerv(limit.enumerant, integers);
                EXPECT_EQ(integers[0], record.*limit.integer) << limit.name;
                break;
            case gl_limit_kind::integer_pair:
                glGetIntegerv(limit.enumerant, integers);
                EXPECT_EQ((std::array<int32_t, 2>{integers[0], integers[1]}), record.*limit.integer_pair)
                    << limit.name;
                break;
            case gl_limit_kind::real:
                glGetFloatv(limit.enumerant, reals);
                EXPECT_EQ(reals[0], record.*limit.real) << limit.name;
                break;
            case gl_limit_kind::real_pair:
                glGetFloatv(limit.enumerant, reals);
                EXPECT_EQ((std::array<float, 2>{reals[0], reals[1]}), record.*limit.real_pair) << limit.name;
                break;
            default:
                break;
        }
        EXPECT_EQ(glGetError() != GL_NO_ERROR, !record.answered(limit.enumerant)) << limit.name;
    }
    std::printf("OpenGL: %zu limits of the first context compared\n", limits);
}

// The core profile's extensions, in order, and its integer limits are what
// the current core-profile context answers (get_stringi: its glGetStringi).
std::vector<std::string> expect_core_context_is_current(const gl_core_context& core,
                                                        PFNGLGETSTRINGIPROC get_stringi) {
    EXPECT_TRUE(core.made);
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    std::vector<std::string> extensions;
    for (GLint i = 0; i < count; ++i) {
        extensions.push_back(
            reinterpret_cast<const char*>(get_stringi(GL_EXTENSIONS, static_cast<GLuint>(i))));
    }
    EXPECT_EQ(extensions, core.extensions);
    size_t core_limits = 0;
    for (size_t i = 0; i < std::size(gl_limits) && i < core.limits.size(); ++i) {
        const gl_core_value& value = core.limits[i];
        if (value.answer != gl_answer::answered || gl_limits[i].core_kind != gl_limit_kind::integer) {
            continue;
        }
        ++core_limits;
        GLint own[16] = {};
        glGetIntegerv(gl_limits[i].enumerant, own);
        EXPECT_EQ(own[0], value.integers[0]) << gl_limits[i].name;
    }
    std::printf("OpenGL: %zu integer limits of the core profile compared\n", core_limits);
    EXPECT_GT(core_limits, 50u);
    return extensions;
}

// Every limit the first context reads, its strings and its extensions, are
// what a context the test makes answers; the core profile's extensions and
// version too, and the pages show them.
TEST(LinuxOpenGL, EveryLimitAndExtensionIsWhatTheContextSays) {
    const linux_capture& read = capture();
    std::optional<own_context> first(std::in_place, false);
    if (!first->made) {
        EXPECT_TRUE(read.opengl.records.empty());
        GTEST_SKIP() << "no desktop OpenGL through EGL here";
    }
    ASSERT_EQ(1u, read.opengl.records.size());
    const gl_record& record = read.opengl.records[0];
    EXPECT_EQ("EGL", record.window_system);
    expect_first_context_is_current(record);
    first.reset();

    const own_context core(true);
    ASSERT_TRUE(core.made);
    const std::vector<std::string> extensions = expect_core_context_is_current(
        record.core, reinterpret_cast<PFNGLGETSTRINGIPROC>(eglGetProcAddress("glGetStringi")));
    // The All extensions page lists the core profile's, each once, sorted.
    const adapter_report* adapter = nullptr;
    for (const adapter_report& each : read.document.adapters) {
        adapter = each.group(page_group::opengl).read ? &each : adapter;
    }
    ASSERT_NE(nullptr, adapter);
    const report_page* all = adapter->group(page_group::opengl).page(page_id::gl_all_extensions);
    ASSERT_NE(nullptr, all);
    std::set<std::string> listed;
    bool in_gl = false;
    for (const report_row& row : all->rows) {
        if (row.kind == row_kind::section) {
            in_gl = row.name == "[GL]";
        } else if (in_gl && row.kind != row_kind::blank) {
            listed.insert(row.name);
        }
    }
    EXPECT_EQ(std::set<std::string>(extensions.begin(), extensions.end()), listed);
    EXPECT_NE(all->rows.end(), std::find_if(all->rows.begin(), all->rows.end(),
                                            [](const report_row& row) { return row.name == "[EGL]"; }));
}

// The test's own GLX context on the X display, on a one-pixel pbuffer: the
// first as the driver gives it, or the core profile at 3.2 or later.
class own_glx_context {
public:
    explicit own_glx_context(bool core) {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) {
            return;
        }
        const int wanted[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, None};
        int count = 0;
        GLXFBConfig* configs = glXChooseFBConfig(display_, DefaultScreen(display_), wanted, &count);
        if (configs == nullptr || count < 1) {
            return;
        }
        const GLXFBConfig config = configs[0];
        XFree(configs);
        const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
        pbuffer_ = glXCreatePbuffer(display_, config, size);
        const int core_profile[] = {GLX_CONTEXT_MAJOR_VERSION_ARB,
                                    3,
                                    GLX_CONTEXT_MINOR_VERSION_ARB,
                                    2,
                                    GLX_CONTEXT_PROFILE_MASK_ARB,
                                    GLX_CONTEXT_CORE_PROFILE_BIT_ARB,
                                    None};
        const auto create = reinterpret_cast<PFNGLXCREATECONTEXTATTRIBSARBPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCreateContextAttribsARB")));
        context_ = core ? create(display_, config, nullptr, True, core_profile)
                        : glXCreateNewContext(display_, config, GLX_RGBA_TYPE, nullptr, True);
        made = context_ != nullptr && glXMakeContextCurrent(display_, pbuffer_, pbuffer_, context_) == True;
    }
    ~own_glx_context() {
        if (context_ != nullptr) {
            glXMakeContextCurrent(display_, 0, 0, nullptr);
            glXDestroyContext(display_, context_);
        }
        if (pbuffer_ != 0) {
            glXDestroyPbuffer(display_, pbuffer_);
        }
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    own_glx_context(const own_glx_context&) = delete;
    own_glx_context& operator=(const own_glx_context&) = delete;
    bool made = false;

private:
    Display* display_ = nullptr;
    GLXPbuffer pbuffer_ = 0;
    GLXContext context_ = nullptr;
};

// Through GLX, on an X display (the test runs under Xvfb): every limit,
// string and extension is what a GLX context the test makes answers, and
// GLX's own strings stand where EGL's would.
TEST(LinuxGLX, EveryLimitAndExtensionIsWhatTheContextSays) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display";
    }
    const gl_records read = read_glx_opengl();
    ASSERT_EQ(1u, read.records.size()) << (read.reasons.empty() ? "" : read.reasons[0].text());
    EXPECT_TRUE(read.reasons.empty()) << read.reasons[0].text();
    const gl_record& record = read.records[0];
    EXPECT_EQ("GLX", record.window_system);
    {
        const own_glx_context first(false);
        ASSERT_TRUE(first.made);
        expect_first_context_is_current(record);
        int major = 0;
        int minor = 0;
        Display* display = glXGetCurrentDisplay();
        ASSERT_TRUE(glXQueryVersion(display, &major, &minor));
        EXPECT_EQ(0u,
                  record.window_system_version.rfind(std::to_string(major) + "." + std::to_string(minor) +
                                                     " (" + glXGetClientString(display, GLX_VENDOR) + ")"))
            << record.window_system_version;
    }
    const own_glx_context core(true);
    ASSERT_TRUE(core.made);
    expect_core_context_is_current(record.core, reinterpret_cast<PFNGLGETSTRINGIPROC>(glXGetProcAddressARB(
                                                    reinterpret_cast<const GLubyte*>("glGetStringi"))));
}

// Where EGL can make no context (here its drivers hidden from glvnd, as on
// a system whose driver has no EGL), cavio-report reads OpenGL through GLX:
// its pages are there, with a [GLX] section, and nothing is said wrong.
TEST(LinuxGLX, TheProgramTurnsToGlxWhereEglCannot) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display";
    }
    const std::string json = (std::filesystem::temp_directory_path() / "cavio-glx.json").string();
    EXPECT_EQ((std::pair<int, std::string>{0, ""}),
              run_report("--json --output " + json, "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent"));
    const result<report_document> read = read_report_file(json);
    ASSERT_TRUE(read) << read.why().sentence;
    const gl_records through_glx = read_glx_opengl(false);
    ASSERT_EQ(1u, through_glx.records.size());
    bool glx_section = false;
    for (const adapter_report& adapter : read->adapters) {
        const report_group& opengl = adapter.group(page_group::opengl);
        const report_page* all = opengl.read ? opengl.page(page_id::gl_all_extensions) : nullptr;
        for (const report_row& row : all != nullptr ? all->rows : std::vector<report_row>{}) {
            glx_section = glx_section || row.name == "[GLX]";
            EXPECT_NE("[EGL]", row.name);
        }
        if (all != nullptr) {
            const report_page* device = opengl.page(page_id::gl_device);
            ASSERT_NE(nullptr, device);
            EXPECT_EQ(through_glx.records[0].renderer, device->rows.at(0).value);
        }
    }
    EXPECT_TRUE(glx_section);
}

// The report the Linux program writes is one the viewer's reader takes
// whole: the same document back.
TEST(LinuxReport, JsonReadsBackAsTheSameDocument) {
    const linux_capture& read = capture();
    ASSERT_FALSE(read.document.adapters.empty());
    const std::string json = report_json(read.document, "cavio-report", "1.0.0.0");
    const result<report_document> back = read_report_json(json, "this.json");
    ASSERT_TRUE(back) << back.why().sentence;
    EXPECT_EQ(read.document.adapters, back->adapters);
}

// The report says its system as Linux says it: os-release's name and
// version, and the kernel's release as uname -r prints it.
TEST(LinuxReport, ThePlatformIsWhatLinuxSays) {
    const os_platform platform = this_os_platform();
    EXPECT_EQ("Linux", platform.os);
    std::string name;
    std::string version;
    std::ifstream release("/etc/os-release");
    for (std::string line; std::getline(release, line);) {
        const auto value = [&](size_t from) {
            std::string text = line.substr(from);
            return text.size() >= 2 && text.front() == '"' ? text.substr(1, text.size() - 2) : text;
        };
        name = line.starts_with("NAME=") ? value(5) : name;
        version = line.starts_with("VERSION=") ? value(8) : version;
    }
    EXPECT_EQ(version.empty() ? name : name + " " + version, platform.version);
    std::FILE* uname = popen("uname -r", "r");
    char kernel[256] = {};
    ASSERT_NE(nullptr, std::fgets(kernel, sizeof kernel, uname));
    pclose(uname);
    EXPECT_EQ(std::string(kernel).substr(0, std::strcspn(kernel, "\n")), platform.kernel);
    // The program writes it into every report.
    const std::string json = (std::filesystem::temp_directory_path() / "cavio-platform.json").string();
    ASSERT_EQ(0, run_report("--json --output " + json).first);
    const result<report_document> read = read_report_file(json);
    ASSERT_TRUE(read) << read.why().sentence;
    EXPECT_EQ(platform, read->platform);
}

// What the program answers, and what it says, on the command line.
TEST(LinuxReport, ExitCodesAndSentences) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "cavio-linux-cli";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string saved = (folder / "this.json").string();
    const struct {
        std::string arguments;
        int status;
        std::string said;  // the start of the first line on standard error, or empty
    } cases[] = {
        {"--help", 0, ""},
        {"--version", 0, ""},
        {"--json --output " + saved, 0, ""},
        {"--compare " + saved + " " + saved, 0, ""},
        {"--bogus", 2, "cavio-report: unknown option --bogus; see --help\n"},
        {"--submission", 2, "cavio-report: unknown option --submission; see --help\n"},
        {"--json --json", 2, "cavio-report: --json is given twice; see --help\n"},
        {"--submit https://cavio.example/", 2,
         "cavio-report: --submit needs an address that starts http://, not https://cavio.example/; see "
         "--help\n"},
        {"--compare " + (folder / "missing.json").string(), 2, "cavio-report: "},
        {"--json --output " + (folder / "no" / "such" / "x.json").string(), 2, "cavio-report: "},
    };
    for (const auto& c : cases) {
        const auto [status, said] = run_report(c.arguments);
        EXPECT_EQ(c.status, status) << c.arguments;
        if (!c.said.empty()) {
            EXPECT_EQ(0u, said.rfind(c.said, 0)) << c.arguments << ": " << said;
        }
    }
    // The saved report is this machine's: compared with it, nothing differs.
    EXPECT_EQ(0, run_report("--compare " + saved).first);
}

}  // namespace
