#include "tests/e2e/json_reader.h"

#include <cstdlib>
#include <cstring>

namespace json {

namespace {

const int kMostDepth = 64;
const unsigned kFirstPrintable = 0x20;
const char32_t kFirstHighSurrogate = 0xD800, kFirstLowSurrogate = 0xDC00, kLastSurrogate = 0xDFFF;
const char32_t kFirstSupplementary = 0x10000, kLastCodePoint = 0x10FFFF;

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < kFirstSupplementary) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// The length of the well-formed UTF-8 character at `at` (not overlong, no
// surrogate, no more than U+10FFFF), or 0.
size_t utf8Length(const std::string& text, size_t at) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    char32_t code = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        unsigned char byte = static_cast<unsigned char>(text[at + k]);
        if ((byte & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, kFirstSupplementary};
    if (code < smallest[length] || code > kLastCodePoint) return 0;
    if (code >= kFirstHighSurrogate && code <= kLastSurrogate) return 0;
    return length;
}

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool document(Value& value) {
        if (!element(value, 0)) return false;
        blank();
        return at_ == text_.size() || fail("text after it");
    }
    std::string problem() const { return problem_ + " at byte " + std::to_string(at_); }

private:
    bool fail(const std::string& what) {
        if (problem_.empty()) problem_ = what;
        return false;
    }
    void blank() {
        while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_]) != nullptr && text_[at_] != '\0') ++at_;
    }
    bool take(char c) {
        blank();
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool word(const char* literal) {
        size_t length = std::strlen(literal);
        if (text_.compare(at_, length, literal) != 0) return fail(std::string("not ") + literal);
        at_ += length;
        return true;
    }

    bool element(Value& value, int depth) {
        if (depth > kMostDepth) return fail("nested too deep");
        blank();
        if (at_ >= text_.size()) return fail("a value missing");
        char c = text_[at_];
        if (c == '{') return object(value, depth);
        if (c == '[') return array(value, depth);
        if (c == '"') {
            value.kind = Value::Kind::String;
            return string(value.text);
        }
        if (c == 't' || c == 'f') {
            value.kind = Value::Kind::Boolean;
            value.boolean = c == 't';
            return word(c == 't' ? "true" : "false");
        }
        if (c == 'n') return word("null");
        return number(value);
    }

    bool object(Value& value, int depth) {
        value.kind = Value::Kind::Object;
        ++at_;
        if (take('}')) return true;
        do {
            std::string name;
            Value member;
            if (!take('"')) return fail("a member's name missing");
            --at_;
            if (!string(name) || !take(':') || !element(member, depth + 1)) return fail("a member missing");
            if (value.find(name) != nullptr) return fail("the name \"" + name + "\" twice");
            value.members.emplace_back(name, member);
        } while (take(','));
        return take('}') || fail("an object not closed");
    }

    bool array(Value& value, int depth) {
        value.kind = Value::Kind::Array;
        ++at_;
        if (take(']')) return true;
        do {
            value.items.emplace_back();
            if (!element(value.items.back(), depth + 1)) return false;
        } while (take(','));
        return take(']') || fail("an array not closed");
    }

    bool number(Value& value) {
        size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        if (at_ < text_.size() && text_[at_] == '0')
            ++at_;
        else if (!digits())
            return fail("not a value");
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            if (!digits()) return fail("no digit after the point");
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            if (!digits()) return fail("no digit in the exponent");
        }
        value.kind = Value::Kind::Number;
        value.number = std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
        return true;
    }
    bool digits() {
        size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        return at_ > start;
    }

    bool string(std::string& out) {
        ++at_;  // the opening quote
        for (;;) {
            if (at_ >= text_.size()) return fail("a string not closed");
            unsigned char c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < kFirstPrintable) return fail("a control byte in a string");
            if (c == '\\') {
                if (!escape(out)) return false;
                continue;
            }
            size_t length = utf8Length(text_, at_);
            if (length == 0) return fail("not UTF-8");
            out.append(text_, at_, length);
            at_ += length;
        }
    }
    bool escape(std::string& out) {
        static const char kShort[] = "\"\\/bfnrt";
        static const char kMeant[] = "\"\\/\b\f\n\r\t";
        if (++at_ >= text_.size()) return fail("an escape cut short");
        const char* shortEscape = std::strchr(kShort, text_[at_]);
        if (shortEscape != nullptr && *shortEscape != '\0') {
            out += kMeant[shortEscape - kShort];
            ++at_;
            return true;
        }
        char32_t code;
        if (text_[at_] != 'u' || !hex(code)) return fail("an unknown escape");
        if (code >= kFirstLowSurrogate && code <= kLastSurrogate) return fail("a low surrogate alone");
        if (code >= kFirstHighSurrogate && code < kFirstLowSurrogate) {
            char32_t low;
            bool paired = text_.compare(at_, 2, "\\u") == 0;
            if (paired) ++at_;
            if (!paired || !hex(low) || low < kFirstLowSurrogate || low > kLastSurrogate)
                return fail("a high surrogate alone");
            code = kFirstSupplementary + ((code - kFirstHighSurrogate) << 10) + (low - kFirstLowSurrogate);
        }
        appendUtf8(out, code);
        return true;
    }
    // Four hexadecimal digits after the 'u' at `at_`.
    bool hex(char32_t& code) {
        const size_t kDigits = 4;
        if (at_ + kDigits >= text_.size()) return false;
        std::string digits = text_.substr(at_ + 1, kDigits);
        if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
        code = char32_t(std::strtoul(digits.c_str(), nullptr, 16));
        at_ += 1 + kDigits;
        return true;
    }

    const std::string& text_;
    size_t at_ = 0;
    std::string problem_;
};

}  // namespace

const Value* Value::find(const std::string& name) const {
    for (const auto& member : members)
        if (member.first == name) return &member.second;
    return nullptr;
}

const Value& Value::operator[](const std::string& name) const {
    static const Value kNone;
    const Value* member = find(name);
    return member != nullptr ? *member : kNone;
}

bool read(const std::string& text, Value& value, std::string& problem) {
    Reader reader(text);
    value = Value();
    if (reader.document(value)) return true;
    problem = reader.problem();
    return false;
}

}  // namespace json
