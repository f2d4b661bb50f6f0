// PCI vendor and device names: the lookups the report uses, the ordered
// key/value lists behind them and the parser of the device database text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// An ordered list of key/value texts with a hash index beside it, so that
// "replace if present, else append" costs the same for any size.
class keyed_list {
public:
    using entry = std::pair<std::string, std::string>;

    void reserve(size_t count);
    // Replaces the value of the entry with this key in place, keeping its
    // position, or appends a new entry.
    void set(std::string key, std::string value);
    // The value of the entry with this key, or null.
    const std::string* find(const std::string& key) const;
    void clear();

    size_t size() const { return entries_.size(); }
    const entry& operator[](size_t index) const { return entries_[index]; }

private:
    std::vector<entry> entries_;
    std::unordered_map<std::string, size_t> index_;
};

// Parses the device database text: TAB-terminated records, "@" vendor
// records of hex="Name" pairs opening a block, and hex=Name device records
// that give each vendor of the block an entry "vendor.device" (decimal) with
// the value "Name: device name". A malformed record is skipped; a malformed
// vendor record still ends the block before it.
keyed_list parse_device_database(std::string_view text);

// The vendor list: decimal vendor identifier to name.
keyed_list build_vendor_list();

// Decimal key texts: "4318" and "4318.64".
std::string vendor_key(uint32_t vendor_id);
std::string device_key(uint32_t vendor_id, uint32_t device_id);

// Builds the PCI name lists from the generated data; call once at start,
// before any window exists. Later calls do nothing, and the lookups below
// build the lists on first use too.
void init_reference_data();

// The vendor list's name for a PCI vendor identifier; empty when unlisted.
std::string vendor_name_of(uint32_t vendor_id);

// The device list's "Vendor: device" text for a PCI vendor and device
// identifier; empty when the database has no such device.
std::string gpu_name_of(uint32_t vendor_id, uint32_t device_id);

// Entries of the two PCI lists.
size_t vendor_list_size();
size_t device_list_size();
