// The texts of each page as they are drawn on the screen: the heading line,
// the caption and body (with page 0's white bar), and the label on Next. Each
// page read back from the screen must equal the page drawn afresh from the
// program's own background and string library, so that a wrong text, a
// missed repaint or a stale label shows as differing pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "harness.h"
#include "program_view.h"
#include "res/resource_ids.h"
#include "screenshot.h"
#include "simulated_camera.h"
#include "skin/font_spec.h"

namespace {

const int kWidth = 349;
const int kHeight = 560;
const RECT kHeadingLine = {10, 45, 340, 65};
const RECT kCaption = {20, 365, 329, 385};
const RECT kBody = {20, 424, 329, 488};
const RECT kIntroBody = {20, 365, 329, 488};
const RECT kTextBand = {11, 365, 339, 488};
const RECT kNextButton = {163, 516, 247, 545};

struct PageTexts {
    int page;
    int heading, note, caption, body;
    int nextLabel; // 0: Next is hidden
};

const PageTexts kPages[] = {
    {0, IDS_PAGE0_HEADING, 0, 0, IDS_PAGE0_BODY, 0},
    {1, IDS_PAGE1_HEADING, IDS_PAGE1_NOTE, IDS_PAGE1_CAPTION, IDS_PAGE1_BODY, IDS_NEXT},
    {2, IDS_PAGE2_HEADING, IDS_PAGE2_NOTE, IDS_PAGE2_CAPTION, IDS_PAGE2_BODY, IDS_NEXT},
    {3, IDS_PAGE3_HEADING, IDS_PAGE3_NOTE, IDS_PAGE3_CAPTION, IDS_PAGE3_BODY, IDS_NEXT},
    {4, IDS_PAGE4_HEADING, 0, 0, IDS_PAGE4_BODY, IDS_FINISH},
};

class Library {
  public:
    Library() {
        strings = LoadLibraryExA((BinFolder() + "\\Morvane.dll").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
        program = LoadLibraryExA((BinFolder() + "\\Morvane.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    }
    ~Library() {
        FreeLibrary(strings);
        FreeLibrary(program);
    }
    std::string Text(int id) const {
        char text[1024] = "";
        if (id != 0) {
            LoadStringA(strings, id, text, sizeof text);
        }
        return text;
    }
    HBITMAP Bitmap(int id) const { return LoadBitmapA(program, MAKEINTRESOURCEA(id)); }

  private:
    HMODULE strings;
    HMODULE program;
};

void Blit(HDC target, HBITMAP bitmap, int x, int y) {
    BITMAP size;
    GetObjectA(bitmap, sizeof size, &size);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(target, x, y, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
}

void Draw(HDC dc, const std::string& text, RECT rect, UINT format) {
    DrawTextA(dc, text.c_str(), -1, &rect, format);
}

// The main window's client area as the page should look.
Screenshot DrawPage(const Library& library, const PageTexts& texts) {
    Canvas canvas(kWidth, kHeight);
    HDC dc = canvas.Dc();
    Blit(dc, library.Bitmap(IDB_BACKGROUND), 0, 0);

    FontSpec spec;
    spec.SetPointSize(11);
    HFONT headingFont = spec.CreateFontHandle();
    spec.SetPointSize(10);
    HFONT textFont = spec.CreateFontHandle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ previousFont = SelectObject(dc, headingFont);
    Draw(dc, library.Text(texts.heading), kHeadingLine, DT_SINGLELINE);
    Draw(dc, library.Text(texts.note), kHeadingLine, DT_SINGLELINE | DT_RIGHT);
    SelectObject(dc, textFont);
    Draw(dc, library.Text(texts.caption), kCaption, DT_SINGLELINE);
    if (texts.page == 0) {
        RECT bar = {11, 418, 338, 420};
        FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        Draw(dc, library.Text(texts.body), kIntroBody, DT_WORDBREAK);
    } else {
        Draw(dc, library.Text(texts.body), kBody, DT_WORDBREAK);
    }
    if (texts.nextLabel != 0) {
        Blit(dc, library.Bitmap(IDB_NAV_NORMAL), kNextButton.left, kNextButton.top);
        Draw(dc, library.Text(texts.nextLabel), kNextButton,
             DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    SelectObject(dc, previousFont);
    DeleteObject(headingFont);
    DeleteObject(textFont);
    return canvas.Read();
}

// Client rectangles of the shown controls that lie over the texts, Next
// excepted: they draw themselves.
std::vector<RECT> ControlsOver(HWND main) {
    std::vector<RECT> covered;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsShown(child) || child == GetDlgItem(main, IDC_NEXT)) {
            continue;
        }
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&place), 2);
        covered.push_back(place);
    }
    return covered;
}

// Pixels of the heading line, the text band and Next that differ between
// the screen and the page drawn afresh.
int DifferingPixels(HWND main, const Screenshot& expected, bool nextShown) {
    Sleep(300); // let the page paint
    Screenshot shown = CaptureFromScreen(main);
    std::vector<RECT> covered = ControlsOver(main);
    std::vector<RECT> areas = {kHeadingLine, kTextBand};
    if (nextShown) {
        areas.push_back(kNextButton);
    }
    int differing = 0;
    for (const RECT& area : areas) {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                POINT point = {x, y};
                bool hidden = false;
                for (const RECT& control : covered) {
                    hidden = hidden || PtInRect(&control, point);
                }
                if (!hidden && shown.At(x, y) != expected.At(x, y)) {
                    ++differing;
                }
            }
        }
    }
    return differing;
}

class PageTextsOnScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteSharedDword("Morvane_AudioSetting", 1);
        ASSERT_TRUE(camera.Ready());
        FontSpec::ChooseFaceName();
    }
    void TearDown() override { camera.Reset(true); }

    void Start(bool plugged) {
        camera.Reset(plugged);
        run.reset(new ProgramRun);
        main = StartMorvaneAndWaitForFirstPoll(*run);
        ASSERT_NE(nullptr, main);
    }
    void ExpectPageOnScreen(int page) {
        const PageTexts& texts = kPages[page];
        ASSERT_TRUE(WaitForPage(main, page));
        EXPECT_EQ(0, DifferingPixels(main, DrawPage(library, texts), texts.nextLabel != 0))
            << "page " << page;
    }

    SimulatedCamera camera;
    Library library;
    std::unique_ptr<ProgramRun> run;
    HWND main = nullptr;
};

} // namespace

TEST_F(PageTextsOnScreen, EachPageShowsItsTextsAndNextLabelForwardAndBack) {
    Start(true);
    ExpectPageOnScreen(1);
    for (int page = 2; page <= 4; ++page) {
        PressButton(main, IDC_NEXT);
        ExpectPageOnScreen(page);
    }
    for (int page = 3; page >= 1; --page) {
        PressButton(main, IDC_PREV);
        ExpectPageOnScreen(page);
    }
}

TEST_F(PageTextsOnScreen, PageZeroShowsItsWhiteBarAboveItsLongerBody) {
    Start(false);
    ExpectPageOnScreen(0);
}
