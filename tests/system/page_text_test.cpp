// The texts of each page as the screen shows them: the heading and its note,
// the caption, the body (with page 0's white bar) and the label on Next; and
// the about box's title, measured only. A text's ink, the pixels that differ
// from what it is drawn on (the window's background bitmap, Next's face),
// must fill the place the text needs in its box and nothing beyond; the box
// must hold that place whole; no ink may show anywhere else. The boxes are the program's layout
// constants and the place of Next; what a text needs is measured in the font
// the page is to use, the design's size or, where that does not fit, a
// smaller one. The texts come from the library of the program under test:
// the Japanese one on the Japanese screens (scripts/check).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "screenshot.h"
#include "skin/font_spec.h"
#include "system_test.h"
#include "wizard/page_table.h"

namespace {

const int kHeadingPoints = 11; // the heading line
const int kTextPoints = 10;    // caption, body and Next's label
// Page 0's white bar, at most this place, between its body and the buttons.
const RECT kIntroBar = {11, 418, 339, 421};
// How far ink may lie from the edges of the place its text needs.
const int kInkSlack = 1;
const int kInkReach = 4;

struct PageTexts {
    int heading, note, caption, body;
    int nextLabel; // 0: Next is hidden
};

const PageTexts kPages[] = {
    {IDS_PAGE0_HEADING, 0, 0, IDS_PAGE0_BODY, 0},
    {IDS_PAGE1_HEADING, IDS_PAGE1_NOTE, IDS_PAGE1_CAPTION, IDS_PAGE1_BODY, IDS_NEXT},
    {IDS_PAGE2_HEADING, IDS_PAGE2_NOTE, IDS_PAGE2_CAPTION, IDS_PAGE2_BODY, IDS_NEXT},
    {IDS_PAGE3_HEADING, IDS_PAGE3_NOTE, IDS_PAGE3_CAPTION, IDS_PAGE3_BODY, IDS_NEXT},
    {IDS_PAGE4_HEADING, 0, 0, IDS_PAGE4_BODY, IDS_FINISH},
};

class Library {
  public:
    Library() {
        program = LoadLibraryExA((ProgramFolder() + "\\Morvane.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    }
    ~Library() { FreeLibrary(program); }
    std::string Text(int id) const { return ProgramText(id); }
    Screenshot Bitmap(int id) const {
        // A section keeps the bitmap's colours on a screen of fewer.
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(program, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP size = {};
        GetObjectA(bitmap, sizeof size, &size);
        Canvas canvas(size.bmWidth, size.bmHeight);
        HDC source = CreateCompatibleDC(canvas.Dc());
        HGDIOBJ previous = SelectObject(source, bitmap);
        BitBlt(canvas.Dc(), 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
        DeleteObject(bitmap);
        return canvas.Read();
    }

  private:
    HMODULE program;
};

// Widens the bounds of the ink found by a pixel.
void AddInk(RECT& ink, int x, int y) {
    RECT pixel = {x, y, x + 1, y + 1};
    UnionRect(&ink, &ink, &pixel);
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

enum Alignment { kLeft, kRight, kCentred, kWrapped };

// A text of the page in its box, and the place in the box that its ink needs.
struct PlacedText {
    std::string name;
    RECT box;
    RECT needed;
    int lineHeight;
    bool wrapped;
    RECT ink;
};

PlacedText Place(const std::string& name, const std::string& text, const RECT& box, int points,
                 Alignment alignment, int weight = FW_NORMAL) {
    FontSpec spec;
    spec.SetPointSize(points);
    spec.SetWeight(weight);
    HDC dc = CreateCompatibleDC(nullptr);
    const UINT format = alignment == kWrapped ? DT_WORDBREAK
                        : alignment == kRight ? DT_SINGLELINE | DT_RIGHT
                                              : DT_SINGLELINE;
    // The page draws each text in a font that fits its box.
    HFONT font = spec.CreateFittingFont(dc, text.c_str(), box, format);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SIZE size;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    RECT needed = {box.left, box.top, box.left + size.cx, box.top + size.cy};
    if (alignment == kWrapped) {
        RECT lines = {0, 0, box.right - box.left, 0};
        DrawTextA(dc, text.c_str(), -1, &lines, DT_CALCRECT | DT_WORDBREAK);
        needed.right = box.left + lines.right;
        needed.bottom = box.top + lines.bottom;
    } else if (alignment == kRight) {
        OffsetRect(&needed, box.right - needed.right, 0);
    } else if (alignment == kCentred) {
        OffsetRect(&needed, (box.right - needed.right) / 2, (box.bottom - needed.bottom) / 2);
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return {name, box, needed, static_cast<int>(metrics.tmHeight), alignment == kWrapped, RECT{}};
}

// On a screen of 256 colours the tests' Wine draws through its X11 driver,
// where a program's palette reaches the screen but no child window is ever
// painted (a plain button stays black): there only the window's own drawing
// is read, and Next's label, drawn by the button, is not.
bool ControlsShow() {
    return !ScreenHasPalette();
}

RECT Box(const PageArea& area) {
    return {area.left, area.top, area.right, area.bottom};
}

// A child's place in the main window's client area.
RECT PlaceOf(HWND main, HWND child) {
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool Inside(const RECT& r, int x, int y, int slack = 0) {
    return x >= r.left - slack && x < r.right + slack && y >= r.top - slack && y < r.bottom + slack;
}

class PageTextsOnScreen : public SystemTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        if (GetSystemMetrics(SM_CYSCREEN) < background.height) {
            GTEST_SKIP() << "the window is taller than this screen: its texts cannot all show";
        }
        SystemTest::SetUp();
        MarkSetupDone();
        FontSpec::ChooseFaceName();
        // Page 0 shows while no camera is plugged in.
        Start(GetParam() != 0 ? kPluggedIn : kUnplugged);
    }

    std::vector<PlacedText> TextsOf(int page) const {
        const PageTexts& ids = kPages[page];
        std::vector<PlacedText> texts;
        auto add = [&](const char* name, int id, const RECT& box, int points, Alignment alignment) {
            if (id != 0) {
                texts.push_back(Place(name, library.Text(id), box, points, alignment));
            }
        };
        add("heading", ids.heading, Box(kHeadingArea), kHeadingPoints, kLeft);
        add("note", ids.note, Box(kHeadingArea), kHeadingPoints, kRight);
        add("caption", ids.caption, Box(kCaptionArea), kTextPoints, kLeft);
        add("body", ids.body, Box(page == 0 ? kIntroBodyArea : kBodyArea), kTextPoints, kWrapped);
        if (ControlsShow()) {
            add("Next", ids.nextLabel, PlaceOf(main, GetDlgItem(main, IDC_NEXT)), kTextPoints,
                kCentred);
        }
        return texts;
    }

    // What the screen shows wrong on the page; nothing once it is right.
    std::vector<std::string> Faults(int page, const Screenshot& shown,
                                    std::vector<PlacedText> texts) const {
        std::vector<std::string> faults;
        if (shown.width != background.width || shown.height != background.height) {
            return {"the window is not the background's size"};
        }
        HWND next = ControlsShow() ? GetDlgItem(main, IDC_NEXT) : nullptr;
        RECT nextPlace = IsShown(next) ? PlaceOf(main, next) : RECT{};
        // The controls draw themselves, Next's label excepted.
        std::vector<RECT> controls;
        for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsShown(child) && child != next) {
                controls.push_back(PlaceOf(main, child));
            }
        }
        // The screen may show a colour a little off what was drawn.
        const int tolerance = ScreenColourTolerance();
        RECT stray = {};
        int barWhite = 0;
        // How far the skin around the texts shows from its own colours.
        long long offColour = 0, plainChannels = 0;
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                bool onControl = false;
                for (const RECT& control : controls) {
                    onControl = onControl || Inside(control, x, y);
                }
                bool onNext = Inside(nextPlace, x, y);
                DWORD under = onNext ? nextFace.At(x - nextPlace.left, y - nextPlace.top)
                                     : background.At(x, y);
                if (onControl) {
                    continue;
                }
                bool onText = page == 0 && Inside(kIntroBar, x, y);
                for (const PlacedText& text : texts) {
                    onText = onText || Inside(text.needed, x, y, kInkSlack);
                }
                if (!onText) {
                    offColour += ColourDistance(shown.At(x, y), under);
                    plainChannels += 3;
                }
                if (Alike(shown.At(x, y), under, tolerance)) {
                    continue;
                }
                if (page == 0 && Inside(kIntroBar, x, y) &&
                    Alike(shown.At(x, y), 0xFFFFFF, tolerance)) {
                    ++barWhite;
                    continue;
                }
                PlacedText* owner = nullptr;
                for (PlacedText& text : texts) {
                    owner = !owner && Inside(text.needed, x, y, kInkSlack) ? &text : owner;
                }
                AddInk(owner ? owner->ink : stray, x, y);
            }
        }
        const long long kMostOffColour = 12; // of 255, per channel on average
        if (offColour > kMostOffColour * plainChannels) {
            faults.push_back("the skin shows " + std::to_string(offColour / plainChannels) +
                             " of 255 off its colours");
        }
        if (!IsRectEmpty(&stray)) {
            faults.push_back("ink outside every text, in " + Describe(stray));
        }
        if (page == 0 && barWhite < kIntroBar.right - kIntroBar.left - 8) {
            faults.push_back("the white bar shows " + std::to_string(barWhite) + " pixels");
        }
        for (size_t i = 0; i < texts.size(); ++i) {
            const PlacedText& t = texts[i];
            RECT both;
            if (!UnionRect(&both, &t.box, &t.needed) || !EqualRect(&both, &t.box)) {
                faults.push_back(t.name + " needs " + Describe(t.needed) + ", cut by its box " +
                                 Describe(t.box));
            }
            for (size_t j = i + 1; j < texts.size(); ++j) {
                RECT common;
                if (IntersectRect(&common, &t.needed, &texts[j].needed)) {
                    faults.push_back(t.name + " runs into " + texts[j].name);
                }
            }
            // The ink reaches every edge of the place: the first and last
            // letters and the last line show.
            const RECT& ink = t.ink;
            if (IsRectEmpty(&ink) || ink.left > t.needed.left + kInkReach ||
                (!t.wrapped && ink.right < t.needed.right - kInkReach) ||
                ink.top > t.needed.top + t.lineHeight / 2 ||
                ink.bottom < t.needed.bottom - t.lineHeight / 2) {
                faults.push_back(t.name + " needs " + Describe(t.needed) + ", its ink fills " +
                                 Describe(ink));
            }
        }
        return faults;
    }

    // Whether the page's texts come to show as they should; what is still
    // wrong otherwise.
    void ExpectTextsOnScreen(int page) {
        std::vector<PlacedText> texts = TextsOf(page);
        std::vector<std::string> faults;
        const bool shown = HoldsWithin(
            [&] { return (faults = Faults(page, CaptureFromScreen(main), texts)).empty(); },
            kProgramBoundMs);
        std::string all;
        for (const std::string& fault : faults) {
            all += "\n  " + fault;
        }
        EXPECT_TRUE(shown) << "page " << page << ":" << all;
    }

    Library library;
    Screenshot background = library.Bitmap(IDB_BACKGROUND);
    Screenshot nextFace = library.Bitmap(IDB_NAV_NORMAL);
};

} // namespace

// The about box's title, bold, fits the strip left of its close button in
// the font the box draws it in on this screen. (Its ink is not read back: the
// strip, read from the box, now and then differs from its bitmap as a whole.)
TEST(AboutBoxText, FitsItsTitleStrip) {
    const RECT kTitleStrip = {10, 8, 356, 32}; // the about box's layout
    FontSpec::ChooseFaceName();
    PlacedText title =
        Place("title", ProgramText(IDS_ABOUT_TITLE), kTitleStrip, kHeadingPoints, kLeft, FW_BOLD);
    RECT both;
    UnionRect(&both, &title.box, &title.needed);
    EXPECT_TRUE(EqualRect(&both, &title.box))
        << "the title needs " << Describe(title.needed) << ", cut by " << Describe(title.box);
}

// Page 0 is the one page without a camera; pages 1 to 3 are checked on the
// way to the last page and back, so that a text or label left from another
// page would show too.
TEST_P(PageTextsOnScreen, ShowEachTextWholeInItsPlaceAndNothingElse) {
    const int page = GetParam();
    std::vector<int> route = {0};
    if (page != 0) {
        route = {1, 2, 3, 4, 3, 2, 1};
    }
    for (size_t i = 0; i < route.size(); ++i) {
        if (i > 0) {
            PressButton(main, route[i] > route[i - 1] ? IDC_NEXT : IDC_PREV);
        }
        WaitForPage(route[i]);
        if (route[i] == page) {
            ExpectTextsOnScreen(page);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, PageTextsOnScreen, ::testing::Range(0, 5));
