// The module's wide string for host calls.
#pragma once

#include <string>

#include "module/ObjectImpl.h"
#include "sdk/pfx_containers.h"

namespace pfx {

class CStdString : public tavi::CObjectImpl<IStdString> {
public:
    static constexpr GUID kClassId = MakeGuid("{4B3553AB-124B-402F-844D-192AB31F770D}");

    CStdString() = default;
    explicit CStdString(std::u16string text) : m_text(std::move(text)) {}

    GUID GetClassId() const override { return kClassId; }
    const char16_t* GetString() override { return m_text.c_str(); }
    uint32_t GetLength() const override { return uint32_t(m_text.size()); }
    void SetString(const char16_t* text) override {
        if (text) m_text = text;
    }
    bool IsEmpty() const override { return m_text.empty(); }
    const char16_t* GetString() const override { return m_text.c_str(); }

private:
    std::u16string m_text;
};

}  // namespace pfx
