// Objects embedded in rich edits: each takes exactly one character
// (U+FFFC) of the edit's text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sdk/win32.h"

class CRichEditUI;
class CControlUI;

constexpr char16_t kObjectChar = u'\xFFFC';

class COleObject {
public:
    virtual ~COleObject() = default;
    // The edit that holds the object, null before it is inserted.
    CRichEditUI* GetOwner() const { return m_owner; }
    // The index of the object's character in the edit's text; -1 when not inserted.
    long GetCharPos() const;
    // The object's rectangle in the edit's client coordinates.
    bool GetBound(RECT& bound) const;
    void FireViewChange() { ++m_viewChanges; }
    int GetViewChangeCount() const { return m_viewChanges; }
    // The size the object takes in the edit.
    virtual int32_t GetDisplayWidth() const { return 20; }
    virtual int32_t GetDisplayHeight() const { return 20; }

    // Framework internals.
    void SetOwner(CRichEditUI* owner) { m_owner = owner; }

private:
    CRichEditUI* m_owner = nullptr;
    int m_viewChanges = 0;
};

// A decoded picture's facts: read from the file's header only.
class ImageObj {
public:
    enum Format { Unknown, Png, Gif, Jpeg, Bmp };
    ImageObj(Format format, int32_t width, int32_t height, int32_t frames)
        : m_format(format), m_width(width), m_height(height), m_frames(frames) {}
    Format GetFormat() const { return m_format; }
    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    int32_t GetFrameCount() const { return m_frames; }

private:
    Format m_format;
    int32_t m_width;
    int32_t m_height;
    int32_t m_frames;
};

// Picture types: 0 to 3 are pictures (which of key and path they carry is
// the user's business); 100000 is a file shown as an icon.
constexpr int kImageTypeFileIcon = 100000;

class COleImageObj : public COleObject {
public:
    COleImageObj() = default;

    // A picture object for a PNG, GIF, JPEG or BMP file; null when the file
    // is missing or is none of these. The flag asks for a decoded picture
    // (always true here: the header is all that is read).
    static COleImageObj* LoadImage(const std::u16string& path, bool decode);
    static COleImageObj* LoadImageW(const std::u16string& path, bool decode) { return LoadImage(path, decode); }

    int GetImageType() const { return m_imageType; }
    void SetImageType(int type) { m_imageType = type; }
    const std::u16string& GetKey() const { return m_key; }
    void SetKey(const std::u16string& key) { m_key = key; }
    const std::u16string& GetFilePath() const { return m_path; }
    void SetFilePath(const std::u16string& path) { m_path = path; }
    // The loaded picture, null for an object made without a file.
    ImageObj* GetImage() const { return m_image.get(); }
    int32_t GetWidth() const { return m_image ? m_image->GetWidth() : 0; }
    int32_t GetHeight() const { return m_image ? m_image->GetHeight() : 0; }
    int32_t GetFrameCount() const { return m_image ? m_image->GetFrameCount() : 0; }

    // The edit limits the shown size; the picture keeps its own.
    void SetDisplaySize(int32_t width, int32_t height);
    int32_t GetDisplayWidth() const override;
    int32_t GetDisplayHeight() const override;

private:
    int m_imageType = 0;
    std::u16string m_key;
    std::u16string m_path;
    std::unique_ptr<ImageObj> m_image;
    int32_t m_displayWidth = -1;
    int32_t m_displayHeight = -1;
};

// A control shown inside the edit (panes, buttons); the object owns it.
class COleControlObj : public COleObject {
public:
    COleControlObj(CControlUI* control, int32_t width, int32_t height);
    ~COleControlObj() override;
    CControlUI* GetControl() const { return m_control; }
    int32_t GetDisplayWidth() const override { return m_width; }
    int32_t GetDisplayHeight() const override { return m_height; }

private:
    CControlUI* m_control;
    int32_t m_width;
    int32_t m_height;
};

// What a link in an edit stands for.
class CLinkObj {
public:
    CLinkObj() = default;
    CLinkObj(int type, const std::u16string& value) : m_type(type), m_value(value) {}
    virtual ~CLinkObj() = default;
    int GetType() const { return m_type; }
    const std::u16string& GetValue() const { return m_value; }

private:
    int m_type = 0;
    std::u16string m_value;
};
