// The form post of the submission: field encoding, the identifier, and the
// HTTP component, one WinHTTP session that keeps the server's cookies.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Percent-encodes a form value byte by byte: bytes 0x00 to 0x20 and 0x81 to
// 0xFF, and "#%*<>[]&=+", become "%" and two upper-case hex digits; every
// other byte stays as it is.
std::string encode_form_value(std::string_view value);

// "name=value&name=value" in the given order, values encoded, names not; a
// field with an empty value is left out.
std::string form_body(const std::vector<std::pair<std::string, std::string>>& fields);

// r * 4096 + (r XOR 0x6B9) for r from 0 to 4095: the two twelve-bit halves
// of every identifier XOR to 0x6B9.
uint32_t submission_identifier(uint32_t r);

// A fresh identifier, from a generator seeded from the system clock.
uint32_t draw_submission_identifier();

// A WinHTTP handle (session, connection or request), closed with its owner.
class internet_handle {
public:
    explicit internet_handle(void* handle = nullptr) : handle_(handle) {}
    ~internet_handle();
    internet_handle(const internet_handle&) = delete;
    internet_handle& operator=(const internet_handle&) = delete;
    internet_handle(internet_handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    internet_handle& operator=(internet_handle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    // Closes the handle held, then holds handle.
    void reset(void* handle = nullptr);
    void* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    void* handle_;  // an HINTERNET; <winhttp.h> stays out of this header
};

// The HTTP component: plain HTTP, no proxy, no authentication, the fixed
// Accept and User-Agent headers, and cookies kept between posts.
class http_component {
public:
    http_component();
    http_component(const http_component&) = delete;
    http_component& operator=(const http_component&) = delete;

    // Posts the url-encoded fields to url and returns the response body.
    // Raises for any transport failure and any status of 400 or above.
    std::string post(const std::string& url, const std::vector<std::pair<std::string, std::string>>& fields);

private:
    internet_handle session_;  // one session for the component's life: its cookie store
};

inline constexpr char http_user_agent[] = "Mozilla/3.0 (compatible; Indy Library)";
inline constexpr char http_accept[] = "text/html, */*";
