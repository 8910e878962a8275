// The audio device list: what the combobox shows and which device a build uses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/audio_device_list.h"

namespace {

void List(AudioDeviceList* list, const std::vector<std::string>& names) {
    list->BeginListing();
    for (const std::string& name : names) {
        list->AddListedName(name.c_str(), kAudioDeviceCapacity);
    }
}

std::vector<std::string> Names(const AudioDeviceList& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.GetAudioDeviceCount(); ++i) {
        names.push_back(list.GetAudioDeviceName(i));
    }
    return names;
}

} // namespace

TEST(AudioDeviceList, StartsEmptyPreferringTheCameraAudio) {
    AudioDeviceList list;
    EXPECT_EQ(0, list.GetAudioDeviceCount());
    EXPECT_EQ(0, list.selection);
    EXPECT_STREQ("Orvelle Audio", list.preferredAudioDevice);
    EXPECT_STREQ("", list.GetCurrentAudioDevice());
}

TEST(AudioDeviceList, ChooseMovesThePreferredNameToTheFront) {
    const struct {
        std::vector<std::string> listed;
        const char* preferred;
        int selection;
        std::vector<std::string> after;
        const char* current;
        int selectionAfter;
    } cases[] = {
        {{"A", "B", "C", "P", "E"}, "P", 3, {"P", "B", "C", "A", "E"}, "P", 0},
        {{"P", "A", "B"}, "P", 2, {"P", "A", "B"}, "P", 0}, // already at the front
        {{"A", "P", "P"}, "P", 0, {"P", "A", "P"}, "P", 0},
        {{"A", "B"}, "P", 0, {"A", "B"}, "A", 0},
        {{"A", "B", "C"}, "P", 1, {"A", "B", "C"}, "B", 1},
        {{"Orvelle Audio", "orvelle audio"},
         "ORVELLE AUDIO",
         1,
         {"Orvelle Audio", "orvelle audio"},
         "orvelle audio",
         1},
        {{"X", "orvelle audio", "Orvelle Audio"},
         "Orvelle Audio",
         1,
         {"Orvelle Audio", "orvelle audio", "X"},
         "Orvelle Audio",
         0},
    };
    for (const auto& c : cases) {
        AudioDeviceList list;
        List(&list, c.listed);
        list.SetPreferredAudioDevice(c.preferred);
        list.SetSelection(c.selection);
        list.ChooseAudioDevice();
        EXPECT_EQ(c.after, Names(list)) << c.preferred;
        EXPECT_STREQ(c.current, list.GetCurrentAudioDevice()) << c.preferred;
        EXPECT_EQ(c.selectionAfter, list.selection) << c.preferred;
    }
}

TEST(AudioDeviceList, SelectionBeyondAShorterListingReadsTheLeftOverEntry) {
    AudioDeviceList list;
    List(&list, {"A", "B", "C"});
    list.SetPreferredAudioDevice("P");
    list.SetSelection(2);
    List(&list, {"D"});
    list.ChooseAudioDevice();
    EXPECT_STREQ("C", list.GetCurrentAudioDevice());

    AudioDeviceList fresh;
    fresh.SetSelection(2);
    List(&fresh, {"D"});
    fresh.ChooseAudioDevice();
    EXPECT_STREQ("", fresh.GetCurrentAudioDevice());
}

TEST(AudioDeviceList, ListsAtMostSixteenInEnumerationOrder) {
    AudioDeviceList list;
    list.BeginListing();
    int added = 0;
    for (int i = 0; i < 20; ++i) {
        added += list.AddListedName(("Mic " + std::to_string(i)).c_str(), 16) ? 1 : 0;
    }
    EXPECT_EQ(16, added);
    EXPECT_EQ(16, list.GetAudioDeviceCount());
    EXPECT_STREQ("Mic 0", list.GetAudioDeviceName(0));
    EXPECT_STREQ("Mic 15", list.GetAudioDeviceName(15));

    // A caller's larger maximum never grows the list past its capacity.
    list.BeginListing();
    for (int i = 0; i < 20; ++i) {
        list.AddListedName("X", 100);
    }
    EXPECT_EQ(16, list.GetAudioDeviceCount());
}

TEST(AudioDeviceList, IndexesOutsideTheListAreClampedToItsCapacity) {
    AudioDeviceList list;
    list.BeginListing();
    for (int i = 0; i < 16; ++i) {
        list.AddListedName(std::to_string(i).c_str(), 16);
    }
    List(&list, {"first"});
    const struct {
        int index;
        const char* name;
    } cases[] = {{-1, "first"}, {-1000, "first"}, {0, "first"}, {1, "1"},
                 {15, "15"},    {16, "15"},       {20, "15"},   {2147483647, "15"}};
    for (const auto& c : cases) {
        EXPECT_STREQ(c.name, list.GetAudioDeviceName(c.index)) << c.index;
    }
}

TEST(AudioDeviceList, ASelectionOutsideTheListNeverReadsOutsideIt) {
    // The combobox answers -1 when nothing is selected.
    AudioDeviceList list;
    List(&list, {"A", "B"});
    list.SetPreferredAudioDevice("P");
    list.SetSelection(-1);
    list.ChooseAudioDevice();
    EXPECT_STREQ("A", list.GetCurrentAudioDevice());
    list.SetSelection(99);
    list.ChooseAudioDevice();
    EXPECT_STREQ("", list.GetCurrentAudioDevice());
}

TEST(AudioDeviceList, LongNamesAreCutAndTerminated) {
    AudioDeviceList list;
    std::string longName(400, 'n');
    list.BeginListing();
    list.AddListedName(longName.c_str(), 16);
    list.SetPreferredAudioDevice(longName.c_str());
    EXPECT_EQ(std::string(259, 'n'), list.GetAudioDeviceName(0));
    EXPECT_EQ(std::string(259, 'n'), list.preferredAudioDevice);
}

TEST(AudioDeviceList, RedetectionPrefersTheOneNewDevice) {
    const struct {
        std::vector<std::string> before;
        std::vector<std::string> after;
        const char* preferred;
    } cases[] = {
        {{"A", "B"}, {"C", "A", "B"}, "C"}, {{"A", "B"}, {"A", "B", "C"}, "C"},
        {{"A", "B"}, {"B", "C", "A"}, "C"}, {{"A"}, {"A", "A"}, "A"},
        {{"B", "A"}, {"A", "B", "A"}, "A"}, {{}, {"N"}, "N"},
        {{"A", "B"}, {"A"}, "Kept"},        {{"A"}, {"A", "B", "C"}, "Kept"},
        {{"A", "B"}, {"C", "D"}, "Kept"},   {{"A", "B"}, {"A", "B", "B"}, "A"},
    };
    for (const auto& c : cases) {
        AudioDeviceList list;
        List(&list, c.before);
        list.SetPreferredAudioDevice("Kept");
        AudioDeviceSnapshot snapshot;
        list.TakeSnapshot(&snapshot);
        List(&list, c.after);
        list.PreferNewDevice(snapshot);
        EXPECT_STREQ(c.preferred, list.preferredAudioDevice) << c.after.size();
    }
}
