// Every text of the resource library fits the field the program copies it to.
#include "res/resource_ids.h"
#include "res/strings_en.h"
#include "wizard/page_table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const size_t kLoadLimit = 259; // LoadStringA into a 260-character buffer
const size_t kHeadingLimit = 255;
const size_t kNoteLimit = 31;

struct LibraryText {
    int id;
    const char* text;
    size_t limit;
};

const LibraryText kTexts[] = {
    {IDS_PAGE1_HEADING, TEXT_PAGE1_HEADING, kHeadingLimit},
    {IDS_PAGE2_HEADING, TEXT_PAGE2_HEADING, kHeadingLimit},
    {IDS_PAGE3_HEADING, TEXT_PAGE3_HEADING, kHeadingLimit},
    {IDS_PAGE4_HEADING, TEXT_PAGE4_HEADING, kHeadingLimit},
    {IDS_PAGE0_HEADING, TEXT_PAGE0_HEADING, kHeadingLimit},
    {IDS_PAGE1_CAPTION, TEXT_PAGE1_CAPTION, kHeadingLimit},
    {IDS_PAGE2_CAPTION, TEXT_PAGE2_CAPTION, kHeadingLimit},
    {IDS_PAGE3_CAPTION, TEXT_PAGE3_CAPTION, kHeadingLimit},
    {IDS_PAGE1_NOTE, TEXT_PAGE1_NOTE, kNoteLimit},
    {IDS_PAGE2_NOTE, TEXT_PAGE2_NOTE, kNoteLimit},
    {IDS_PAGE3_NOTE, TEXT_PAGE3_NOTE, kNoteLimit},
    {IDS_PAGE0_BODY, TEXT_PAGE0_BODY, kLoadLimit},
    {IDS_PAGE1_BODY, TEXT_PAGE1_BODY, kLoadLimit},
    {IDS_PAGE2_BODY, TEXT_PAGE2_BODY, kLoadLimit},
    {IDS_PAGE3_BODY, TEXT_PAGE3_BODY, kLoadLimit},
    {IDS_PAGE4_BODY, TEXT_PAGE4_BODY, kLoadLimit},
    {IDS_NEXT, TEXT_NEXT, kLoadLimit},
    {IDS_PREV, TEXT_PREV, kLoadLimit},
    {IDS_FINISH, TEXT_FINISH, kLoadLimit},
    {IDS_CANCEL, TEXT_CANCEL, kLoadLimit},
    {IDS_RESET, TEXT_RESET, kLoadLimit},
    {IDS_ABOUT_OK, TEXT_ABOUT_OK, kLoadLimit},
    {IDS_ABOUT_TITLE, TEXT_ABOUT_TITLE, kLoadLimit},
    {IDS_NAME_PLAY, TEXT_NAME_PLAY, kLoadLimit},
    {IDS_NAME_PAUSE, TEXT_NAME_PAUSE, kLoadLimit},
    {IDS_NAME_STOP, TEXT_NAME_STOP, kLoadLimit},
    {IDS_NAME_FORWARD, TEXT_NAME_FORWARD, kLoadLimit},
    {IDS_NAME_REWIND, TEXT_NAME_REWIND, kLoadLimit},
    {IDS_NAME_MUTE, TEXT_NAME_MUTE, kLoadLimit},
    {IDS_NAME_VOLUME, TEXT_NAME_VOLUME, kLoadLimit},
    {IDS_NAME_QUALITY, TEXT_NAME_QUALITY, kLoadLimit},
    {IDS_NAME_BRIGHTNESS, TEXT_NAME_BRIGHTNESS, kLoadLimit},
    {IDS_NAME_CLOSE, TEXT_NAME_CLOSE, kLoadLimit},
    {IDS_NAME_MINIMIZE, TEXT_NAME_MINIMIZE, kLoadLimit},
};

const LibraryText* Find(int id) {
    for (const LibraryText& entry : kTexts) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

TEST(ResourceLibrary, EveryTextIsPresentAndFitsItsField) {
    for (const LibraryText& entry : kTexts) {
        size_t length = std::strlen(entry.text);
        EXPECT_GT(length, 0u) << "string " << entry.id;
        EXPECT_LE(length, entry.limit) << "string " << entry.id;
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
            const LibraryText* entry = Find(text.id);
            ASSERT_NE(nullptr, entry) << "page " << page << ", string " << text.id;
            EXPECT_EQ(text.limit, entry->limit) << "page " << page << ", string " << text.id;
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
