// Every text of both resource libraries fits the field the program copies it
// to: the English one in its characters, the Japanese one in its code page 932
// bytes, so that no field ever cuts one.
#include "res/resource_ids.h"
#include "res/strings_en.h"
#include "res/strings_ja.h"
#include "res/text_list.h"
#include "wizard/page_table.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const size_t kLoadLimit = 259; // LoadStringA into a 260-character buffer
const size_t kHeadingLimit = 255;
const size_t kNoteLimit = 31;

// A text in both libraries: the Japanese one as written (UTF-8) and as the
// ANSI API gives it on a Japanese system (code page 932).
struct LibraryText {
    int id;
    const char* english;
    const char* japanese;
};

#define LIBRARY_TEXT(name) {IDS_##name, TEXT_##name, TEXT_JA_##name},
const LibraryText kTexts[] = {MORVANE_LIBRARY_TEXTS(LIBRARY_TEXT)};
#undef LIBRARY_TEXT

// The fields shorter than a whole load: headings and captions, heading notes.
size_t LimitOf(int id) {
    for (int heading :
         {IDS_PAGE0_HEADING, IDS_PAGE1_HEADING, IDS_PAGE2_HEADING, IDS_PAGE3_HEADING,
          IDS_PAGE4_HEADING, IDS_PAGE1_CAPTION, IDS_PAGE2_CAPTION, IDS_PAGE3_CAPTION}) {
        if (id == heading) {
            return kHeadingLimit;
        }
    }
    for (int note : {IDS_PAGE1_NOTE, IDS_PAGE2_NOTE, IDS_PAGE3_NOTE}) {
        if (id == note) {
            return kNoteLimit;
        }
    }
    return kLoadLimit;
}

// The text in code page 932; empty when a character has no place there.
std::string InCodePage932(const char* utf8) {
    iconv_t converter = iconv_open("CP932", "UTF-8");
    std::string input(utf8);
    std::string output(input.size() * 2, '\0');
    char* in = input.data();
    char* out = output.data();
    size_t inLeft = input.size();
    size_t outLeft = output.size();
    size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<size_t>(-1)) {
        return "";
    }
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace

TEST(ResourceLibrary, EveryTextIsPresentAndFitsItsField) {
    for (const LibraryText& entry : kTexts) {
        size_t length = std::strlen(entry.english);
        EXPECT_GT(length, 0u) << "string " << entry.id;
        EXPECT_LE(length, LimitOf(entry.id)) << "string " << entry.id;
        std::string japanese = InCodePage932(entry.japanese);
        EXPECT_GT(japanese.size(), 0u) << "Japanese string " << entry.id << " in code page 932";
        EXPECT_LE(japanese.size(), LimitOf(entry.id)) << "Japanese string " << entry.id;
    }
}

// The table above is checked against what the pages really load, each text
// with the limit of the field it is copied to.
TEST(ResourceLibrary, EveryTextAPageLaysOutIsCheckedAgainstItsField) {
    for (int page = kFirstPage; page <= kLastPage; ++page) {
        PageLayout layout = LayoutOfPage(page);
        const struct {
            int id;
            size_t limit;
        } loaded[] = {{layout.headingId, kHeadingLimit},
                      {layout.noteId, kNoteLimit},
                      {layout.captionId, kHeadingLimit},
                      {layout.bodyId, kLoadLimit},
                      {layout.nextLabelId, kLoadLimit}};
        for (const auto& text : loaded) {
            if (text.id == 0) {
                continue;
            }
            const LibraryText* entry =
                std::find_if(std::begin(kTexts), std::end(kTexts),
                             [&](const LibraryText& listed) { return listed.id == text.id; });
            ASSERT_NE(std::end(kTexts), entry) << "page " << page << ", string " << text.id;
            EXPECT_EQ(text.limit, LimitOf(text.id)) << "page " << page << ", string " << text.id;
        }
    }
}

TEST(ResourceLibrary, PagesTwoAndThreeFollowTheIdentifierRule) {
    // Heading h: note h + 21, caption h + 10, body h + 5, reset button h - 10.
    EXPECT_EQ(IDS_PAGE2_NOTE, IDS_PAGE2_HEADING + 21);
    EXPECT_EQ(IDS_PAGE3_NOTE, IDS_PAGE3_HEADING + 21);
    EXPECT_EQ(IDS_PAGE2_CAPTION, IDS_PAGE2_HEADING + 10);
    EXPECT_EQ(IDS_PAGE3_CAPTION, IDS_PAGE3_HEADING + 10);
    EXPECT_EQ(IDS_PAGE2_BODY, IDS_PAGE2_HEADING + 5);
    EXPECT_EQ(IDS_PAGE3_BODY, IDS_PAGE3_HEADING + 5);
    EXPECT_EQ(IDC_QUALITY_RESET, IDS_PAGE2_HEADING - 10);
    EXPECT_EQ(IDC_BRIGHTNESS_RESET, IDS_PAGE3_HEADING - 10);
}
