// Listing and finding capture devices through the system device enumerator,
// with device entries written into the registry for a category of the test's
// own and probe filters standing in for the drivers.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>

#include "capture/capture_graph.h"
#include "tests/win/bag_only_device.h"
#include "tests/win/capture_probes.h"

namespace {

// {B3F0C2D1-5E4A-4C3B-8F71-2A9D6E0C4B55}
const GUID kTestCategory = {
    0xB3F0C2D1, 0x5E4A, 0x4C3B, {0x8F, 0x71, 0x2A, 0x9D, 0x6E, 0x0C, 0x4B, 0x55}};

std::string Numbered(const char* prefix, int i) {
    char text[64];
    wsprintfA(text, "%s %02d", prefix, i);
    return text;
}

class DeviceCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, CoInitialize(NULL));
        factory.reset(new ProbeFactory);
        category.reset(new DeviceCategory(kTestCategory));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph)));
    }
    void TearDown() override {
        graph->Release();
        category.reset();
        for (const auto& probe : factory->made) {
            EXPECT_EQ(0, probe->references) << "probe " << probe->tag << " still referenced";
        }
        factory.reset();
        CoUninitialize();
    }

    // Devices "Device 00".."Device nn", listed in that order; the instance keys
    // sort the same way.
    void AddDevices(int count) {
        for (int i = 0; i < count; ++i) {
            std::string name = Numbered("Device", i);
            category->Add(name, name.c_str(), name);
        }
    }

    // Looks a device up and answers the tag of the one taken ("" for none),
    // checking it joined the graph.
    std::string Take(const char* name, int position) {
        IBaseFilter* filter = CaptureGraph::FindAndAddDevice(graph, kTestCategory, name, position);
        if (!filter) {
            return "";
        }
        ProbeFilter* probe = factory->Find(filter);
        EXPECT_NE(nullptr, probe);
        EXPECT_EQ(static_cast<IFilterGraph*>(graph), probe->CurrentGraph());
        graph->RemoveFilter(filter);
        filter->Release();
        return probe ? probe->tag : "?";
    }

    std::unique_ptr<ProbeFactory> factory;
    std::unique_ptr<DeviceCategory> category;
    IGraphBuilder* graph = NULL;
    CaptureGraph capture;
};

TEST_F(DeviceCatalogue, ListsFriendlyNamesInEnumerationOrderUpToSixteen) {
    AddDevices(20);
    ASSERT_EQ(1, capture.EnumerateDeviceNames(kTestCategory, 16));
    EXPECT_EQ(16, capture.GetAudioDeviceCount());
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(Numbered("Device", i), capture.GetAudioDeviceName(i));
    }
    // Listing creates no filter.
    EXPECT_TRUE(factory->made.empty());
}

TEST_F(DeviceCatalogue, PassesOverADeviceWithoutFriendlyName) {
    category->Add("Device 00", "First", "0");
    category->Add("Device 01", "Second", "1");
    category->Add("Device 02", nullptr, "2");
    category->Add("Device 03", "Fourth", "3");
    ASSERT_EQ(1, capture.EnumerateDeviceNames(kTestCategory, 16));
    ASSERT_EQ(3, capture.GetAudioDeviceCount());
    EXPECT_STREQ("Second", capture.GetAudioDeviceName(1));
    EXPECT_STREQ("Fourth", capture.GetAudioDeviceName(2));
    // Yet the nameless device holds index 2: it cannot be taken itself, and
    // the fourth device stands at position 3.
    EXPECT_EQ("", Take("Nobody", 2));
    EXPECT_EQ("3", Take("Nobody", 3));
}

TEST_F(DeviceCatalogue, AnEmptyCategoryKeepsTheEarlierListing) {
    category->Add("Device 00", "Kept A", "0");
    category->Add("Device 01", "Kept B", "1");
    ASSERT_EQ(1, capture.EnumerateDeviceNames(kTestCategory, 16));
    category.reset(new DeviceCategory(kTestCategory));
    category.reset(); // every device removed
    category.reset(new DeviceCategory(kTestCategory));
    EXPECT_EQ(0, capture.EnumerateDeviceNames(kTestCategory, 16));
    EXPECT_EQ(2, capture.GetAudioDeviceCount());
    EXPECT_STREQ("Kept B", capture.GetAudioDeviceName(1));
}

