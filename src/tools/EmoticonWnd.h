// The emoticon picker's popup: one button per text emoticon of the
// definition file "emoticon.xml", in file order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sdk/tavi.h"
#include "sdk/ui/ButtonUI.h"
#include "sdk/ui/WindowUI.h"

namespace tavi {

// A button of the picker's grid.
class CFaceIconButton final : public CButtonUI {
public:
    const char16_t* GetClassName() const override { return u"FaceIconButton"; }
};

class CEmoticonWnd final : public CWindowUI, public INotifyUI {
public:
    using EmoticonList = std::vector<std::pair<std::u16string, std::u16string>>;

    CEmoticonWnd();

    void SetCallBacks(IEmoticonCallBack* emoticon, void* face) {
        m_pEmoticonCallBack = emoticon;
        m_pFaceCallBack = face;
    }
    IEmoticonCallBack* GetEmoticonCallBack() const { return m_pEmoticonCallBack; }

    // Reads the definition file into the list; a file that is missing,
    // too large, malformed or too deeply nested leaves the list empty.
    void Load(const std::u16string& path);
    const EmoticonList& GetEmoticons() const { return m_emoticons; }
    const std::u16string& GetFilePath() const { return m_filePath; }

    // Beside the tool bar button, kept on the screen in a mirrored engine.
    bool GetPos(const RECT& anchor, RECT& out) const;
    void MoveWindow(const RECT& rect);

    bool OnClickFaceBtn(TNotifyUI& msg);
    bool OnFaceBtnDelegateEvent(TEventUI& event);
    void OnKillFocus();
    bool ProcessNotify(TNotifyUI& msg) override;
    intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // Where the definition file is: the client's configuration folder
    // first, else the module's own.
    static std::u16string FindDefinitionFile();

protected:
    void OnCreate() override;

private:
    EmoticonList m_emoticons;
    std::u16string m_filePath;
    IEmoticonCallBack* m_pEmoticonCallBack = nullptr;
    void* m_pFaceCallBack = nullptr;
};

}  // namespace tavi
