/* English texts of the resource library Morvane.dll. Platform-free: the .rc
   file and the native fit test both include it. Each text must fit where the
   program copies it: headings and captions 255 characters, heading notes 31,
   everything else 259. */
#ifndef MORVANE_STRINGS_EN_H
#define MORVANE_STRINGS_EN_H

#define TEXT_PAGE0_HEADING "No camera connected"
#define TEXT_PAGE0_BODY                                                                            \
    "Connect the camera to a USB port and switch it on. Morvane finds it by itself a few "        \
    "seconds later and shows its picture here."
#define TEXT_PAGE1_HEADING "Sound"
#define TEXT_PAGE1_NOTE "Step 1 of 4"
#define TEXT_PAGE1_CAPTION "Audio capture device"
#define TEXT_PAGE1_BODY                                                                            \
    "Choose the device that records the camera's sound. The slider beside the speaker sets how "  \
    "loud the preview plays; the speaker button mutes it."
#define TEXT_PAGE2_HEADING "Picture quality"
#define TEXT_PAGE2_NOTE "Step 2 of 4"
#define TEXT_PAGE2_CAPTION "Quality"
#define TEXT_PAGE2_BODY                                                                            \
    "Left gives the finest picture, right the lightest stream. The preview restarts to show each " \
    "change. Reset brings back the camera's own setting."
#define TEXT_PAGE3_HEADING "Brightness"
#define TEXT_PAGE3_NOTE "Step 3 of 4"
#define TEXT_PAGE3_CAPTION "Brightness"
#define TEXT_PAGE3_BODY                                                                            \
    "The camera follows the slider while you move it. Reset brings back the camera's own "        \
    "brightness."
#define TEXT_PAGE4_HEADING "Ready to stream"
#define TEXT_PAGE4_BODY                                                                            \
    "Your choices are in place. Press Finish to keep them, or Cancel to return to the settings "  \
    "you had before."
#define TEXT_NEXT "Next >"
#define TEXT_PREV "< Back"
#define TEXT_FINISH "Finish"
#define TEXT_CANCEL "Cancel"
#define TEXT_RESET "Reset"
#define TEXT_ABOUT_OK "OK"
#define TEXT_ABOUT_TITLE "Morvane camera streaming set-up"
/* The names a screen reader gives the skinned controls. */
#define TEXT_NAME_PLAY "Play"
#define TEXT_NAME_PAUSE "Pause"
#define TEXT_NAME_STOP "Stop"
#define TEXT_NAME_FORWARD "Fast forward"
#define TEXT_NAME_REWIND "Rewind"
#define TEXT_NAME_MUTE "Mute"
#define TEXT_NAME_VOLUME "Volume"
#define TEXT_NAME_QUALITY "Quality"
#define TEXT_NAME_BRIGHTNESS "Brightness"
#define TEXT_NAME_CLOSE "Close"
#define TEXT_NAME_MINIMIZE "Minimise"

#endif
