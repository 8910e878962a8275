// FontSpec on the fonts installed in the Wine prefix: the description it
// gives the platform, the face it picks, and how often it enumerates.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "skin/face_preference.h"
#include "skin/font_spec.h"

namespace {

typedef int(WINAPI* EnumFontFamiliesExProc)(HDC, LPLOGFONTA, FONTENUMPROCA, LPARAM, DWORD);
EnumFontFamiliesExProc realEnumFontFamiliesEx = nullptr;
int enumerations = 0;

int WINAPI CountedEnumFontFamiliesEx(HDC dc, LPLOGFONTA font, FONTENUMPROCA proc, LPARAM context,
                                     DWORD flags) {
    ++enumerations;
    return realEnumFontFamiliesEx(dc, font, proc, context, flags);
}

// Routes this program's calls of EnumFontFamiliesExA through the counter by
// replacing the function's entry in the program's import table.
bool CountEnumerations() {
    if (realEnumFontFamiliesEx) {
        return true;
    }
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    FARPROC target = GetProcAddress(GetModuleHandleA("gdi32.dll"), "EnumFontFamiliesExA");
    for (; library->Name; ++library) {
        auto* entry = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; entry->u1.Function; ++entry) {
            if (entry->u1.Function != reinterpret_cast<ULONG_PTR>(target)) {
                continue;
            }
            DWORD protection;
            VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, PAGE_READWRITE,
                           &protection);
            entry->u1.Function = reinterpret_cast<ULONG_PTR>(CountedEnumFontFamiliesEx);
            VirtualProtect(&entry->u1.Function, sizeof entry->u1.Function, protection, &protection);
            realEnumFontFamiliesEx =
                reinterpret_cast<EnumFontFamiliesExProc>(reinterpret_cast<void*>(target));
        }
    }
    return realEnumFontFamiliesEx != nullptr;
}

int CALLBACK WeighFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM choice) {
    ConsiderFace(*reinterpret_cast<FaceChoice*>(choice), font->lfFaceName);
    return 1;
}

// The face the preference rule picks among every face installed here.
FaceChoice PreferredInstalledFace() {
    FaceChoice choice = NoFaceChosen();
    LOGFONTA everyFace = {};
    everyFace.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(NULL);
    realEnumFontFamiliesEx(screen, &everyFace, WeighFace, reinterpret_cast<LPARAM>(&choice), 0);
    ReleaseDC(NULL, screen);
    return choice;
}

// A machine may have none of the preferred faces: a private copy of a DejaVu
// font renamed "Arialx Sans" contains one (ARIAL), so that some preferred
// face is there whatever else is installed.
bool InstallPreferredFace() {
    const char kSource[] = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
    std::ifstream in(kSource, std::ios::binary);
    std::string font((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (font.empty()) {
        return false;
    }
    const std::string names[][2] = {
        {"DejaVu", "Arialx"},
        {std::string("\0D\0e\0j\0a\0V\0u", 12), std::string("\0A\0r\0i\0a\0l\0x", 12)}};
    for (const auto& name : names) {
        for (size_t at = font.find(name[0]); at != std::string::npos; at = font.find(name[0], at)) {
            font.replace(at, name[1].size(), name[1]);
        }
    }
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "morvane_preferred_face.ttf";
    std::ofstream(path, std::ios::binary) << font;
    return AddFontResourceExA(path.c_str(), FR_PRIVATE, NULL) > 0;
}

} // namespace

TEST(FontSpec, MakesFontsOfThePointSizeAndWeightInThePreferredFaceEnumeratingOnce) {
    ASSERT_TRUE(CountEnumerations());
    ASSERT_TRUE(InstallPreferredFace());
    // The private face, or one the machine prefers to it (a Japanese face).
    FaceChoice preferred = PreferredInstalledFace();
    ASSERT_LT(preferred.bestPreference, kNoPreference);
    // Sizes are pixels of the design, at any pixels per inch.
    const struct {
        int points; // 0: as constructed
        int weight; // 0: as constructed
        int height;
        int expectedWeight;
    } fonts[] = {
        {0, 0, -13, FW_NORMAL},
        {11, 0, -15, FW_NORMAL},
        {10, 0, -13, FW_NORMAL},
        {11, 700, -15, 700},
    };
    for (const auto& f : fonts) {
        SCOPED_TRACE(f.points);
        FontSpec spec;
        if (f.points) {
            spec.SetPointSize(f.points);
        }
        if (f.weight) {
            spec.SetWeight(f.weight);
        }
        HFONT font = spec.CreateFontHandle();
        ASSERT_TRUE(font);
        LOGFONTA made = {};
        ASSERT_EQ(static_cast<int>(sizeof made), GetObjectA(font, sizeof made, &made));
        EXPECT_EQ(f.height, made.lfHeight);
        EXPECT_EQ(f.expectedWeight, made.lfWeight);
        EXPECT_EQ(DEFAULT_CHARSET, made.lfCharSet);
        EXPECT_STREQ(preferred.chosenFace, made.lfFaceName);
        // Text drawn with it uses that face.
        HDC screen = GetDC(NULL);
        HGDIOBJ previous = SelectObject(screen, font);
        char face[LF_FACESIZE] = "";
        GetTextFaceA(screen, sizeof face, face);
        SelectObject(screen, previous);
        ReleaseDC(NULL, screen);
        DeleteObject(font);
        EXPECT_STREQ(preferred.chosenFace, face);
    }
    // The first FontSpec of the process chose the face; the others copied it.
    EXPECT_LE(enumerations, 1);
}
