#include "site/report_facts.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <memory>

#include "refdata/pci_names.h"

namespace {

// The value of the first row of that name on a page, or empty.
std::string value_of(const adapter_report& adapter, page_group group, page_id id, std::string_view name) {
    const report_page* page = adapter.group(group).page(id);
    if (page == nullptr) {
        return {};
    }
    for (const report_row& row : page->rows) {
        if (row.name == name) {
            return row.value;
        }
    }
    return {};
}

// The identifier in "NVIDIA Corporation (0x10DE)" or "0x06CD", or in the
// decimal form the legacy text sends, "NVIDIA Corporation (4318)" or
// "1741"; 0 where there is none.
uint32_t pci_id(std::string_view text) {
    const size_t open = text.rfind('(');
    if (open != std::string_view::npos && text.ends_with(')')) {
        text = text.substr(open + 1, text.size() - open - 2);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && value <= 0xFFFF ? value : 0;
}

// "NVIDIA Corporation (0x10DE)" without its identifier.
std::string without_id(const std::string& text) {
    const size_t at = text.rfind(" (");
    return at == std::string::npos || !text.ends_with(')') ||
                   pci_id(std::string_view(text).substr(at + 1)) == 0
               ? text
               : text.substr(0, at);
}

// Each run of digits padded to ten places: "8.17.18.19" sorts below "10.0".
std::string version_order(std::string_view version) {
    std::string order;
    std::string digits;
    const auto flush = [&] {
        if (!digits.empty()) {
            order += std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits;
            digits.clear();
        }
    };
    for (const char c : version) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else {
            flush();
            order += c;
        }
    }
    flush();
    return order;
}

bool is_level(const std::string& level) {
    return level.size() >= 4 && level[0] >= '0' && level[0] <= '9' && level.find('_') != std::string::npos;
}

std::string hex_of(const unsigned char* bytes, size_t size) {
    std::string text;
    char pair[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        text += pair;
    }
    return text;
}

}  // namespace

adapter_facts facts_of(const adapter_report& adapter) {
    using enum page_id;
    constexpr page_group dx = page_group::directx;
    adapter_facts facts;
    facts.description = adapter.description;
    std::string vendor = value_of(adapter, dx, dx_device, "Vendor");
    std::string device = value_of(adapter, dx, dx_device, "Device ID");
    std::string gpu = value_of(adapter, dx, dx_summary, "GPU");
    if (vendor.empty()) {
        vendor = value_of(adapter, dx, dx_summary, "Vendor");
    }
    if (pci_id(vendor) == 0) {
        vendor = value_of(adapter, page_group::vulkan, vk_summary, "Vendor");
        device = value_of(adapter, page_group::vulkan, vk_summary, "GPU");
    }
    facts.vendor_id = pci_id(vendor);
    facts.device_id = pci_id(device);
    // The PCI list names what it knows: then no report names the device.
    const std::string listed_vendor = facts.vendor_id != 0 ? vendor_name_of(facts.vendor_id) : std::string();
    const std::string listed_device =
        facts.vendor_id != 0 ? gpu_name_of(facts.vendor_id, facts.device_id) : std::string();
    facts.vendor_name = listed_vendor.empty() ? without_id(vendor) : listed_vendor;
    facts.device_name = !listed_device.empty() ? listed_device
                        : gpu.empty()          ? adapter.description
                                               : without_id(gpu);
    if (facts.vendor_id != 0) {
        char key[24];
        std::snprintf(key, sizeof key, "%04x:%04x", facts.vendor_id, facts.device_id);
        facts.device_key = key;
    } else {
        facts.device_key = "name:" + adapter.description;
    }
    facts.driver_version = value_of(adapter, dx, dx_summary, "Driver version");
    if (facts.driver_version.empty()) {
        facts.driver_version = value_of(adapter, page_group::vulkan, vk_summary, "Driver version");
    }
    facts.driver_order = version_order(facts.driver_version);
    const std::string level12 = value_of(adapter, dx, dx_d3d11_12, "Direct3D 12 feature level");
    const std::string level11 = value_of(adapter, dx, dx_d3d11_12, "Direct3D 11 feature level");
    facts.d3d_level =
        is_level(level12) && (!is_level(level11) || version_order(level12) >= version_order(level11))
            ? level12
        : is_level(level11) ? level11
                            : std::string();
    facts.gl_version = value_of(adapter, page_group::opengl, gl_summary, "GL version");
    facts.vk_version = value_of(adapter, page_group::vulkan, vk_summary, "API version");
    for (const report_group& group : adapter.groups) {
        for (const report_page& page : group.pages) {
            facts.page_mask |= uint64_t{1} << static_cast<int>(page.id);
        }
    }
    return facts;
}

