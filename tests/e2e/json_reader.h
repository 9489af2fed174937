// A JSON reader for the tests, strict as RFC 8259 is: a document that any
// reader could take otherwise, or that is not valid UTF-8, is refused. The
// tests read validate's --json through it, so that what they assert of the
// document holds for every reader a CI system may use.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace json {

struct Value {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;                                    // a string's, in UTF-8
    std::vector<Value> items;                            // an array's
    std::vector<std::pair<std::string, Value>> members;  // an object's, in order, no name twice

    // The member of that name, or null when there is none (or this is no object).
    const Value* find(const std::string& name) const;
    // The member of that name, or a null value.
    const Value& operator[](const std::string& name) const;
};

// The document `text` holds, whole; false and `problem` (where and what) when
// it holds none.
bool read(const std::string& text, Value& value, std::string& problem);

}  // namespace json
