// The framework's message box and tool tip window.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/ui/TimerSource.h"
#include "sdk/ui/UIDefs.h"

// Answers: the buttons of a box answer from the first on.
constexpr int IDBUTTON_FIRST = 0x32;
constexpr int IDBUTTON_SECOND = 0x33;
constexpr int IDBUTTON_THIRD = 0x34;

// Shows a modal box and returns the pressed button (the first button's
// answer when the user makes no choice). `buttons` names the buttons
// ("#OK", "#NO_YES", ...); width and height are the box's size.
int UIMessageBox(HWND parent, const char16_t* text, const char16_t* caption, const char16_t* buttons, int type,
                 const char16_t* icon = nullptr, int width = 0, int height = 0, bool modal = true);

// A tool tip window pointing at a screen point; it hides itself after its
// display time unless its timer is locked.
class CToolTipUI {
public:
    explicit CToolTipUI(const std::u16string& text);
    void SetText(const std::u16string& text) { m_text = text; }
    const std::u16string& GetText() const { return m_text; }
    void ShowTip(int32_t x, int32_t y, const std::u16string& align, int32_t width, uint32_t displayMs, int showMode);
    void Hide();
    bool IsVisible() const { return m_visible; }
    void LockTimer(bool lock);

private:
    void StartHideTimer();

    std::u16string m_text;
    bool m_visible = false;
    bool m_locked = false;
    uint32_t m_displayMs = 0;
    CTimerSource m_hideTimer;
};
