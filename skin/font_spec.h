// A logical font description whose face is the process-wide preferred one.
#ifndef MORVANE_SKIN_FONT_SPEC_H
#define MORVANE_SKIN_FONT_SPEC_H

#include <windows.h>

class FontSpec {
  public:
    // 10 points, weight 400, the default character set and the chosen face.
    // Points are pixels of the design (text_fit.h), whatever the screen's
    // pixels per inch: the skin around the texts is in pixels.
    FontSpec();

    void SetPointSize(int points);
    void SetWeight(int weight);

    // A new font from the description; the caller owns and deletes it.
    HFONT CreateFontHandle() const;

    // The same, a pixel smaller at a time while `text` drawn on `dc` with
    // DrawTextA's `format` does not fit `box` (text_fit.h).
    HFONT CreateFittingFont(HDC dc, const char* text, const RECT& box, UINT format) const;

    // Picks the process-wide face among the installed fonts.
    static void ChooseFaceName();

  private:
    LOGFONTA description;
};

// Draws `text` in `box` with a font of `spec` that fits it, then puts the
// device context's font back.
void DrawFittedText(HDC dc, const FontSpec& spec, const char* text, const RECT& box, UINT format);

// A text that is drawn again and again in the same box: its fitting font is
// made at the first drawing and kept until the text changes (Forget).
class FittedText {
  public:
    FittedText() : font(NULL) {}
    ~FittedText() { Forget(); }
    void Forget();
    void Draw(HDC dc, const FontSpec& spec, const char* text, const RECT& box, UINT format);

  private:
    FittedText(const FittedText&);
    FittedText& operator=(const FittedText&);
    HFONT font;
};

#endif
