// Reading lines and keywords back, and matching keywords.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "persist/line_writer.h"
#include "persist/reference_lines.h"
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
    // A scene file's host that serves read alone, all the module calls.
    host::LoadState state() {
        host::LoadState served{};
        served.ioMode = host::kIoModeAscii;
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

// A host that reads up to the length asked, as the SDK's ASCII read may,
// can cut a name inside a character, which the name then loses whole; a
// line that does not fill the buffer was not cut and is kept as it is.
TEST(ReadName, ALineThatFillsTheBufferLosesACharacterCutInPart) {
    struct RawHost {
        std::string line;
        static int HOST_CALL read(void* self, char* buffer, int maxLength) {
            const std::string& line = static_cast<RawHost*>(self)->line;
            size_t copied = std::min(line.size(), static_cast<size_t>(maxLength));
            std::memcpy(buffer, line.data(), copied);
            return static_cast<int>(copied);
        }
    };
    const std::string euro = "\xE2\x82\xAC", clef = "\xF0\x9D\x84\x9E";
    struct Case {
        std::string line, name;
    } cases[] = {
        {std::string(253, 'a') + euro, std::string(253, 'a')},
        {std::string(254, 'a') + euro, std::string(254, 'a')},
        {std::string(252, 'a') + euro + "tail", std::string(252, 'a') + euro},
        {std::string(251, 'a') + clef + "tail", std::string(251, 'a') + clef},
        {std::string(253, 'a') + clef, std::string(253, 'a')},
        {std::string(300, '\x80'), std::string(255, '\x80')},
        {"Ball" + euro.substr(0, 2), "Ball" + euro.substr(0, 2)},
    };
    for (const Case& c : cases) {
        RawHost host{c.line};
        host::LoadState state{};
        state.ioMode = host::kIoModeAscii;
        state.readData = &host;
        state.read = RawHost::read;
        char name[kelto::kNameSize];
        ASSERT_TRUE(kelto::readName(state, name));
        EXPECT_EQ(std::string(name), c.name) << c.line.size() << " bytes";
    }
}

// In binary mode the host reads the bytes asked for: each line is read to
// the NUL that save wrote after it, whatever the block holds after that.
TEST(ReadLine, ABinaryBlockIsReadUnitByUnitToEachNul) {
    const std::string longName(300, 'n');
    sim::BlockReader reader = sim::BlockReader::binary(std::string("KELTO_START\0\0", 13) + longName + '\0' +
                                                       std::string("Camera\0KELTO_E", 14));
    char line[kelto::kLineSize];
    ASSERT_TRUE(kelto::readLine(reader.state(), line, sizeof line));
    EXPECT_STREQ(line, "KELTO_START");
    ASSERT_TRUE(kelto::readLine(reader.state(), line, sizeof line));
    EXPECT_STREQ(line, "") << "an empty unit is an empty line";
    ASSERT_TRUE(kelto::readLine(reader.state(), line, sizeof line));
    EXPECT_EQ(line, longName.substr(0, kelto::kLineSize - 1)) << "what does not fit is dropped";
    ASSERT_TRUE(kelto::readLine(reader.state(), line, sizeof line));
    EXPECT_STREQ(line, "Camera") << "the next line starts after the long one's NUL";
    ASSERT_TRUE(kelto::readLine(reader.state(), line, sizeof line));
    EXPECT_STREQ(line, "KELTO_E") << "data that ends without a NUL ends the last line";
    EXPECT_FALSE(kelto::readLine(reader.state(), line, sizeof line));
    EXPECT_STREQ(line, "");
}

// Data that ends one byte into a unit still gives that byte as a line.
TEST(ReadLine, ABinaryUnitCutAfterItsFirstByteIsThatByte) {
    sim::BlockReader reader = sim::BlockReader::binary("K");
    char line[kelto::kLineSize];
    ASSERT_TRUE(kelto::readLine(reader.state(), line, sizeof line));
    EXPECT_STREQ(line, "K");
    EXPECT_FALSE(kelto::readLine(reader.state(), line, sizeof line));
}

// In binary mode the host takes the bytes it is told: each line goes with
// its NUL and nothing after it, so the lines load back one by one.
TEST(WriteLine, ABinarySaveWritesEachLineAndItsNulAlone) {
    sim::BlockWriter writer(host::kIoModeBinary);
    for (const char* text : {"KELTO_START", "", "Ball"}) kelto::writeLine(writer.state(), text);
    EXPECT_EQ(writer.bytes(), std::string("KELTO_START\0\0Ball\0", 18));
    sim::BlockReader reader = sim::BlockReader::binary(writer.bytes());
    char line[kelto::kLineSize];
    for (const char* text : {"KELTO_START", "", "Ball"}) {
        ASSERT_TRUE(kelto::readLine(reader.state(), line, sizeof line));
        EXPECT_STREQ(line, text);
    }
}

// A host whose binary read never ends the data stops a line at the most a
// binary block can hold, rather than reading on for ever.
TEST(ReadLine, ABinaryReadThatNeverEndsStopsAtTheLargestBlock) {
    struct EndlessHost {
        long reads = 0;
        static int HOST_CALL read(void* self, char* buffer, int maxLength) {
            ++static_cast<EndlessHost*>(self)->reads;
            std::memset(buffer, 'x', static_cast<size_t>(maxLength));
            return maxLength;
        }
    } endless;
    host::LoadState state{};
    state.ioMode = host::kIoModeBinary;
    state.readData = &endless;
    state.read = EndlessHost::read;
    char line[kelto::kLineSize];
    ASSERT_TRUE(kelto::readLine(state, line, sizeof line));
    EXPECT_EQ(std::strlen(line), static_cast<size_t>(kelto::kLineSize - 1));
    EXPECT_EQ(endless.reads, 65535);
}

}  // namespace
