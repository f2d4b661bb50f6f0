// How the program says that something failed: one reason type, carried as
// data from where it arose to whoever shows it. No Windows header here: the
// report layer and the site read this too.
//
// The failure vocabulary, in one place:
// - Probes and readers return a value or reasons, never a string to parse.
// - Exceptions are of one type, failure, and only where a call chain cannot
//   carry a result (a context's steps, the HTTP post's phases, a saved
//   report's checks); each is caught at its layer's edge and becomes the
//   reason it carries.
// - A platform's status code (HRESULT, VkResult, a socket error) stays in the
//   code that got it and reaches people only through a reason.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct reason {
    std::string part;      // what was being read: "OpenGL", "Direct3D 12", a file's name
    int adapter = -1;      // the adapter it concerns, by its index in the capture; -1 for every one
    std::string call;      // the platform call that failed, where one did: "D3D12CreateDevice"
    std::string sentence;  // what went wrong: "D3D12CreateDevice failed"
    std::string status;    // the platform's status as it writes it: "0x887A0004"; empty where none

    // The sentence, then the status in brackets where there is one.
    std::string message() const { return status.empty() ? sentence : sentence + " (" + status + ")"; }
    // "Direct3D 12: D3D12CreateDevice failed (0x887A0004)"; the message alone
    // without a part.
    std::string text() const { return part.empty() ? message() : part + ": " + message(); }

    bool operator==(const reason&) const = default;
};

// The program's one exception type: a reason on its way to the edge of
// its layer.
class failure : public std::exception {
public:
    explicit failure(reason why) : why_(std::move(why)), text_(why_.text()) {}
    const reason& why() const { return why_; }
    const char* what() const noexcept override { return text_.c_str(); }

private:
    reason why_;
    std::string text_;
};

// Throws failure with the sentence (and the call, where given) iff condition
// holds; the catcher adds the part and the adapter.
inline void fail_if(bool condition, const std::string& sentence, const std::string& call = {}) {
    if (condition) {
        throw failure(reason{{}, -1, call, sentence, {}});
    }
}

// A status code as Windows writes it: "0x887A0004".
std::string status_code_text(int32_t status);

// Where a constant table is wrong: being no constant expression, a call
// stops the build when the table is made at compile time.
[[noreturn]] void table_error(const char* what);

// A value, or the reason there is none.
template <typename T>
class result {
public:
    result(T value) : value_(std::move(value)) {}
    result(reason why) : why_(std::move(why)) {}

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    // Only where there is no value.
    const reason& why() const { return *why_; }

private:
    std::optional<T> value_;
    std::optional<reason> why_;
};

// Appends what from gives to into, in order.
inline void append(std::vector<reason>& into, std::vector<reason> from) {
    into.insert(into.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}
