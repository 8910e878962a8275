// The camera link against a filter that answers the vendor property set in
// ways the simulated camera does not: handing out its interface with a
// success code other than S_OK, or scribbling into a status block it refuses.
// The commands and status as the camera receives them are tested with the
// simulated camera.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "camera/camera_link.h"

namespace {

const GUID kVendorSet = {
    0xFB207460, 0x5945, 0x11D3, {0x90, 0x99, 0x00, 0xA0, 0xCC, 0x25, 0x5A, 0xB3}};

struct SentCommand {
    DWORD property;
    std::vector<unsigned char> data;
};

// A capture filter reduced to its property set. Counts its references so that
// every test can check the link gave back each one it took.
class FakeCameraFilter : public IKsPropertySet {
  public:
    HRESULT queryResult = S_OK;
    HRESULT getResult = S_OK;
    HRESULT setResult = S_OK;
    DWORD capability = 0x2000;
    unsigned char statusBlock[64] = {};
    std::vector<SentCommand> sent;
    bool badArguments = false;
    LONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = NULL;
        if (iid == IID_IUnknown || iid == IID_IKsPropertySet) {
            if (queryResult != S_OK) {
                // A driver may answer a success code other than S_OK.
                if (SUCCEEDED(queryResult)) {
                    *object = static_cast<IKsPropertySet*>(this);
                    AddRef();
                }
                return queryResult;
            }
            *object = static_cast<IKsPropertySet*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize,
                                  LPVOID data, DWORD size) override {
        CheckArguments(set, instance, instanceSize);
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        sent.push_back({id, std::vector<unsigned char>(bytes, bytes + size)});
        return setResult;
    }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize,
                                  LPVOID data, DWORD size, DWORD* returned) override {
        CheckArguments(set, instance, instanceSize);
        if (id == 20 && size == 4) {
            std::memcpy(data, &capability, 4);
        } else if (id == 22 && size == 64) {
            std::memcpy(data, statusBlock, 64);
        } else {
            badArguments = true;
        }
        *returned = size;
        return getResult;
    }
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD, DWORD*) override { return E_NOTIMPL; }

  private:
    void CheckArguments(REFGUID set, LPVOID instance, DWORD instanceSize) {
        if (set != kVendorSet || instance != NULL || instanceSize != 0) {
            badArguments = true;
        }
    }
};

IUnknown* AsFilter(FakeCameraFilter* filter) {
    return static_cast<IKsPropertySet*>(filter);
}

} // namespace

TEST(CameraLink, CapabilityIsBitThirteenOfPropertyTwenty) {
    const struct {
        DWORD word;
        HRESULT query;
        HRESULT get;
        int expected;
    } cases[] = {
        {0x2000, S_OK, S_OK, 1},          {0xFFFFFFFF, S_OK, S_OK, 1}, {0xFFFFDFFF, S_OK, S_OK, 0},
        {0x2000, S_OK, S_FALSE, 0},       {0x2000, S_OK, E_FAIL, 0},   {0x2000, S_FALSE, S_OK, 0},
        {0x2000, E_NOINTERFACE, S_OK, 0},
    };
    for (const auto& c : cases) {
        FakeCameraFilter camera;
        camera.capability = c.word;
        camera.queryResult = c.query;
        camera.getResult = c.get;
        EXPECT_EQ(c.expected, CameraLink::QueryCapability(AsFilter(&camera))) << std::hex << c.word;
        EXPECT_EQ(1, camera.references) << "a reference was kept";
        EXPECT_FALSE(camera.badArguments);
    }
    EXPECT_EQ(0, CameraLink::QueryCapability(NULL));
}

TEST(CameraLink, NothingIsSentWithoutFilterOrForClassZero) {
    FakeCameraFilter camera;
    CameraLink link;
    EXPECT_EQ(1, link.SendCommand(NULL, 1, 26));
    EXPECT_EQ(1, link.SendCommand(AsFilter(&camera), 0, 26));
    EXPECT_TRUE(camera.sent.empty());
    // The sequence did not move: the first command sent still carries 1.
    EXPECT_EQ(0, link.SendCommand(AsFilter(&camera), 1, 24));
    ASSERT_EQ(1u, camera.sent.size());
    EXPECT_EQ(0x10, camera.sent[0].data[0]);
}

TEST(CameraLink, OnlyExactlySokCountsAsAccepted) {
    const struct {
        HRESULT query;
        HRESULT set;
        size_t sent;
    } cases[] = {
        {S_OK, S_FALSE, 1}, {S_OK, E_FAIL, 1}, {E_NOINTERFACE, S_OK, 0}, {S_FALSE, S_OK, 0}};
    for (const auto& c : cases) {
        FakeCameraFilter camera;
        camera.queryResult = c.query;
        camera.setResult = c.set;
        CameraLink link;
        EXPECT_EQ(1, link.SendCommand(AsFilter(&camera), 1, 26));
        EXPECT_EQ(c.sent, camera.sent.size());
        EXPECT_EQ(1, camera.references);
        // The refused command still used up sequence 1.
        camera.queryResult = S_OK;
        camera.setResult = S_OK;
        EXPECT_EQ(0, link.SendCommand(AsFilter(&camera), 1, 26));
        EXPECT_EQ(0x20, camera.sent.back().data[0]);
    }
}

TEST(CameraLink, AFailedFirstReadLeavesTheDeckNotOperable) {
    FakeCameraFilter camera;
    std::memset(camera.statusBlock, 0xFF, sizeof camera.statusBlock);
    camera.getResult = E_FAIL;
    CameraLink link;
    EXPECT_EQ(1, link.ReadStatus(AsFilter(&camera)));
    EXPECT_EQ(0u, link.GetTransportAvailable());
    EXPECT_EQ(0u, link.GetStatus().transportMode);
}
