// The context reader: the same queries on every platform.
#include "probe/gl_reader.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <memory>

#include "base/reason.h"
#include "base/text.h"
#include "probe/gl_extensions.h"
#include "probe/gl_limits.h"

namespace {

using gl_get_string_fn = const GLubyte*(APIENTRY*)(GLenum);
using gl_get_booleanv_fn = void(APIENTRY*)(GLenum, GLboolean*);
using gl_get_integerv_fn = void(APIENTRY*)(GLenum, GLint*);
using gl_get_floatv_fn = void(APIENTRY*)(GLenum, GLfloat*);
using gl_get_error_fn = GLenum(APIENTRY*)();
using glu_get_string_fn = const GLubyte*(APIENTRY*)(GLenum);

template <typename T>
T as_entry(void* address) {
    return reinterpret_cast<T>(address);
}

// The implementation's strings: in the ANSI code page on Windows, as for
// every program of the system, UTF-8 on Linux; UTF-8 inside.
std::string gl_string_text(const GLubyte* text) {
    if (text == nullptr) {
        return {};
    }
#ifdef _WIN32
    return utf8_of_ansi(reinterpret_cast<const char*>(text));
#else
    return reinterpret_cast<const char*>(text);
#endif
}

// The queries write into zeroed buffers with room to spare, so an unknown
// enumerant leaves zeros and no implementation writes past the end.
constexpr size_t query_room = 16;

}  // namespace

// OpenGL 1.1's entry points, the same in every context of the library:
// looked up once, at the first read.
struct gl_context_reader::entries {
    gl_get_string_fn get_string = nullptr;
    gl_get_booleanv_fn get_booleanv = nullptr;
    gl_get_integerv_fn get_integerv = nullptr;
    gl_get_floatv_fn get_floatv = nullptr;
    gl_get_error_fn get_error = nullptr;  // optional: without it every query counts as answered
};

gl_context_reader::gl_context_reader(lookup_fn lookup, void* glu_get_string)
    : lookup_(std::move(lookup)), glu_get_string_(glu_get_string) {}

const gl_context_reader::entries& gl_context_reader::loaded() const {
    if (!entries_) {
        const auto required = [](void* entry, const char* name) {
            fail_if(entry == nullptr, std::string("no ") + name, name);
            return entry;
        };
        auto made = std::make_shared<entries>();
        made->get_string = as_entry<gl_get_string_fn>(required(lookup_("glGetString"), "glGetString"));
        made->get_booleanv =
            as_entry<gl_get_booleanv_fn>(required(lookup_("glGetBooleanv"), "glGetBooleanv"));
        made->get_integerv =
            as_entry<gl_get_integerv_fn>(required(lookup_("glGetIntegerv"), "glGetIntegerv"));
        made->get_floatv = as_entry<gl_get_floatv_fn>(required(lookup_("glGetFloatv"), "glGetFloatv"));
        made->get_error = as_entry<gl_get_error_fn>(lookup_("glGetError"));
        entries_ = std::move(made);
    }
    return *entries_;
}

std::string version_part(std::string text) {
    std::string head;
    split_at(text, ' ', head);
    return head;
}

void gl_context_reader::read_first(gl_record& record, const std::string& window_system_extensions) const {
    const entries& gl = loaded();
    record.wgl_extensions = window_system_extensions;
    const std::string checked = gl_string_text(gl.get_string(GL_EXTENSIONS)) + " " + window_system_extensions;
    const auto known = known_extensions();
    for (size_t i = 0; i < known.size(); ++i) {
        record.extension_flags[i] = has_extension_word(checked, known[i].name);
    }

    record.renderer = gl_string_text(gl.get_string(GL_RENDERER));
    record.vendor = gl_string_text(gl.get_string(GL_VENDOR));
    record.version_string = gl_string_text(gl.get_string(GL_VERSION));
    record.extensions = gl_string_text(gl.get_string(GL_EXTENSIONS));
    record.version = version_part(record.version_string);
    if (glu_get_string_ != nullptr) {
        const auto glu = as_entry<glu_get_string_fn>(glu_get_string_);
        record.glu_version_string = gl_string_text(glu(GLU_VERSION));
        record.glu_extensions = gl_string_text(glu(GLU_EXTENSIONS));
    }
    record.glu_version = version_part(record.glu_version_string);
    record.shading_language_version = gl_string_text(gl.get_string(GL_SHADING_LANGUAGE_VERSION));

    for (const gl_limit& limit : gl_limits) {
        if (!limit.legacy()) {
            continue;
        }
        clear_errors();
        switch (limit.kind) {
            case gl_limit_kind::boolean:
                record.*limit.boolean = boolean(limit.enumerant);
                break;
            case gl_limit_kind::integer:
                record.*limit.integer = integers<1>(limit.enumerant)[0];
                break;
            case gl_limit_kind::integer_pair:
                record.*limit.integer_pair = integers<2>(limit.enumerant);
                break;
            case gl_limit_kind::real:
                record.*limit.real = floats<1>(limit.enumerant)[0];
                break;
            case gl_limit_kind::real_pair:
                record.*limit.real_pair = floats<2>(limit.enumerant);
                break;
            case gl_limit_kind::integer64:
            case gl_limit_kind::integer_triple:
                break;  // the core-profile context's alone
        }
        if (rejected()) {
            record.unanswered.push_back(limit.enumerant);
        }
    }

    // A negative count lists nothing; the buffer always has room for the
    // whole reported count.
    const int32_t formats = std::max<int32_t>(record.num_compressed_texture_formats, 0);
    record.num_compressed_texture_formats = formats;
    if (formats > 0) {
        std::vector<GLint> buffer(static_cast<size_t>(formats) + query_room, 0);
        gl.get_integerv(GL_COMPRESSED_TEXTURE_FORMATS, buffer.data());
        record.compressed_texture_formats.assign(buffer.begin(), buffer.begin() + formats);
    }
}

