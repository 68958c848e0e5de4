// The client common library's registry of controls by key, through which
// other parts of the client find a chat window's history view.
#pragma once

class CControlUI;

struct SCtrlValidBinder {
    // Binds the control to the key; a null control forgets the key.
    static void SetCtrlPtr(const char16_t* key, CControlUI* control);
    static CControlUI* GetCtrlPtr(const char16_t* key);
};
