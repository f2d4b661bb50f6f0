// A text object attached to a list entry (the OpenGL compressed-format list).
#pragma once

#include <string>

class tqstring {
public:
    explicit tqstring(std::string value) : text(std::move(value)) {}

    std::string text;
};