TEST_F(DeviceCatalogue, ATooLongNameIsCutAndTerminated) {
    std::string longName(400, 'L');
    category->Add("Device 00", longName.c_str(), "0");
    category->Add("Device 01", "After", "1");
    ASSERT_EQ(1, capture.EnumerateDeviceNames(kTestCategory, 16));
    ASSERT_EQ(2, capture.GetAudioDeviceCount());
    EXPECT_EQ(std::string(259, 'L'), capture.GetAudioDeviceName(0));
    EXPECT_STREQ("After", capture.GetAudioDeviceName(1));
}

TEST_F(DeviceCatalogue, FindsTheFirstDeviceCarryingTheName) {
    category->Add("Device 00", "Camera", "first");
    category->Add("Device 01", "Microphone", "second");
    category->Add("Device 02", "Camera", "third");
    EXPECT_EQ("first", Take("Camera", 16));
    EXPECT_EQ("second", Take("Microphone", 16));
    EXPECT_EQ("", Take("microphone", 16));
    EXPECT_EQ("", Take("Micro", 16));
}

TEST_F(DeviceCatalogue, PositionSixteenTakesTheSeventeenthDeviceOnly) {
    AddDevices(16);
    EXPECT_EQ("", Take("Nobody", 16));
    std::string seventeenth = Numbered("Device", 16);
    category->Add(seventeenth, seventeenth.c_str(), seventeenth);
    EXPECT_EQ(seventeenth, Take("Nobody", 16));
    // A name earlier in the category wins over the position.
    EXPECT_EQ(Numbered("Device", 3), Take(Numbered("Device", 3).c_str(), 16));
}

TEST_F(DeviceCatalogue, AnEmptyOrUnknownCategoryFindsNothing) {
    EXPECT_EQ("", Take("Device 00", 0));
    EXPECT_EQ(0, capture.EnumerateDeviceNames(kTestCategory, 16));
    EXPECT_EQ(0, capture.GetAudioDeviceCount());
}

// A device's property bag that knows its name once: the second read fails and
// leaves the value alone, as a driver's bag does for a name it lacks. It
// notes whether it was handed a value owning a string, which the reader's
// clean-up would then free.
class OnceNamedBag : public IPropertyBag {
  public:
    int reads = 0;
    bool handedAString = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = NULL;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IPropertyBag)) {
            return E_NOINTERFACE;
        }
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT* value, IErrorLog*) override {
        if (++reads == 1) {
            value->vt = VT_BSTR;
            value->bstrVal = SysAllocString(L"Named once");
            return S_OK;
        }
        handedAString = value->vt == VT_BSTR && value->bstrVal != NULL;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
};

// Leaves a pattern where the locals of the next call at this depth will lie,
// as the freed name of an earlier read would.
__attribute__((noinline)) void SoilStack() {
    volatile unsigned char area[4096];
    for (unsigned char& byte : const_cast<unsigned char(&)[4096]>(area)) {
        byte = 0xA5;
    }
}

TEST(FriendlyName, AFailedReadAfterASuccessfulOneFreesNothing) {
    OnceNamedBag bag;
    BagOnlyDevice device(&bag);
    char name[kDeviceNameSize] = "";
    FriendlyNameRead results[2];
    for (FriendlyNameRead& result : results) {
        SoilStack();
        result = ReadFriendlyName(&device, name);
    }
    EXPECT_EQ(kFriendlyNameRead, results[0]);
    EXPECT_EQ(kNoFriendlyName, results[1]);
    EXPECT_STREQ("Named once", name);
    EXPECT_FALSE(bag.handedAString) << "the failed read's value still held the freed name";
}

} // namespace
