#include "skin/tooltip.h"

#include <commctrl.h>

#include "skin/skin_bitmap.h"

Tooltip::Tooltip() {
    window = NULL;
}

void Tooltip::Create(HWND owner) {
    window = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, NULL, WindowModule(owner), NULL);
}

void Tooltip::Add(HWND control, const char* text) {
    if (!window) {
        return; // no tips: the controls keep their names for screen readers
    }
    // The first version of the structure, which the controls of Windows 95
    // know; the tip follows the pointer over the control by itself.
    TOOLINFOA tool;
    ZeroMemory(&tool, sizeof tool);
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text); // copied by the tip window
    SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