std::string sha256_hex(std::string_view bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha256(), nullptr);
    return hex_of(digest.data(), size);
}

namespace {

// Texts fed to a digest, each with its length before it, so that no two
// different sequences read alike.
class digest {
public:
    digest() : context_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
        EVP_DigestInit_ex(context_.get(), EVP_blake2b512(), nullptr);
    }
    void add(std::string_view text) {
        const uint64_t length = text.size();
        buffer_.append(reinterpret_cast<const char*>(&length), sizeof length);
        buffer_.append(text);
        if (buffer_.size() > 65536) {
            flush();
        }
    }
    std::string hex() {
        flush();
        std::array<unsigned char, EVP_MAX_MD_SIZE> bytes{};
        unsigned int size = 0;
        EVP_DigestFinal_ex(context_.get(), bytes.data(), &size);
        return hex_of(bytes.data(), std::min<unsigned>(size, 32));
    }

private:
    void flush() {
        EVP_DigestUpdate(context_.get(), buffer_.data(), buffer_.size());
        buffer_.clear();
    }

    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context_;
    std::string buffer_;
};

}  // namespace

std::string page_hash(const report_page& page) {
    digest sum;
    sum.add(page.info().marker);
    for (const report_row& row : page.rows) {
        sum.add(std::string(1, static_cast<char>('0' + static_cast<int>(row.kind))));
        sum.add(row.name);
        sum.add(row.value);
        sum.add(row.description);
        sum.add(row.wire_value ? "w" + *row.wire_value : "-");
    }
    if (page.written_order) {
        std::string order;
        for (const uint32_t index : *page.written_order) {
            order += std::to_string(index) + ",";
        }
        sum.add(order);
    }
    return sum.hex();
}

std::string content_hash(const report_document& document) {
    digest sum;
    for (const adapter_report& adapter : document.adapters) {
        sum.add("adapter");
        sum.add(adapter.description);
        for (const report_group& group : adapter.groups) {
            sum.add(group.read ? "read" : "unread");
            for (const report_page& page : group.pages) {
                sum.add(page.info().marker);
                for (const report_row& row : page.rows) {
                    sum.add(std::string(1, static_cast<char>('0' + static_cast<int>(row.kind))));
                    sum.add(row.name);
                    sum.add(row.value);
                }
            }
        }
    }
    return sum.hex();
}

std::string utc_now_text() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string deflated(std::string_view bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
              static_cast<uLong>(bytes.size()), 6);
    out.resize(size);
    return out;
}

bool inflate_into(std::string_view bytes, size_t limit, std::string& out) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return false;
    }
    const std::unique_ptr<z_stream, decltype(&inflateEnd)> owned(&stream, inflateEnd);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    out.clear();
    char piece[65536];
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef*>(piece);
        stream.avail_out = sizeof piece;
        const int status = inflate(&stream, Z_NO_FLUSH);
        out.append(piece, sizeof piece - stream.avail_out);
        if (out.size() > limit) {
            return false;
        }
        if (status == Z_STREAM_END) {
            return true;
        }
        if (status != Z_OK) {
            return false;
        }
    }
}
