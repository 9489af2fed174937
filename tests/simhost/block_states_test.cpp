// The load and save states' functions, called through their records as a module calls them, at the
// edges: reads past the end, nested blocks and depth, a findBlk that finds nothing, overlong strings,
// NaN and infinity in text, binary bytes, and the calls a module should not make.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "simhost/services/block_states.h"

namespace {

using Lines = std::vector<std::string>;

const host::IdCode kOuterId = host::idCode('O', 'U', 'T', 'R'), kInnerId = host::idCode('I', 'N', 'N', 'R'),
                   kLeafId = host::idCode('L', 'E', 'A', 'F'), kOtherId = host::idCode('O', 'T', 'H', 'R');
const host::BlockIdent kOuter[] = {{kOuterId, "Outer"}, {host::kNoBlock, nullptr}};
const host::BlockIdent kInner[] = {{kInnerId, "Inner"}, {kLeafId, "Leaf"}, {host::kNoBlock, nullptr}};
const host::BlockIdent kOther[] = {{kOtherId, "Other"}, {host::kNoBlock, nullptr}};

// Outer holds a leaf and an Inner, which holds a leaf of its own.
void writeNested(const host::SaveState& s) {
    void* d = s.writeData;
    const int counts[] = {1, 2};
    const float half = 0.5f;
    s.beginBlk(d, &kOuter[0], 0);
    s.beginBlk(d, &kInner[1], 1);
    s.writeI4(d, counts, 2);
    s.writeFP(d, &half, 1);
    s.endBlk(d);
    s.beginBlk(d, &kInner[0], 0);
    EXPECT_EQ(s.depth(d), 2);
    s.beginBlk(d, &kInner[1], 1);
    EXPECT_EQ(s.depth(d), 3);
    s.writeStr(d, "deep");
    s.endBlk(d);
    s.endBlk(d);
    s.endBlk(d);
    EXPECT_EQ(s.depth(d), 0);
}

TEST(BlockStates, AsciiBlocksAreLeafLinesAndBracedIndentedLinesAndReadBackLevelByLevel) {
    sim::BlockWriter writer;
    writeNested(writer.state());
    EXPECT_EQ(writer.lines(), (Lines{"{ Outer", "  Leaf 1 2 0.5", "  { Inner", "    Leaf \"deep\"", "  }", "}"}));
    EXPECT_TRUE(writer.violations().empty());

    sim::BlockReader reader(writer.lines());
    const host::LoadState& l = reader.state();
    void* d = l.readData;
    int counts[3] = {0, 0, 7};
    float half = 0;
    char text[8];
    ASSERT_EQ(l.findBlk(d, kOuter), kOuterId);
    EXPECT_EQ(l.depth(d), 1);
    ASSERT_EQ(l.findBlk(d, kInner), kLeafId);
    // Three asked, two on the leaf's line: the third is left alone, and the float is read from the rest.
    EXPECT_EQ(l.readI4(d, counts, 3), 2);
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(counts[2], 7);
    EXPECT_EQ(l.readFP(d, &half, 1), 1);
    EXPECT_EQ(half, 0.5f);
    EXPECT_EQ(l.readFP(d, &half, 1), 0);  // a leaf's line read through: never the next line
    l.endBlk(d);
    ASSERT_EQ(l.findBlk(d, kInner), kInnerId);
    ASSERT_EQ(l.findBlk(d, kInner), kLeafId);
    EXPECT_EQ(l.depth(d), 3);
    EXPECT_EQ(l.readStr(d, text, sizeof text), 4);
    EXPECT_STREQ(text, "deep");
    l.endBlk(d);
    EXPECT_EQ(l.findBlk(d, kInner), host::kNoBlock);  // Inner holds nothing more
    l.endBlk(d);
    EXPECT_EQ(l.findBlk(d, kInner), host::kNoBlock);
    l.endBlk(d);
    EXPECT_EQ(l.depth(d), 0);
    EXPECT_EQ(l.read(d, text, sizeof text), host::kReadEndOfData);
}

TEST(BlockStates, EndBlkSkipsWhatWasNotReadAndFindBlkSkipsBlocksNotAskedFor) {
    sim::BlockReader reader({"{ Outer", "  { Other", "    Leaf 5", "    { Inner", "    }", "  }", "  Unknown 1",
                             "  Leaf 6", "  { Inner", "    Leaf 7", "  }", "}", "after"});
    const host::LoadState& l = reader.state();
    void* d = l.readData;
    int value = 0;
    ASSERT_EQ(l.findBlk(d, kOuter), kOuterId);
    // Other and its nested blocks, and the unknown leaf, are passed over.
    ASSERT_EQ(l.findBlk(d, kInner), kLeafId);
    EXPECT_EQ(l.readI4(d, &value, 1), 1);
    EXPECT_EQ(value, 6);
    l.endBlk(d);
    ASSERT_EQ(l.findBlk(d, kInner), kInnerId);
    l.endBlk(d);  // its leaf unread
    l.endBlk(d);  // Outer: out of both
    char line[16];
    EXPECT_EQ(l.read(d, line, sizeof line), 5);
    EXPECT_STREQ(line, "after");
}

TEST(BlockStates, AFindBlkThatFindsNothingLeavesTheReaderWhereItWas) {
    sim::BlockReader reader({"Leaf 1", "{ Outer", "  Leaf 2", "}", "plain line"});
    const host::LoadState& l = reader.state();
    void* d = l.readData;
    EXPECT_EQ(l.findBlk(d, kOther), host::kNoBlock);
    EXPECT_EQ(l.depth(d), 0);
    int value = 0;
    ASSERT_EQ(l.findBlk(d, kInner), kLeafId);
    ASSERT_EQ(l.findBlk(d, kInner), host::kNoBlock);  // a leaf holds no block
    l.endBlk(d);
    ASSERT_EQ(l.findBlk(d, kOuter), kOuterId);
    EXPECT_EQ(l.findBlk(d, kOther), host::kNoBlock);
    ASSERT_EQ(l.findBlk(d, kInner), kLeafId);  // still there after the search that found nothing
    EXPECT_EQ(l.readI4(d, &value, 1), 1);
    EXPECT_EQ(value, 2);
    l.endBlk(d);
    EXPECT_EQ(l.read(d, nullptr, 0), host::kReadEndOfData);  // a block's data ends at its close
    l.endBlk(d);
    char line[16];
    EXPECT_EQ(l.readStr(d, line, sizeof line), 10);
    EXPECT_STREQ(line, "plain line");
    l.endBlk(d);  // no block open: nothing happens
    EXPECT_EQ(l.depth(d), 0);
    EXPECT_TRUE(reader.violations().empty());
}

TEST(BlockStates, ReadsPastTheEndReadNothingAndLeaveTheBuffersAlone) {
    sim::BlockReader reader({"3 x"});
    const host::LoadState& l = reader.state();
    void* d = l.readData;
    int values[2] = {-1, -1};
    EXPECT_EQ(l.readI4(d, values, 2), 1);  // "x" is no number: it stays for the next read
    EXPECT_EQ(values[1], -1);
    char text[4] = "abc";
    EXPECT_EQ(l.readStr(d, text, sizeof text), 1);
    EXPECT_STREQ(text, "x");
    EXPECT_EQ(l.readI4(d, values, 2), 0);
    EXPECT_EQ(l.readStr(d, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    double number = 9;
    EXPECT_EQ(l.readDP(d, &number, 1), 0);
    EXPECT_EQ(number, 9);
    EXPECT_EQ(l.readID(d, kOuter), host::kNoBlock);
    EXPECT_EQ(l.read(d, text, sizeof text), host::kReadEndOfData);

    sim::BlockReader bytes = sim::BlockReader::binary(std::string("\x01\x02\x03", 3));
    const host::LoadState& b = bytes.state();
    unsigned short word = 0;
    unsigned int quad = 7;
    EXPECT_EQ(b.readU4(b.readData, &quad, 1), 0);  // three bytes make no four-byte number
    EXPECT_EQ(quad, 7u);
    EXPECT_EQ(b.readU2(b.readData, &word, 1), 1);
    EXPECT_EQ(word, 0x0102);
    EXPECT_EQ(b.read(b.readData, text, sizeof text), 1);
    EXPECT_EQ(b.read(b.readData, text, sizeof text), host::kReadEndOfData);
}

TEST(BlockStates, StringsLongerThanTheBufferAreCutAndLinesKeepOnlyWhatTheyCanHold) {
    sim::BlockWriter writer;
    const host::SaveState& s = writer.state();
    s.writeStr(s.writeData, "tab\there \"quoted\" end");
    s.writeStr(s.writeData, "");
    s.writeStr(s.writeData, "say \"hi\" ");
    EXPECT_EQ(writer.lines(), (Lines{"\"tabhere \"quoted\" end\"", "\"\"", "\"say \"hi\" \""}));

    sim::BlockReader reader(writer.lines());
    const host::LoadState& l = reader.state();
    char small[5];
    EXPECT_EQ(l.readStr(l.readData, small, sizeof small), 4);
    EXPECT_STREQ(small, "tabh");
    EXPECT_EQ(l.readStr(l.readData, small, sizeof small), 0);  // the cut one's rest is gone: this is ""
    EXPECT_STREQ(small, "");
    char whole[16];
    EXPECT_EQ(l.readStr(l.readData, whole, sizeof whole), 9);  // quotes inside, a space at the end
    EXPECT_STREQ(whole, "say \"hi\" ");

    sim::BlockReader bytes = sim::BlockReader::binary(std::string("longer\0next\0", 12));
    const host::LoadState& b = bytes.state();
    EXPECT_EQ(b.readStr(b.readData, small, sizeof small), 4);
    EXPECT_STREQ(small, "long");
    EXPECT_EQ(b.readStr(b.readData, small, sizeof small), 4);
    EXPECT_STREQ(small, "next");
}

// A line or a string cut to the buffer is cut before a character that would
// not fit whole: 253 bytes and a euro sign (three bytes) read as the 253.
TEST(BlockStates, ABufferTooShortIsFilledUpToACharactersEnd) {
    const std::string euro = "\xE2\x82\xAC", name = std::string(253, 'a') + euro;
    sim::BlockReader reader({name, "\"" + name + "\"", "ab" + euro});
    const host::LoadState& l = reader.state();
    char line[256];
    EXPECT_EQ(l.read(l.readData, line, sizeof line), 253);
    EXPECT_EQ(std::string(line), std::string(253, 'a'));
    EXPECT_EQ(l.readStr(l.readData, line, sizeof line), 253);
    EXPECT_EQ(std::string(line), std::string(253, 'a'));
    char small[5];
    EXPECT_EQ(l.read(l.readData, small, sizeof small), 2);
    EXPECT_STREQ(small, "ab");

    // A binary string is cut alike; a binary read takes the bytes asked for.
    sim::BlockReader bytes = sim::BlockReader::binary("ab" + euro + '\0' + "ab" + euro);
    const host::LoadState& b = bytes.state();
    EXPECT_EQ(b.readStr(b.readData, small, sizeof small), 2);
    EXPECT_STREQ(small, "ab");
    EXPECT_EQ(b.read(b.readData, small, 4), 4);
    EXPECT_EQ(std::string(small, 4), "ab" + euro.substr(0, 2));
}

TEST(BlockStates, NotANumberAndInfinityComeBackFromTextAsEveryOtherValueToTheBit) {
    const float floats[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::denorm_min(),
                            -0.0f,
                            0.1f};
    const double doubles[] = {-std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::min(), 0.1, -1e308};
    sim::BlockWriter writer;
    const host::SaveState& s = writer.state();
    s.writeFP(s.writeData, floats, 7);
    s.writeDP(s.writeData, doubles, 5);
    EXPECT_EQ(writer.lines()[0], "nan inf -inf 3.4028235e+38 1e-45 -0 0.1");

    sim::BlockReader reader(writer.lines());
    const host::LoadState& l = reader.state();
    float readFloats[7];
    double readDoubles[5];
    ASSERT_EQ(l.readFP(l.readData, readFloats, 7), 7);
    ASSERT_EQ(l.readDP(l.readData, readDoubles, 5), 5);
    EXPECT_TRUE(std::isnan(readFloats[0]));
    EXPECT_TRUE(std::isnan(readDoubles[0]));
    for (int n = 1; n < 7; ++n) EXPECT_EQ(std::memcmp(&readFloats[n], &floats[n], sizeof(float)), 0) << n;
    for (int n = 1; n < 5; ++n) EXPECT_EQ(readDoubles[n], doubles[n]) << n;
    EXPECT_TRUE(std::signbit(readFloats[5]));
}

TEST(BlockStates, IntegersOutOfTheirTypesRangeAreNotReadAndUnsignedOnesAreHex) {
    sim::BlockWriter writer;
    const host::SaveState& s = writer.state();
    const unsigned char bytes[] = {0x00, 0x0A, 0xFF};
    const char signedBytes[] = {-128, 127};
    s.writeU1(s.writeData, bytes, 3);
    s.writeI1(s.writeData, signedBytes, 2);
    EXPECT_EQ(writer.lines(), (Lines{"00 0A FF", "-128 127"}));

    sim::BlockReader reader({"70000 -5", "1FFFF"});
    const host::LoadState& l = reader.state();
    short small = 3;
    unsigned short word = 3;
    EXPECT_EQ(l.readI2(l.readData, &small, 1), 0);  // 70000 is no short, and stays unread
    EXPECT_EQ(small, 3);
    int wide[2];
    EXPECT_EQ(l.readI4(l.readData, wide, 2), 2);
    EXPECT_EQ(wide[1], -5);
    EXPECT_EQ(l.readU2(l.readData, &word, 1), 0);
    EXPECT_EQ(word, 3);
}

TEST(BlockStates, BinaryBlocksAreTheirIdSizeAndBigEndianBytesAndReadBackSkippingOthers) {
    sim::BlockWriter writer(host::kIoModeBinary);
    const host::SaveState& s = writer.state();
    void* d = s.writeData;
    s.beginBlk(d, &kOther[0], 1);
    s.writeStr(d, "ab");
    s.endBlk(d);
    writeNested(s);
    s.writeID(d, &kInner[1]);
    EXPECT_TRUE(writer.units().empty());
    const std::string other = std::string(
        "OTHR\0\x03"
        "ab\0",
        9);
    ASSERT_EQ(writer.bytes().substr(0, other.size()), other);
    // Outer's size counts all it holds: the leaf (6 + 12) and Inner (6 + 6 + 5).
    EXPECT_EQ(writer.bytes().substr(other.size(), 6), std::string("OUTR\0\x23", 6));

    sim::BlockReader reader = sim::BlockReader::binary(writer.bytes());
    const host::LoadState& l = reader.state();
    void* r = l.readData;
    ASSERT_EQ(l.findBlk(r, kOuter), kOuterId);  // Other passed over
    ASSERT_EQ(l.findBlk(r, kInner), kLeafId);
    int counts[3] = {0, 0, 0};
    float half = 0;
    EXPECT_EQ(l.readI4(r, counts, 3), 3);  // binary has no lines: the float's bytes read as an int
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(l.readFP(r, &half, 1), 0);  // nothing is left of the leaf
    l.endBlk(r);
    ASSERT_EQ(l.findBlk(r, kInner), kInnerId);
    EXPECT_EQ(l.depth(r), 2);
    EXPECT_EQ(l.findBlk(r, kOther), host::kNoBlock);
    l.endBlk(r);
    l.endBlk(r);
    EXPECT_EQ(l.readID(r, kInner), kLeafId);
    EXPECT_EQ(l.read(r, nullptr, 0), host::kReadEndOfData);
}

TEST(BlockStates, CallsAModuleShouldNotMakeAreAnsweredAsNothingAndNamed) {
    sim::BlockWriter writer;
    const host::SaveState& s = writer.state();
    void* d = s.writeData;
    s.writeFP(d, nullptr, 2);
    s.writeStr(d, nullptr);
    s.endBlk(d);
    s.beginBlk(d, nullptr, 0);
    s.beginBlk(d, &kInner[1], 1);
    writer.finish();
    EXPECT_EQ(writer.lines(), (Lines{"{ ", "  Leaf", "}"}));
    EXPECT_EQ(writer.violations(),
              (Lines{"a write of numbers was given no values for 2", "writeStr was given no string",
                     "endBlk with no block open", "beginBlk was given no label", "save returned with 2 blocks open"}));

    sim::BlockWriter large(host::kIoModeBinary);
    const host::SaveState& b = large.state();
    std::vector<double> many(9000);
    b.beginBlk(b.writeData, &kOuter[0], 1);
    b.writeDP(b.writeData, many.data(), 9000);
    b.endBlk(b.writeData);
    EXPECT_EQ(large.violations(), (Lines{"a binary block of 72000 bytes, more than its size can say (65535)"}));

    sim::BlockReader reader({"1"});
    const host::LoadState& l = reader.state();
    EXPECT_EQ(l.readI4(l.readData, nullptr, 1), 0);
    EXPECT_EQ(l.findBlk(l.readData, nullptr), host::kNoBlock);
    EXPECT_EQ(reader.violations(),
              (Lines{"a read of numbers was given no buffer for 1", "findBlk was given no list of labels"}));
}

}  // namespace
