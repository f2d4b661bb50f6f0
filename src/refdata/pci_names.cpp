// The PCI names: the lists built from the generated data, and its parser.
#include "refdata/pci_names.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "refdata/pci_data.h"

void keyed_list::reserve(size_t count) {
    entries_.reserve(count);
    index_.reserve(count);
}

void keyed_list::set(std::string key, std::string value) {
    const auto [found, inserted] = index_.try_emplace(key, entries_.size());
    if (inserted) {
        entries_.emplace_back(std::move(key), std::move(value));
    } else {
        entries_[found->second].second = std::move(value);
    }
}

const std::string* keyed_list::find(const std::string& key) const {
    const auto found = index_.find(key);
    return found != index_.end() ? &entries_[found->second].second : nullptr;
}

void keyed_list::clear() {
    entries_.clear();
    index_.clear();
}

std::string vendor_key(uint32_t vendor_id) {
    return std::to_string(vendor_id);
}

std::string device_key(uint32_t vendor_id, uint32_t device_id) {
    std::string key = std::to_string(vendor_id);
    key += '.';
    key += std::to_string(device_id);
    return key;
}

namespace {

// The part of rest before the first separator, removed from rest with the
// separator; none, and rest as it was, where rest holds no separator.
std::optional<std::string_view> cut_at(std::string_view& rest, char separator) {
    const size_t at = rest.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view part = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    return part;
}

// The part of rest before the first separator, or all of rest; removed
// from rest with the separator.
std::string_view take_until(std::string_view& rest, char separator) {
    if (const std::optional<std::string_view> part = cut_at(rest, separator)) {
        return *part;
    }
    const std::string_view all = rest;
    rest = {};
    return all;
}

// A hexadecimal identifier of one to eight digits, either letter case.
std::optional<uint32_t> hex_number(std::string_view text) {
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || text.size() > 8 || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The vendors a vendor record's hex="Name" pairs name; none where a pair is
// malformed.
std::optional<keyed_list> vendor_record(std::string_view record) {
    keyed_list block;
    while (!record.empty()) {
        const std::optional<std::string_view> id = cut_at(record, '=');
        const std::optional<uint32_t> vendor = id ? hex_number(*id) : std::nullopt;
        // Before the opening quote stands nothing in well-formed data.
        const bool opened = vendor && cut_at(record, '"').has_value();
        const std::optional<std::string_view> name = opened ? cut_at(record, '"') : std::nullopt;
        if (!name) {
            return std::nullopt;
        }
        block.set(vendor_key(*vendor), std::string(*name));
        take_until(record, ',');
    }
    return block;
}

}  // namespace

keyed_list parse_device_database(std::string_view text) {
    keyed_list devices;
    // About one TAB per record and one vendor per block.
    devices.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\t')) + 16);
    keyed_list block;
    while (!text.empty()) {
        std::string_view record = take_until(text, '\t');
        if (!record.empty() && record.front() == '@') {
            record.remove_prefix(1);
            block.clear();
            // A malformed vendor record leaves the block without vendors, so
            // its devices are credited to nobody rather than to the block
            // before it.
            if (std::optional<keyed_list> vendors = vendor_record(record)) {
                block = std::move(*vendors);
            }
            continue;
        }
        const std::optional<std::string_view> id = cut_at(record, '=');
        const std::optional<uint32_t> device = id ? hex_number(*id) : std::nullopt;
        if (!device) {
            continue;
        }
        std::string device_part(1, '.');
        device_part += std::to_string(*device);
        for (size_t i = 0; i < block.size(); ++i) {
            const auto& [vendor, name] = block[i];
            std::string value;
            value.reserve(name.size() + 2 + record.size());
            value.append(name).append(": ").append(record);
            devices.set(vendor + device_part, std::move(value));
        }
    }
    return devices;
}

keyed_list build_vendor_list() {
    keyed_list vendors;
    vendors.reserve(pci_vendor_count);
    for (size_t i = 0; i < pci_vendor_count; ++i) {
        vendors.set(vendor_key(pci_vendors[i].id), pci_vendors[i].name);
    }
    return vendors;
}

namespace {

// The lists built at start; they live until the process ends.
struct pci_lists {
    keyed_list vendors = build_vendor_list();
    keyed_list devices =
        parse_device_database(std::string_view(pci_device_database, pci_device_database_size));
};

const pci_lists& lists() {
    static const pci_lists instance;
    return instance;
}

}  // namespace

void init_reference_data() {
    lists();
}

std::string vendor_name_of(uint32_t vendor_id) {
    const std::string* name = lists().vendors.find(vendor_key(vendor_id));
    return name != nullptr ? *name : std::string();
}

std::string gpu_name_of(uint32_t vendor_id, uint32_t device_id) {
    const std::string* name = lists().devices.find(device_key(vendor_id, device_id));
    return name != nullptr ? *name : std::string();
}

size_t vendor_list_size() {
    return lists().vendors.size();
}

size_t device_list_size() {
    return lists().devices.size();
}
