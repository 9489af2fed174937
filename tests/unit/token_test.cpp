// Reading lines and keywords back, and matching keywords.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "persist/token.h"
#include "simhost/services/block_states.h"

namespace {

kelto::Token token(const char* text) {
    kelto::Token t;
    std::snprintf(t.text, sizeof t.text, "%s", text);
    return t;
}

TEST(KeywordMatch, ATokenMatchesEveryKeywordItIsAPrefixOf) {
    EXPECT_TRUE(kelto::keywordMatches("KELTO_START", token("KELTO_START")));
    EXPECT_TRUE(kelto::keywordMatches("KELTO_END", token("")));
    EXPECT_TRUE(kelto::keywordMatches("REFERENCE_ITEM", token("REFERENCE")));
    EXPECT_TRUE(kelto::keywordMatches("REFERENCE_CAMERA", token("REFERENCE")));
    EXPECT_TRUE(kelto::keywordMatches("KELTO_END", token("KELTO_")));
    EXPECT_FALSE(kelto::keywordMatches("KELTO_END", token("KELTO_END_")));
    EXPECT_FALSE(kelto::keywordMatches("KELTO_END", token("kelto_end")));
    EXPECT_FALSE(kelto::keywordMatches("REFERENCE_ITEM", token("REFERENCE_CAMERA")));
}

// The stricter reading: the keyword whole, then a blank and the arguments,
// or nothing; a line of the keyword alone has its own end as arguments.
TEST(ArgumentsAfter, TakesTheKeywordWholeAndPointsPastIt) {
    const char alone[] = "LAG";
    EXPECT_EQ(kelto::argumentsAfter("LAG", alone), alone + std::strlen(alone));
    for (const char* withArguments : {"LAG 2.5 frames", "LAG\t2.5", "LAG\r2.5"})
        EXPECT_EQ(kelto::argumentsAfter("LAG", withArguments), withArguments + std::strlen("LAG ")) << withArguments;
    EXPECT_EQ(kelto::argumentsAfter("LAG", "LAGS 2"), nullptr);
    EXPECT_EQ(kelto::argumentsAfter("LAG", "LA"), nullptr);
    EXPECT_EQ(kelto::argumentsAfter("LAG", "lag 2"), nullptr);
    EXPECT_EQ(kelto::argumentsAfter("LAG", "LAG\v2"), nullptr);
}

TEST(TrimBlanks, CutsSpacesTabsAndCarriageReturnsAtBothEndsAlone) {
    char line[] = " \t LAG\t0.5 \r\t";
    EXPECT_STREQ(kelto::trimBlanks(line), "LAG\t0.5");
    char blanks[] = "\r \t";
    EXPECT_STREQ(kelto::trimBlanks(blanks), "");
    char other[] = "\vLAG\n";
    EXPECT_STREQ(kelto::trimBlanks(other), "\vLAG\n") << "only the three blanks";
}

TEST(ReadToken, KeepsTheLineUpToItsFirstSpace) {
    sim::BlockReader reader({"REFERENCE_ITEM trailing words", "KELTO_END\ttab", " leading", "", "no_space"});
    kelto::Token t;
    ASSERT_TRUE(kelto::readToken(reader.state(), t));
    EXPECT_STREQ(t.text, "REFERENCE_ITEM");
    ASSERT_TRUE(kelto::readToken(reader.state(), t));
    EXPECT_STREQ(t.text, "KELTO_END\ttab");
    ASSERT_TRUE(kelto::readToken(reader.state(), t));
    EXPECT_STREQ(t.text, "");
    ASSERT_TRUE(kelto::readToken(reader.state(), t));
    EXPECT_STREQ(t.text, "");
    ASSERT_TRUE(kelto::readToken(reader.state(), t));
    EXPECT_STREQ(t.text, "no_space");
    EXPECT_FALSE(kelto::readToken(reader.state(), t));
    EXPECT_STREQ(t.text, "");
}

// A host whose read writes what it likes: no NUL, or nothing at all.
struct UnrulyHost {
    std::string fill;  // written over the whole buffer, without a NUL
    int result = 0;
    int reads = 0;
    static int HOST_CALL read(void* self, char* buffer, int maxLength) {
        UnrulyHost& host = *static_cast<UnrulyHost*>(self);
        ++host.reads;
        for (int i = 0; i < maxLength && !host.fill.empty(); ++i) buffer[i] = host.fill[0];
        return host.result;
    }
    // A host that serves read alone, all the module calls.
    host::LoadState state() {
        host::LoadState served{};
        served.readData = this;
        served.read = read;
        return served;
    }
};

TEST(ReadLine, TheBufferIsClearedAndAlwaysEndsInside) {
    UnrulyHost unterminated{"A", 300};
    char line[kelto::kLineSize];
    ASSERT_TRUE(kelto::readLine(unterminated.state(), line, sizeof line));
    EXPECT_EQ(std::strlen(line), static_cast<size_t>(kelto::kLineSize - 1));

    UnrulyHost silent{"", 0};
    ASSERT_TRUE(kelto::readLine(silent.state(), line, sizeof line));
    EXPECT_STREQ(line, "");

    kelto::Token t;
    ASSERT_TRUE(kelto::readToken(unterminated.state(), t));
    EXPECT_EQ(std::strlen(t.text), static_cast<size_t>(kelto::kLineSize - 1));

    UnrulyHost ended{"B", -1};
    EXPECT_FALSE(kelto::readLine(ended.state(), line, sizeof line));
    host::LoadState noRead{};
    EXPECT_FALSE(kelto::readLine(noRead, line, sizeof line));
}

// A buffer with room for the NUL alone still takes a line; one without room,
// or none at all, takes nothing and asks the host for nothing.
TEST(ReadLine, ABufferTooSmallForTheNulReadsNothing) {
    UnrulyHost host{"A", 1};
    char line[kelto::kLineSize] = "kept";
    ASSERT_TRUE(kelto::readLine(host.state(), line, 1));
    EXPECT_STREQ(line, "");
    EXPECT_EQ(host.reads, 1);

    std::strcpy(line, "kept");
    EXPECT_FALSE(kelto::readLine(host.state(), line, 0));
    EXPECT_FALSE(kelto::readLine(host.state(), line, -1));
    EXPECT_FALSE(kelto::readLine(host.state(), nullptr, kelto::kLineSize));
    EXPECT_STREQ(line, "kept");
    EXPECT_EQ(host.reads, 1);
}

}  // namespace
