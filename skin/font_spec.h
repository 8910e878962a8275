// A logical font description whose face is the process-wide preferred one.
#ifndef MORVANE_SKIN_FONT_SPEC_H
#define MORVANE_SKIN_FONT_SPEC_H

#include <windows.h>

class FontSpec {
  public:
    // 10 points, weight 400, the default character set and the chosen face.
    FontSpec();

    void SetPointSize(int points);
    void SetWeight(int weight);

    // A new font from the description; the caller owns and deletes it.
    HFONT CreateFontHandle() const;

    // Picks the process-wide face among the installed fonts.
    static void ChooseFaceName();

  private:
    LOGFONTA description;
};

#endif
