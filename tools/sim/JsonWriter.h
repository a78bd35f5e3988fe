// Writing JSON objects by hand in a fixed order of keys, so that the same
// state always gives the same bytes; floats in their shortest form that
// reads back as the same single-precision value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "JsonFields.h"

namespace capzel::sim {

class Writer {
public:
    std::string out;

    // The members of one object, each after the separator but the first.
    explicit Writer(std::string_view separator) : separator_(separator) {}

    void integer(std::string_view k, long long v) {
        key(k);
        out += std::to_string(v);
    }
    void boolean(std::string_view k, bool v) {
        key(k);
        out += v ? "true" : "false";
    }
    void real(std::string_view k, float v) {
        key(k);
        out += formatFloat(v);
    }
    template <class Array>
    void integers(std::string_view k, const Array& a, int first, int last) {
        key(k);
        out += '[';
        for (int n = first; n <= last; ++n) out += (n > first ? ", " : "") + std::to_string(a[n]);
        out += ']';
    }
    void text(std::string_view k, const std::string& v) {
        key(k);
        out += quoted(v);
    }
    void texts(std::string_view k, const std::vector<std::string>& list) {
        key(k);
        out += '[';
        for (size_t n = 0; n < list.size(); ++n) out += (n > 0 ? ", " : "") + quoted(list[n]);
        out += ']';
    }
    void raw(std::string_view k, std::string_view value) {
        key(k);
        out += value;
    }

private:
    std::string_view separator_;
    bool first_ = true;

    // A JSON string; bytes that are not UTF-8 become U+FFFD.
    static std::string quoted(const std::string& v) {
        return nlohmann::json(v).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    void key(std::string_view k) {
        if (!first_) out += separator_;
        first_ = false;
        out += '"';
        out += k;
        out += "\": ";
    }
};

}  // namespace capzel::sim
