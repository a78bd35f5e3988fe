#include "records/DelimitedText.h"

namespace capzel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

DelimitedLine splitLine(std::string_view line) {
    DelimitedLine out;
    if (trimmed(line).empty()) return out;
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        DelimitedField field;
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) {
                out.error = "a text in double quotes is not closed on its line";
                return out;
            }
            field.text = std::string(line.substr(pos + 1, close - pos - 1));
            field.quoted = true;
            pos = close + 1;
            while (pos < line.size() && isBlank(line[pos])) ++pos;
            if (pos < line.size() && line[pos] != ',') {
                out.error = "something follows a closing double quote without a comma";
                return out;
            }
        } else {
            std::size_t end = line.find(',', pos);
            if (end == std::string_view::npos) end = line.size();
            const std::string_view raw = trimmed(line.substr(pos, end - pos));
            if (raw.find('"') != std::string_view::npos) {
                out.error = "a double quote stands inside a field that does not begin with one";
                return out;
            }
            field.text = std::string(raw);
            pos = end;
        }
        out.fields.push_back(std::move(field));
        if (pos >= line.size()) return out;
        ++pos;  // the comma; a comma at the very end leaves one empty field after it
    }
}

}  // namespace

std::vector<DelimitedLine> splitDelimited(std::string_view text) {
    std::vector<DelimitedLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(splitLine(text.substr(start)));
            break;
        }
        lines.push_back(splitLine(text.substr(start, end - start)));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

}  // namespace capzel
