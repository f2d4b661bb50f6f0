// What a test compares of a probe's reasons: the adapter and the text a
// person reads.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "base/reason.h"

struct said {
    int adapter = -1;
    std::string text;

    bool operator==(const said&) const = default;
};

inline std::vector<said> said_of(const std::vector<reason>& reasons) {
    std::vector<said> texts;
    for (const reason& why : reasons) {
        texts.push_back({why.adapter, why.text()});
    }
    return texts;
}

inline void PrintTo(const said& reason, std::ostream* out) {
    *out << "{" << reason.adapter << ", \"" << reason.text << "\"}";
}
