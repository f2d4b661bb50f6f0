// Reading a current OpenGL context into a record: the first context's
// strings, extensions and limits, and the core-profile context's. The same
// on every platform: the window system only makes the context current and
// says where its entry points are.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "probe/gl_records.h"

class gl_context_reader {
public:
    // lookup finds an entry point by name (null where there is none);
    // glu_get_string is GLU's gluGetString, where GLU is there.
    using lookup_fn = std::function<void*(const char* name)>;
    gl_context_reader(lookup_fn lookup, void* glu_get_string);

    // The current context into record: window_system_extensions is the
    // window system's own extension string (WGL's, EGL's, GLX's), checked
    // for known extensions beside the context's. Raises a failure where
    // glGetString or a query function is missing.
    void read_first(gl_record& record, const std::string& window_system_extensions) const;

    // The current core-profile context: every limit of the table marked for
    // the core profile that its version or extensions have.
    void read_core(gl_core_context& core) const;

private:
    struct entries;
    const entries& loaded() const;
    template <size_t N>
    std::array<int, N> integers(unsigned name) const;
    template <size_t N>
    std::array<float, N> floats(unsigned name) const;
    bool boolean(unsigned name) const;
    // Forgets the errors of earlier calls, so that the next one's is seen.
    void clear_errors() const;
    bool rejected() const;

    lookup_fn lookup_;
    void* glu_get_string_;
    mutable std::shared_ptr<entries> entries_;
};

// The part of a version text before its first blank.
std::string version_part(std::string text);

// The versions a core-profile context is asked for, the highest first.
inline constexpr std::pair<int, int> gl_core_versions[] = {{4, 6}, {4, 5}, {4, 4}, {4, 3}, {4, 2},
                                                           {4, 1}, {4, 0}, {3, 3}, {3, 2}};
