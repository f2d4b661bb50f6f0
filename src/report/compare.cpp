// Comparing two reports: rows paired page by page, and the differences counted.
#include "report/compare.h"

#include <algorithm>
#include <list>
#include <map>
#include <tuple>

#include "report/page_text.h"

namespace {

// What pairs a row with its counterpart: its section, its name, and how many
// rows of the same section and name came before it.
using row_key = std::tuple<std::string, std::string, size_t>;

std::vector<row_key> keys_of(const report_page& page) {
    std::vector<row_key> keys;
    std::map<std::pair<std::string, std::string>, size_t> seen;
    std::string section;
    for (const report_row& row : page.rows) {
        if (row.kind == row_kind::section) {
            section = row.name;
        }
        keys.emplace_back(section, row.name, seen[{section, row.name}]++);
    }
    return keys;
}

const std::vector<report_page>& pages_or_none(const adapter_report* adapter, page_group group) {
    static const std::vector<report_page> none;
    return adapter != nullptr ? adapter->group(group).pages : none;
}

}  // namespace

bool compared_row::differs() const {
    const report_row* row = a != nullptr ? a : b;
    if (row == nullptr || row->kind == row_kind::section || row->kind == row_kind::blank) {
        return false;
    }
    return a == nullptr || b == nullptr || a->value != b->value;
}

std::vector<compared_row> compare_pages(const report_page* a, const report_page* b) {
    std::vector<compared_row> rows;
    std::map<row_key, size_t> in_b;
    std::vector<bool> paired;
    if (b != nullptr) {
        const std::vector<row_key> keys = keys_of(*b);
        for (size_t i = 0; i < keys.size(); ++i) {
            in_b.emplace(keys[i], i);
        }
        paired.assign(b->rows.size(), false);
    }
    if (a != nullptr) {
        const std::vector<row_key> keys = keys_of(*a);
        for (size_t i = 0; i < keys.size(); ++i) {
            compared_row& row = rows.emplace_back();
            row.a = &a->rows[i];
            if (const auto found = in_b.find(keys[i]); found != in_b.end()) {
                row.b = &b->rows[found->second];
                paired[found->second] = true;
            }
        }
    }
    for (size_t i = 0; i < paired.size(); ++i) {
        if (!paired[i]) {
            rows.push_back({nullptr, &b->rows[i]});
        }
    }
    return rows;
}

const report_row& row_across::named() const {
    for (const report_row* row : rows) {
        if (row != nullptr) {
            return *row;
        }
    }
    static const report_row none{};
    return none;
}

bool row_across::differs() const {
    const report_row& row = named();
    if (row.kind == row_kind::section || row.kind == row_kind::blank) {
        return false;
    }
    return std::any_of(rows.begin(), rows.end(),
                       [&](const report_row* each) { return each == nullptr || each->value != row.value; });
}

std::vector<row_across> compare_many_pages(const std::vector<const report_page*>& pages) {
    std::list<row_across> merged;
    std::map<row_key, std::list<row_across>::iterator> at;
    for (size_t p = 0; p < pages.size(); ++p) {
        if (pages[p] == nullptr) {
            continue;
        }
        const std::vector<row_key> keys = keys_of(*pages[p]);
        auto after = merged.begin();
        for (size_t i = 0; i < keys.size(); ++i) {
            auto found = at.find(keys[i]);
            if (found == at.end()) {
                found =
                    at.emplace(keys[i], merged.insert(after, {std::vector<const report_row*>(pages.size())}))
                        .first;
            }
            found->second->rows[p] = &pages[p]->rows[i];
            after = std::next(found->second);
        }
    }
    return {merged.begin(), merged.end()};
}

adapter_differences compare_adapters(const adapter_report* left, const adapter_report* right, size_t index) {
    adapter_differences adapter{
        index, left != nullptr ? left->description : "", right != nullptr ? right->description : "", {}};
    for (int g = 0; g < group_count; ++g) {
        const auto group = static_cast<page_group>(g);
        for (const page_info& info : pages_of(group)) {
            const auto find = [&info](const std::vector<report_page>& pages) -> const report_page* {
                for (const report_page& page : pages) {
                    if (page.id == info.id) {
                        return &page;
                    }
                }
                return nullptr;
            };
            page_differences page{info.id, {}};
            for (const compared_row& row :
                 compare_pages(find(pages_or_none(left, group)), find(pages_or_none(right, group)))) {
                if (row.differs()) {
                    page.rows.push_back(row);
                }
            }
            if (!page.rows.empty()) {
                adapter.pages.push_back(std::move(page));
            }
        }
    }
    return adapter;
}

std::vector<adapter_differences> report_differences(const report_document& a, const report_document& b) {
    std::vector<adapter_differences> all;
    const size_t count = std::max(a.adapters.size(), b.adapters.size());
    for (size_t index = 0; index < count; ++index) {
        adapter_differences adapter =
            compare_adapters(index < a.adapters.size() ? &a.adapters[index] : nullptr,
                             index < b.adapters.size() ? &b.adapters[index] : nullptr, index);
        if (!adapter.pages.empty()) {
            all.push_back(std::move(adapter));
        }
    }
    return all;
}

difference_count count_differences(const std::vector<adapter_differences>& differences) {
    difference_count count;
    for (const adapter_differences& adapter : differences) {
        count.pages += adapter.pages.size();
        for (const page_differences& page : adapter.pages) {
            count.rows += page.rows.size();
        }
    }
    return count;
}

std::string differences_text(const std::vector<adapter_differences>& differences) {
    std::string text;
    for (const adapter_differences& adapter : differences) {
        text += "Adapter " + std::to_string(adapter.index + 1) + ": " +
                (adapter.a_description.empty() ? "(none)" : adapter.a_description);
        if (adapter.b_description != adapter.a_description) {
            text += " -> " + (adapter.b_description.empty() ? "(none)" : adapter.b_description);
        }
        text += "\r\n";
        for (const page_differences& page : adapter.pages) {
            text += "  " + page_title(page_of(page.page)) + "\r\n";
            for (const compared_row& row : page.rows) {
                const report_row& named = row.a != nullptr ? *row.a : *row.b;
                text += "    " + named.name + ": " + (row.a != nullptr ? row.a->value : "(none)") + " -> " +
                        (row.b != nullptr ? row.b->value : "(none)") + "\r\n";
            }
        }
    }
    return text;
}
