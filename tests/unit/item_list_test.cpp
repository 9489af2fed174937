// Walking the object and camera lists: choices, names, lookups.
#include <cstring>

#include "channel/item_list.h"
#include "simhost/services/service_tables.h"
#include "unit_support.h"

namespace {

using kelto::ItemList;
using unit::SceneFixture;

TEST_F(SceneFixture, ChoicesCountFromOneInListOrder) {
    scene.addObject("A");
    scene.addObject("B");
    scene.addObject("C");
    EXPECT_EQ(kelto::choiceCount(ItemList::Objects), 4);
    EXPECT_STREQ(kelto::choiceName(ItemList::Objects, 0), "(none)");
    EXPECT_STREQ(kelto::choiceName(ItemList::Objects, 2), "B");
    EXPECT_EQ(kelto::itemAtChoice(ItemList::Objects, 2), object(1));
    EXPECT_EQ(kelto::choiceOfItem(ItemList::Objects, object(2)), 3);
    EXPECT_EQ(kelto::choiceOfItem(ItemList::Objects, nullptr), 0);

    // Past the end: the name of the last item, but no item. The host's name
    // text expires at its next call, and the walk still asks every item it
    // passes for its name once: the text handed back must be from after the
    // walk's last step.
    int namesBefore = session.itemInfoCalls().name;
    EXPECT_STREQ(kelto::choiceName(ItemList::Objects, 7), "C");
    EXPECT_EQ(session.itemInfoCalls().name, namesBefore + 3);
    EXPECT_STREQ(kelto::choiceName(ItemList::Objects, 3), "C");
    EXPECT_EQ(session.itemInfoCalls().name, namesBefore + 6);
    EXPECT_EQ(kelto::itemAtChoice(ItemList::Objects, 7), nullptr);
    // Negative: the first item's name, but no item.
    EXPECT_STREQ(kelto::choiceName(ItemList::Objects, -3), "A");
    EXPECT_EQ(kelto::itemAtChoice(ItemList::Objects, -3), nullptr);
    EXPECT_EQ(kelto::itemAtChoice(ItemList::Objects, 0), nullptr);

    for (int32_t choice = 1; choice <= 3; ++choice)
        EXPECT_EQ(kelto::choiceOfItem(ItemList::Objects, kelto::itemAtChoice(ItemList::Objects, choice)), choice);
}

TEST_F(SceneFixture, TheListsAreKeptApart) {
    scene.addObject("Ball");
    scene.addCamera("Camera");
    EXPECT_EQ(kelto::choiceOfItem(ItemList::Cameras, object(0)), 0);
    EXPECT_EQ(kelto::choiceOfItem(ItemList::Objects, camera(0)), 0);
    EXPECT_EQ(kelto::itemAtChoice(ItemList::Cameras, 1), camera(0));
    EXPECT_STREQ(kelto::choiceName(ItemList::Cameras, 1), "Camera");
}

TEST_F(SceneFixture, AnEmptyListOffersOnlyNoneAndNamesNoItem) {
    scene.addObject("Ball");
    EXPECT_EQ(kelto::choiceCount(ItemList::Cameras), 1);
    int namesBefore = session.itemInfoCalls().name;
    EXPECT_STREQ(kelto::choiceName(ItemList::Cameras, 0), "(none)");
    EXPECT_STREQ(kelto::choiceName(ItemList::Cameras, 1), "(none)");
    EXPECT_STREQ(kelto::choiceName(ItemList::Cameras, -1), "(none)");
    EXPECT_EQ(session.itemInfoCalls().name, namesBefore);
    EXPECT_EQ(kelto::itemAtChoice(ItemList::Cameras, 1), nullptr);
}

TEST_F(SceneFixture, FindByNameSearchesObjectsFirstAndComparesWholeNames) {
    scene.addObject("Twin");
    scene.addObject("Twin");
    scene.addObject("Shared");
    scene.addObject("");
    scene.addCamera("Shared");
    scene.addCamera("Lens");
    EXPECT_EQ(kelto::findItemByName("Twin"), object(0));
    EXPECT_EQ(kelto::findItemByName("Shared"), object(2));
    EXPECT_EQ(kelto::findItemByName("Lens"), camera(1));
    // An empty name is no reference, even beside an item whose name is empty.
    EXPECT_EQ(kelto::findItemByName(""), nullptr);
    EXPECT_EQ(kelto::findItemByName("twin"), nullptr);
    EXPECT_EQ(kelto::findItemByName("Twi"), nullptr);
    EXPECT_EQ(kelto::findItemByName("Twins"), nullptr);
}

TEST_F(SceneFixture, CopyItemNameCutsOverlongNamesToTheBuffer) {
    scene.addObject("Ball");
    scene.addObject(std::string(300, 'x'));
    scene.addObject(std::string(255, 'y'));
    char name[kelto::kNameSize];
    std::memset(name, '#', sizeof name);
    kelto::copyItemName(object(0), name);
    EXPECT_STREQ(name, "Ball");
    kelto::copyItemName(object(1), name);
    EXPECT_EQ(std::string(name), std::string(255, 'x'));
    kelto::copyItemName(object(2), name);
    EXPECT_EQ(std::string(name), std::string(255, 'y'));
}

TEST_F(SceneFixture, CopyItemNameNeverSplitsAUtf8Character) {
    const std::string euro = "\xE2\x82\xAC", clef = "\xF0\x9D\x84\x9E";
    // A three-byte character across the cut at byte 255 goes whole.
    scene.addObject(std::string(254, 'a') + euro + "tail");
    // A four-byte one ending exactly at the cut stays.
    scene.addObject(std::string(251, 'b') + clef + "tail");
    // A four-byte one starting at byte 253 goes whole.
    scene.addObject(std::string(253, 'c') + clef);
    // Bytes that are no UTF-8 are cut at the buffer, a lead byte followed by
    // more continuation bytes than any character has too.
    scene.addObject(std::string(300, '\x80'));
    scene.addObject(std::string(251, 'e') + "\xF0" + std::string(48, '\x80'));
    // Names that fit are never touched, whatever their last character.
    scene.addObject(std::string(252, 'd') + euro);
    char name[kelto::kNameSize];
    kelto::copyItemName(object(0), name);
    EXPECT_EQ(std::string(name), std::string(254, 'a'));
    kelto::copyItemName(object(1), name);
    EXPECT_EQ(std::string(name), std::string(251, 'b') + clef);
    kelto::copyItemName(object(2), name);
    EXPECT_EQ(std::string(name), std::string(253, 'c'));
    kelto::copyItemName(object(3), name);
    EXPECT_EQ(std::string(name), std::string(255, '\x80'));
    kelto::copyItemName(object(4), name);
    EXPECT_EQ(std::string(name), std::string(251, 'e') + "\xF0" + std::string(3, '\x80'));
    kelto::copyItemName(object(5), name);
    EXPECT_EQ(std::string(name), std::string(252, 'd') + euro);
}

// Every kind of lead byte is told by its range: a character cut anywhere
// inside goes whole, one that ends at the cut stays.
TEST_F(SceneFixture, CopyItemNameKnowsEachLengthOfCharacter) {
    const std::string acute = "\xC3\xA9", devanagari = "\xE0\xA4\x85", smile = "\xF0\x9F\x98\x80";
    scene.addObject(std::string(253, 'a') + acute + "tail");  // ends at the cut
    scene.addObject(std::string(254, 'b') + acute);           // one byte of it fits
    scene.addObject(std::string(253, 'c') + devanagari);      // two of three fit
    scene.addObject(std::string(252, 'd') + smile);           // three of four fit
    const std::string expected[] = {std::string(253, 'a') + acute, std::string(254, 'b'), std::string(253, 'c'),
                                    std::string(252, 'd')};
    char name[kelto::kNameSize];
    for (size_t place = 0; place < 4; ++place) {
        kelto::copyItemName(object(place), name);
        EXPECT_EQ(std::string(name), expected[place]) << "object " << place;
    }
}

// A name of exactly the buffer's size is cut, never written past it.
TEST_F(SceneFixture, CopyItemNameNeverWritesPastTheBuffer) {
    scene.addObject(std::string(kelto::kNameSize, 'x'));
    struct {
        char name[kelto::kNameSize];
        char after[8];
    } guarded;
    std::memset(guarded.after, 'g', sizeof guarded.after);
    kelto::copyItemName(object(0), guarded.name);
    EXPECT_EQ(std::string(guarded.name), std::string(kelto::kNameSize - 1, 'x'));
    EXPECT_EQ(std::string(guarded.after, sizeof guarded.after), std::string(sizeof guarded.after, 'g'));
}

TEST_F(SceneFixture, WithoutItemInfoTheListsAreEmpty) {
    scene.addObject("Ball");
    scene.addCamera("Camera");
    kelto::holdHostServices(kelto::HostServices{});
    EXPECT_EQ(kelto::choiceCount(ItemList::Objects), 1);
    EXPECT_STREQ(kelto::choiceName(ItemList::Objects, 1), "(none)");
    EXPECT_EQ(kelto::itemAtChoice(ItemList::Objects, 1), nullptr);
    EXPECT_EQ(kelto::choiceOfItem(ItemList::Objects, object(0)), 0);
    EXPECT_EQ(kelto::findItemByName("Ball"), nullptr);
    EXPECT_EQ(session.itemInfoCalls().total(), 0);
}

// An item-info table without a step or a name is read as far as it goes.
TEST_F(SceneFixture, AnItemInfoMissingAFunctionIsReadAsFarAsItGoes) {
    scene.addObject("Ball");
    scene.addObject("Crate");
    host::ItemInfoService partial = sim::itemInfoServiceTable();
    partial.next = nullptr;
    kelto::HostServices services = kelto::heldHostServices();
    services.itemInfo = &partial;
    kelto::holdHostServices(services);
    EXPECT_EQ(kelto::choiceCount(ItemList::Objects), 2);
    EXPECT_EQ(kelto::findItemByName("Crate"), nullptr);

    partial = sim::itemInfoServiceTable();
    partial.name = nullptr;
    EXPECT_EQ(kelto::choiceCount(ItemList::Objects), 3);
    EXPECT_STREQ(kelto::choiceName(ItemList::Objects, 2), "");
    EXPECT_EQ(kelto::findItemByName("Ball"), nullptr);
    char name[kelto::kNameSize];
    std::memset(name, '#', sizeof name);
    kelto::copyItemName(object(0), name);
    EXPECT_STREQ(name, "");
}

}  // namespace