// Every limit of the table marked for the core profile that the context's
// version or extensions have; the extensions first, as they gate the rest.
void gl_context_reader::read_core(gl_core_context& core) const {
    const entries& gl = loaded();
    // Entry points beyond OpenGL 1.1 belong to the context they were found in.
    const auto get_stringi = as_entry<PFNGLGETSTRINGIPROC>(lookup_("glGetStringi"));
    const auto get_integer64 = as_entry<PFNGLGETINTEGER64VPROC>(lookup_("glGetInteger64v"));
    const auto get_indexed = as_entry<PFNGLGETINTEGERI_VPROC>(lookup_("glGetIntegeri_v"));

    core.version_string = gl_string_text(gl.get_string(GL_VERSION));
    core.shading_language_version = gl_string_text(gl.get_string(GL_SHADING_LANGUAGE_VERSION));
    clear_errors();
    const GLint listed = std::clamp(integers<1>(GL_NUM_EXTENSIONS)[0], 0, 100000);
    for (GLint i = 0; get_stringi != nullptr && i < listed; ++i) {
        if (const GLubyte* name = get_stringi(GL_EXTENSIONS, static_cast<GLuint>(i)); name != nullptr) {
            core.extensions.push_back(gl_string_text(name));
        }
    }
    const int version = integers<1>(GL_MAJOR_VERSION)[0] * 10 + integers<1>(GL_MINOR_VERSION)[0];
    const auto has = [&](const char* extension) {
        return extension != nullptr &&
               std::find(core.extensions.begin(), core.extensions.end(), extension) != core.extensions.end();
    };

    core.limits.assign(std::size(gl_limits), gl_core_value{});
    for (size_t i = 0; i < std::size(gl_limits); ++i) {
        const gl_limit& limit = gl_limits[i];
        gl_core_value& value = core.limits[i];
        if (!limit.core || !((limit.since != 0 && version >= limit.since) || has(limit.extension))) {
            continue;
        }
        clear_errors();
        bool asked = true;
        switch (limit.core_kind) {
            case gl_limit_kind::boolean:
                value.integers[0] = boolean(limit.enumerant) ? 1 : 0;
                break;
            case gl_limit_kind::integer:
            case gl_limit_kind::integer_pair:
                std::ranges::copy(integers<2>(limit.enumerant), value.integers.begin());
                break;
            case gl_limit_kind::real:
            case gl_limit_kind::real_pair:
                value.reals = floats<2>(limit.enumerant);
                break;
            case gl_limit_kind::integer64: {
                GLint64 buffer[query_room] = {};
                if ((asked = get_integer64 != nullptr)) {
                    get_integer64(limit.enumerant, buffer);
                }
                value.integers[0] = buffer[0];
                break;
            }
            case gl_limit_kind::integer_triple:
                for (GLuint axis = 0; axis < 3 && (asked = get_indexed != nullptr); ++axis) {
                    GLint buffer[query_room] = {};
                    get_indexed(limit.enumerant, axis, buffer);
                    value.integers[axis] = buffer[0];
                }
                break;
        }
        value.answer = asked && !rejected() ? gl_answer::answered : gl_answer::not_available;
    }
}

void gl_context_reader::clear_errors() const {
    const entries& gl = loaded();
    // A lost context may answer an error for ever: a few rounds at most.
    for (int i = 0; gl.get_error != nullptr && i < 8 && gl.get_error() != GL_NO_ERROR; ++i) {
    }
}

bool gl_context_reader::rejected() const {
    const entries& gl = loaded();
    return gl.get_error != nullptr && gl.get_error() != GL_NO_ERROR;
}

template <size_t N>
std::array<int, N> gl_context_reader::integers(unsigned name) const {
    static_assert(N <= query_room);
    GLint buffer[query_room] = {};
    loaded().get_integerv(name, buffer);
    std::array<int, N> values{};
    std::copy_n(buffer, N, values.begin());
    return values;
}

template <size_t N>
std::array<float, N> gl_context_reader::floats(unsigned name) const {
    static_assert(N <= query_room);
    GLfloat buffer[query_room] = {};
    loaded().get_floatv(name, buffer);
    std::array<float, N> values{};
    std::copy_n(buffer, N, values.begin());
    return values;
}

bool gl_context_reader::boolean(unsigned name) const {
    GLboolean buffer[query_room] = {};
    loaded().get_booleanv(name, buffer);
    return buffer[0] != GL_FALSE;
}
