// The shake button of a conversation window: a click shakes the partner's
// window (at most once in ten seconds, never an offline partner, never
// without the permission to send); the drop-down menu switches whether
// shakes from others are accepted.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/ui/CompositeUI.h"

namespace tavi {

inline constexpr int32_t kShakeMenuId = 0xA276;
inline constexpr int32_t kAcceptShakeItemId = 0xA277;
inline constexpr uint32_t kWmShakeWindow = 0x5225;
inline constexpr int64_t kMinShakeGapSeconds = 10;

class CShakeMsgWidgetPanel : public CCompositeUI {
public:
    void OnCreate() override;
    bool ProcessNotify(TNotifyUI& msg) override;

    const std::u16string& GetInstanceName() const { return m_instanceName; }
    const std::u16string& GetSessionId() const { return m_sessionId; }
    int64_t GetLastShakeTime() const { return m_lastShakeTime; }

private:
    bool OnBtnShake(TNotifyUI& msg);
    bool OnBtnShakeMenu(TNotifyUI& msg);
    void ShowShakeMenu();
    void WriteNotice(const std::u16string& notice);

    std::u16string m_instanceName;
    std::u16string m_sessionId;
    int64_t m_lastShakeTime = 0;
};

}  // namespace tavi
