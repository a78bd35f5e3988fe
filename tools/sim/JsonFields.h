// Checked reading of JSON values for the simulator's inputs: each reader
// names the field and what is wrong in an InputError.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace capzel::sim {

// Input that cannot be used; what() is one line naming the problem.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& where, const std::string& problem);

// A text of the input as a message quotes it: at most 30 characters, a
// control character as "?", bytes that are not UTF-8 read as Windows-1252.
std::string shownText(std::string_view text);

// Parses one JSON object; whatever the parser refuses becomes an InputError
// in words of its own.
nlohmann::json parseObject(std::string_view text);

// Refuses a key of `object` that is not one of `known`.
void rejectUnknownKeys(const nlohmann::json& object, const std::string& where,
                       std::initializer_list<std::string_view> known);

bool readBool(const nlohmann::json& v, const std::string& where);

// A whole number within [lo, hi]; 3.0 counts as whole, 3.5 does not.
long long readInteger(const nlohmann::json& v, const std::string& where, long long lo, long long hi);

// A number stored in single precision: it must stay finite there.
float readFloat(const nlohmann::json& v, const std::string& where);

std::string readText(const nlohmann::json& v, const std::string& where);

// A player's name: a text of at most saveLimits::kMaxNameLength characters,
// the most the game's new-game dialog takes.
std::string readName(const nlohmann::json& v, const std::string& where);

// A float in its shortest form that reads back as the same single-precision
// value; a whole value keeps a ".0" so that it reads as a real number.
std::string formatFloat(float v);

}  // namespace capzel::sim
