/* Every text of the resource library, by the name its id (IDS_name) and its
   texts (TEXT_name in English, TEXT_JA_name in Japanese) carry: the string
   tables of both libraries and the tests that check them are made from this
   one list. Platform-free. */
#ifndef MORVANE_TEXT_LIST_H
#define MORVANE_TEXT_LIST_H

#define MORVANE_LIBRARY_TEXTS(TEXT)                                                                \
    TEXT(PAGE1_HEADING)                                                                            \
    TEXT(PAGE2_HEADING)                                                                            \
    TEXT(PAGE3_HEADING)                                                                            \
    TEXT(PAGE4_HEADING)                                                                            \
    TEXT(PAGE1_BODY)                                                                               \
    TEXT(PAGE2_BODY)                                                                               \
    TEXT(PAGE3_BODY)                                                                               \
    TEXT(PAGE4_BODY)                                                                               \
    TEXT(PAGE1_CAPTION)                                                                            \
    TEXT(PAGE2_CAPTION)                                                                            \
    TEXT(PAGE3_CAPTION)                                                                            \
    TEXT(NEXT)                                                                                     \
    TEXT(PREV)                                                                                     \
    TEXT(FINISH)                                                                                   \
    TEXT(CANCEL)                                                                                   \
    TEXT(RESET)                                                                                    \
    TEXT(PAGE0_HEADING)                                                                            \
    TEXT(PAGE0_BODY)                                                                               \
    TEXT(PAGE1_NOTE)                                                                               \
    TEXT(PAGE2_NOTE)                                                                               \
    TEXT(PAGE3_NOTE)                                                                               \
    TEXT(ABOUT_OK)                                                                                 \
    TEXT(ABOUT_TITLE)                                                                              \
    TEXT(NAME_PLAY)                                                                                \
    TEXT(NAME_PAUSE)                                                                               \
    TEXT(NAME_STOP)                                                                                \
    TEXT(NAME_FORWARD)                                                                             \
    TEXT(NAME_REWIND)                                                                              \
    TEXT(NAME_MUTE)                                                                                \
    TEXT(NAME_VOLUME)                                                                              \
    TEXT(NAME_QUALITY)                                                                             \
    TEXT(NAME_BRIGHTNESS)                                                                          \
    TEXT(NAME_CLOSE)                                                                               \
    TEXT(NAME_MINIMIZE)

#endif
