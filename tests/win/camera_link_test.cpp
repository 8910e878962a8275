// The camera link against a filter that answers the vendor property set the
// way a driver can: accepting, refusing with a failure or with S_FALSE.
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
    std::vector<DWORD> reads;
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
        reads.push_back(id);
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

TEST(CameraLink, CommandsCarryClassCodeAndARisingSequence) {
    FakeCameraFilter camera;
    CameraLink link;
    EXPECT_EQ(0, link.SendCommand(AsFilter(&camera), 1, 26));
    EXPECT_EQ(0, link.SendCommand(AsFilter(&camera), 8, 0));
    EXPECT_EQ(0, link.SendCommand(AsFilter(&camera), 15, 255));
    EXPECT_EQ(0, link.SendCommand(AsFilter(&camera), 8, 0x180));
    ASSERT_EQ(4u, camera.sent.size());
    const std::vector<unsigned char> expected[] = {{0x10, 0x1A, 0x11, 0x00},
                                                   {0x20, 0x00, 0x28, 0x00},
                                                   {0x30, 0xFF, 0x3F, 0x00},
                                                   {0x40, 0x80, 0x48, 0x00}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(21u, camera.sent[i].property);
        EXPECT_EQ(expected[i], camera.sent[i].data) << i;
    }
    EXPECT_FALSE(camera.badArguments);
    EXPECT_EQ(1, camera.references);
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

TEST(CameraLink, StatusReadDecodesTheBlock) {
    FakeCameraFilter camera;
    const unsigned char block[9] = {0xA5, 0x9C, 0xC5, 0xEE, 0xBF, 0xD5, 0x66, 0x77, 0xE9};
    std::memcpy(camera.statusBlock, block, sizeof block);
    CameraLink link;
    EXPECT_EQ(0u, link.GetTransportAvailable());
    EXPECT_EQ(0, link.ReadStatus(AsFilter(&camera)));
    const CameraStatus& status = link.GetStatus();
    EXPECT_EQ(0xAu, status.statusByte0High);
    EXPECT_EQ(0x9Cu, status.statusByte1);
    EXPECT_EQ(0xC5u, status.transportMode);
    EXPECT_EQ(2u, link.GetTransportAvailable());
    EXPECT_EQ(1u, status.statusByte3Bit2);
    EXPECT_EQ(5u, status.statusByte3Bits3to5);
    EXPECT_EQ(2, status.statusByte4High);
    EXPECT_EQ(1, status.statusByte5Bit7);
    EXPECT_EQ(0x55, status.statusByte5Low);
    EXPECT_EQ(0x66, status.statusByte6);
    EXPECT_EQ(0x77, status.statusByte7);
    EXPECT_EQ(0x29, status.statusByte8Low);
    EXPECT_EQ(3, status.statusByte8High);
    EXPECT_EQ(std::vector<DWORD>{22}, camera.reads);
    EXPECT_FALSE(camera.badArguments);
    EXPECT_EQ(1, camera.references);
}

TEST(CameraLink, AFailedStatusReadKeepsTheDecodedFields) {
    FakeCameraFilter camera;
    camera.statusBlock[2] = 0x75;
    camera.statusBlock[3] = 0x01;
    CameraLink link;
    ASSERT_EQ(0, link.ReadStatus(AsFilter(&camera)));

    // The driver scribbles into the block but refuses the read.
    std::memset(camera.statusBlock, 0xFF, sizeof camera.statusBlock);
    for (HRESULT refusal : {E_FAIL, S_FALSE}) {
        camera.getResult = refusal;
        EXPECT_EQ(1, link.ReadStatus(AsFilter(&camera)));
        EXPECT_EQ(0x75u, link.GetStatus().transportMode);
        EXPECT_EQ(1u, link.GetTransportAvailable());
    }
    camera.queryResult = E_NOINTERFACE;
    EXPECT_EQ(1, link.ReadStatus(AsFilter(&camera)));
    EXPECT_EQ(1, link.ReadStatus(NULL));
    EXPECT_EQ(0x75u, link.GetStatus().transportMode);
    EXPECT_EQ(1, camera.references);
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
