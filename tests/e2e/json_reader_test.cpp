// The tests' JSON reader takes what RFC 8259 allows and nothing else, so that
// a document it reads is one any reader reads alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/json_reader.h"

namespace {

json::Value readOrFail(const std::string& text) {
    json::Value value;
    std::string problem;
    EXPECT_TRUE(json::read(text, value, problem)) << text << ": " << problem;
    return value;
}

TEST(JsonReader, ReadsEveryKindOfValueAndEveryEscape) {
    json::Value value = readOrFail(
        " {\"a\": [1, -2.5e3, 0, true, false, null], \"b\": {\"c\": \"\\\"\\\\\\/\\b\\f\\n\\r\\t\"},\n"
        "  \"d\": \"\\u00e9\\u20AC\\ud83d\\ude00 \xe2\x82\xac\", \"\": {}} ");
    ASSERT_EQ(value["a"].items.size(), 6u);
    EXPECT_EQ(value["a"].items[1].number, -2500);
    EXPECT_TRUE(value["a"].items[3].boolean);
    EXPECT_EQ(value["a"].items[5].kind, json::Value::Kind::Null);
    EXPECT_EQ(value["b"]["c"].text, "\"\\/\b\f\n\r\t");
    EXPECT_EQ(value["d"].text, "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80 \xe2\x82\xac");
    EXPECT_EQ(value[""].kind, json::Value::Kind::Object);
    EXPECT_EQ(value.find("e"), nullptr);
}

// Documents RFC 8259 does not allow, or that are not valid UTF-8.
const std::vector<std::string> kWrongDocuments = {
    "",
    "{",
    "{\"a\" 1}",
    "{\"a\": 1,}",
    "[1 2]",
    "[1,]",
    "{\"a\": 1, \"a\": 2}",
    "{a: 1}",
    "'a'",
    "01",
    "1.",
    ".5",
    "+1",
    "-",
    "1e",
    "nul",
    "tru",
    "[] []",
    "\"a",
    "\"\\x41\"",
    "\"\\u12\"",
    "\"\\ud83d\"",
    "\"\\ude00\"",
    "\"\\ud83d\\u0041\"",
    std::string("\"a\nb\""),
    std::string("\"\t\""),
    std::string("\"\x1b\""),
    "\"\xff\"",
    "\"\xc3(\"",
    "\"\xc0\xaf\"",
    "\"\xed\xa0\x80\"",
    "\"\xf4\x90\x80\x80\"",
    std::string("\"a\0b\"", 5),
    std::string(100, '['),
};

TEST(JsonReader, RefusesWhatTheStandardDoesNotAllow) {
    for (const std::string& wrong : kWrongDocuments) {
        json::Value value;
        std::string problem;
        EXPECT_FALSE(json::read(wrong, value, problem)) << wrong;
        EXPECT_NE(problem, "") << wrong;
    }
}

}  // namespace
