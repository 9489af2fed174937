// Hint lists read as the toolkit reads them: each tag's shape from its own
// word, lists called in place, and a clear stop where a list has no end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/panel_toolkit.h"
#include "simhost/services/panel_hint_reader.h"

namespace {

using host::PanelHintWord;
using Words = std::vector<PanelHintWord>;

const uint32_t kPopup = 0x8001, kField = 0x8002, kOther = 0x8003;
const char kTitle[] = "Title";

PanelHintWord word(const void* pointer) { return reinterpret_cast<PanelHintWord>(pointer); }

// A tag of a number the toolkit does not define, of a well-formed shape.
const PanelHintWord kUndefinedTag = host::hintTag(900, 2, true);

// A list of every shape of tag, each ended by its own zero word.
const PanelHintWord kEveryShape[] = {
    host::kHintLabel,
    host::kPanelControlId,
    word(kTitle),
    host::kHintEnd,  // required words only
    host::kHintLeft,
    kPopup,
    kField,
    host::kHintEnd,  // no required words, a list
    host::kHintEnable,
    kPopup,
    0,
    0,
    0,
    kField,
    kOther,
    host::kHintEnd,  // required words, then a list
    host::kHintEnable,
    kPopup,
    0,
    0,
    0,
    host::kHintEnd,  // an empty list
    kUndefinedTag,
    7,
    8,
    9,
    host::kHintEnd,  // a tag nobody defined
    host::kHintNest,
    kOther,  // outside the encoding
    host::kHintEnd,
};

TEST(HintReader, TakesEveryShapeOfTagByItsOwnWord) {
    sim::HintReading reading = sim::readHints(kEveryShape, kField);
    EXPECT_EQ(reading.problem, "");
    ASSERT_EQ(reading.hints.size(), 6u);
    EXPECT_EQ(reading.hints[0].words, (Words{host::kPanelControlId, word(kTitle), 0}));
    EXPECT_EQ(reading.hints[0].list, Words{});
    EXPECT_EQ(reading.hints[1].words, Words{});
    EXPECT_EQ(reading.hints[1].list, (Words{kPopup, kField}));
    EXPECT_EQ(reading.hints[2].words, (Words{kPopup, 0, 0, 0}));
    EXPECT_EQ(reading.hints[2].list, (Words{kField, kOther}));
    EXPECT_EQ(reading.hints[3].list, Words{});
    EXPECT_EQ(reading.hints[4].tag, kUndefinedTag);
    EXPECT_EQ(reading.hints[4].words, (Words{7, 8}));
    EXPECT_EQ(reading.hints[4].list, Words{9});
    EXPECT_EQ(reading.hints[5].words, Words{kOther});
    for (const sim::ReadHint& hint : reading.hints) EXPECT_EQ(hint.target, kField);
}

// The encoding's fields come back out of a word it made.
TEST(HintReader, TheEncodingDecodesToWhatMadeIt) {
    EXPECT_TRUE(host::isEncodedHintTag(host::kHintEnable));
    EXPECT_EQ(host::hintTagNumber(host::kHintEnable), 505u);
    EXPECT_EQ(host::hintRequiredWords(host::kHintEnable), 4u);
    EXPECT_TRUE(host::hintHasOptionalList(host::kHintEnable));
    EXPECT_FALSE(host::hintHasOptionalList(host::kHintChangeNotify));
    EXPECT_FALSE(host::isEncodedHintTag(host::kHintCall));
    EXPECT_FALSE(host::isEncodedHintTag(0x3E000B03u));
    EXPECT_EQ(sim::hintTagName(host::kHintChangeNotify), "XPTAG_CHGNOTIFY");
    EXPECT_EQ(sim::hintTagName(host::kHintCall), "XPTAG_CALL");
    EXPECT_EQ(sim::hintTagName(kUndefinedTag), "tag 900 (2 words, then a list)");
    EXPECT_EQ(sim::hintTagName(host::hintTag(901, 1, false)), "tag 901 (1 word)");
}

// XpCALL reads another list in place for the same control, XpSUBCALL for the
// control it names, to any depth within the toolkit's bound.
TEST(HintReader, ReadsCalledListsInPlaceForTheControlTheyName) {
    const PanelHintWord inner[] = {host::kHintFocus, kOther, host::kHintEnd};
    const PanelHintWord middle[] = {host::kHintCall, kOther, word(inner), host::kHintChangeNotify, 1, host::kHintEnd};
    const PanelHintWord outer[] = {
        host::kHintCall, 0, word(middle), host::kHintCall, 0, 0, host::kHintDelete, kField, host::kHintEnd,
    };
    sim::HintReading reading = sim::readHints(outer, kPopup);
    EXPECT_EQ(reading.problem, "");
    ASSERT_EQ(reading.hints.size(), 3u);
    EXPECT_EQ(reading.hints[0].tag, host::kHintFocus);
    EXPECT_EQ(reading.hints[0].target, kOther);
    EXPECT_EQ(reading.hints[1].tag, host::kHintChangeNotify);
    EXPECT_EQ(reading.hints[1].target, kPopup);
    EXPECT_EQ(reading.hints[2].tag, host::kHintDelete);
}

// The list hint is given and fifteen called lists, one within the next, are
// read; a sixteenth call is not.
TEST(HintReader, ReadsCalledListsFifteenDeepAndNoDeeper) {
    auto nestedCalls = [](size_t calls, std::vector<Words>& lists) {
        lists.assign(calls + 1, Words());
        lists[calls] = {host::kHintFocus, kOther, host::kHintEnd};
        for (size_t at = calls; at-- > 0;) lists[at] = {host::kHintCall, 0, word(lists[at + 1].data()), host::kHintEnd};
        return sim::readHints(lists[0].data(), kPopup);
    };
    std::vector<Words> lists;
    sim::HintReading fifteen = nestedCalls(sim::kMaxHintCallDepth - 1, lists);
    EXPECT_EQ(fifteen.problem, "");
    ASSERT_EQ(fifteen.hints.size(), 1u);
    EXPECT_EQ(fifteen.hints[0].tag, host::kHintFocus);
    EXPECT_EQ(nestedCalls(sim::kMaxHintCallDepth, lists).problem,
              "lists called within lists go deeper than " + std::to_string(sim::kMaxHintCallDepth));
}

TEST(HintReader, StopsWithAProblemWhereAListHasNoEnd) {
    // A list that calls itself never ends.
    static PanelHintWord looping[3] = {host::kHintCall, 0, 0};
    looping[2] = word(looping);
    EXPECT_EQ(sim::readHints(looping, kPopup).problem,
              "lists called within lists go deeper than " + std::to_string(sim::kMaxHintCallDepth));

    // A tag's list whose zero never comes within the words the toolkit reads;
    // what came before it is kept.
    std::vector<PanelHintWord> unended = {host::kHintDelete, kField, host::kHintGroup, kOther};
    unended.resize(sim::kMaxHintWords + 8, kPopup);
    sim::HintReading reading = sim::readHints(unended.data(), kPopup);
    EXPECT_EQ(reading.problem, "the list runs past 4096 words, the most the toolkit reads, without its end");
    ASSERT_EQ(reading.hints.size(), 1u);
    EXPECT_EQ(reading.hints[0].tag, host::kHintDelete);

    // A word that is no tag cannot be stepped over.
    const PanelHintWord stray[] = {host::kHintDelete, kField, 0x12345678u, 0, host::kHintEnd};
    EXPECT_EQ(sim::readHints(stray, kPopup).problem, "the word 0x12345678 stands where a tag should, and is none");

    EXPECT_EQ(sim::readHints(nullptr, kPopup).hints.size(), 0u);
}

}  // namespace
