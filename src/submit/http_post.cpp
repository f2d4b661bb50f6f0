#include "submit/http_post.h"

#include <winhttp.h>

#include <chrono>
#include <random>
#include <stdexcept>

namespace {

std::wstring wide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

[[noreturn]] void fail(const char* what) {
    throw std::runtime_error(std::string(what) + " (error " + std::to_string(GetLastError()) + ")");
}

bool needs_escape(unsigned char byte) {
    if (byte <= 0x20 || byte >= 0x81) {
        return true;
    }
    switch (byte) {
        case '#':
        case '%':
        case '*':
        case '<':
        case '>':
        case '[':
        case ']':
        // A standard form decoder would cut the value at these or read a
        // blank for the plus.
        case '&':
        case '=':
        case '+':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string encode_form_value(std::string_view value) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(value.size() + value.size() / 4);
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (needs_escape(byte)) {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::string form_body(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string body;
    for (const auto& [name, value] : fields) {
        if (value.empty()) {
            continue;
        }
        if (!body.empty()) {
            body += '&';
        }
        body += name;
        body += '=';
        body += encode_form_value(value);
    }
    return body;
}

uint32_t submission_identifier(uint32_t r) {
    r &= 0xFFF;
    return r * 4096 + (r ^ 0x6B9);
}

uint32_t draw_submission_identifier() {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    std::mt19937 generator(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
    std::uniform_int_distribution<uint32_t> draw(0, 4095);
    return submission_identifier(draw(generator));
}

internet_handle::~internet_handle() {
    reset();
}

void internet_handle::reset(HINTERNET handle) {
    if (handle_ != nullptr) {
        WinHttpCloseHandle(handle_);
    }
    handle_ = handle;
}

http_component::http_component()
    : session_(WinHttpOpen(wide(http_user_agent).c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, 0)) {}

std::string http_component::post(const std::string& url,
                                 const std::vector<std::pair<std::string, std::string>>& fields) {
    if (!session_) {
        fail("no HTTP session");
    }
    const std::wstring address = wide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    parts.lpszHostName = host;
    parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
    if (!WinHttpCrackUrl(address.c_str(), 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTP) {
        fail("not a plain HTTP address");
    }
    const internet_handle connection(WinHttpConnect(session_.get(), host, parts.nPort, 0));
    if (connection.get() == nullptr) {
        fail("cannot connect");
    }
    const internet_handle request(WinHttpOpenRequest(connection.get(), L"POST", path, nullptr,
                                                     WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (request.get() == nullptr) {
        fail("cannot open the request");
    }
    // Never answer an authentication challenge.
    DWORD no_logon = WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
    WinHttpSetOption(request.get(), WINHTTP_OPTION_AUTOLOGON_POLICY, &no_logon, sizeof no_logon);
    const std::wstring headers =
        L"Accept: " + wide(http_accept) + L"\r\nContent-Type: application/x-www-form-urlencoded\r\n";
    std::string body = form_body(fields);
    if (!WinHttpSendRequest(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), body.data(),
                            static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr)) {
        fail("the post failed");
    }
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        fail("no status");
    }
    std::string response;
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.get(), &available)) {
            fail("the answer broke off");
        }
        if (available == 0) {
            break;
        }
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!WinHttpReadData(request.get(), chunk.data(), available, &read)) {
            fail("the answer broke off");
        }
        response.append(chunk, 0, read);
    }
    // A body shorter than announced was cut off on the way.
    DWORD announced = 0;
    size = sizeof announced;
    if (WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX) &&
        response.size() < announced) {
        throw std::runtime_error("the answer broke off");
    }
    if (status >= 400) {
        throw std::runtime_error("the server answered " + std::to_string(status));
    }
    return response;
}
