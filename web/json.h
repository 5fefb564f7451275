#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// "text" with JSON's escapes.
inline std::string JsonQuoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

inline std::string JsonList(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out + "]";
}

// A JSON object, one member at a time.
class Json {
public:
    Json& Raw(std::string_view key, std::string_view value)
    {
        out_ += (out_.size() > 1 ? "," : "") + JsonQuoted(key) + ":" + std::string(value);
        return *this;
    }
    Json& Text(std::string_view key, std::string_view value) { return Raw(key, JsonQuoted(value)); }
    Json& Number(std::string_view key, long long value) { return Raw(key, std::to_string(value)); }
    Json& Flag(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }
    std::string Done() const { return out_ + "}"; }

private:
    std::string out_ = "{";
};
