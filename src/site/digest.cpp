// BLAKE2b and SHA-256 digests through OpenSSL, and hex.
#include "site/digest.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <memory>

std::string hex_of(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        text += digits[static_cast<unsigned char>(c) >> 4];
        text += digits[static_cast<unsigned char>(c) & 0x0F];
    }
    return text;
}

std::string sha256_hex(std::string_view bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha256(), nullptr);
    return hex_of({reinterpret_cast<const char*>(digest.data()), size});
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
        return hex_of({reinterpret_cast<const char*>(bytes.data()), std::min<unsigned>(size, 32)});
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
