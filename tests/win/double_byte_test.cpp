// Texts and device names cut to their fields under a double-byte code page
// (932, Japanese), as Windows in Japanese runs the program: a cut never
// leaves half a character behind. Run with LC_ALL=ja_JP.UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/library_text.h"
#include "capture/capture_graph.h"
#include "tests/win/bag_only_device.h"

namespace {

const int kDoubleByteText = 1; // 200 times U+6F22
const wchar_t kKanji = L'\x6F22';

// The ANSI form of a text in this process's code page.
std::string Ansi(const std::wstring& text) {
    char ansi[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

class DoubleByte : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(932u, GetACP()) << "needs the ja_JP.UTF-8 locale (scripts/lib.sh installs it)";
    }
};

// A device's property storage that answers one friendly name.
class NamedBag : public IPropertyBag {
  public:
    explicit NamedBag(const std::wstring& name) : name(name) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT* value, IErrorLog*) override {
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(name.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

  private:
    std::wstring name;
};

} // namespace

TEST_F(DoubleByte, ALibraryTextIsCutToEachFieldAfterAWholeCharacter) {
    const struct {
        int capacity;
        size_t characters;
    } fields[] = {{32, 15}, {256, 127}, {1024, 129}}; // the note, the heading, the body
    for (const auto& field : fields) {
        char text[1024 + 1];
        text[field.capacity] = '!';
        LoadLibraryText(GetModuleHandleA(nullptr), kDoubleByteText, text, field.capacity);
        EXPECT_EQ(Ansi(std::wstring(field.characters, kKanji)), text) << field.capacity;
        EXPECT_EQ('!', text[field.capacity]) << "written past the field";
    }
}

TEST_F(DoubleByte, ADeviceNameIsCutAfterAWholeCharacter) {
    const struct {
        std::wstring name;
        std::wstring kept;
    } cases[] = {
        {std::wstring(200, kKanji), std::wstring(129, kKanji)},
        {L"a" + std::wstring(200, kKanji), L"a" + std::wstring(129, kKanji)},
        {L"ab" + std::wstring(200, kKanji), L"ab" + std::wstring(128, kKanji)},
        {std::wstring(129, kKanji), std::wstring(129, kKanji)},
    };
    for (const auto& c : cases) {
        NamedBag bag(c.name);
        BagOnlyDevice device(&bag);
        char name[kDeviceNameSize];
        ASSERT_EQ(kFriendlyNameRead, ReadFriendlyName(&device, name));
        EXPECT_EQ(Ansi(c.kept), name) << c.name.size() << " characters";
    }
}
