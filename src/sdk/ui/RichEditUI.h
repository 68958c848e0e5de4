// A rich edit: text in which every embedded object stands as one
// character (U+FFFC), a selection, the default character format, zoom and
// scrolling. Positions and lengths are UTF-16 code units.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdk/ui/ControlUI.h"
#include "sdk/ui/OleObject.h"

// Effect bits of tagTextFormat::dwEffects.
constexpr uint32_t TF_BOLD = 1u << 0;
constexpr uint32_t TF_ITALIC = 1u << 1;
constexpr uint32_t TF_UNDERLINE = 1u << 2;
constexpr uint32_t TF_STRIKEOUT = 1u << 3;

struct tagTextFormat {
    uint32_t dwEffects = 0;
    int32_t nSize = 12;           // points
    uint32_t crColor = 0;         // 0x00BBGGRR
    char16_t szFaceName[32] = {};
};

// A link inserted with InsertLink.
struct SRichEditLink {
    long start = 0;
    long end = 0;
    std::u16string text;
    CLinkObj* link = nullptr;   // not owned
    int type = 0;
    bool flag = false;
};

class CRichEditUI : public CControlUI {
public:
    CRichEditUI();
    ~CRichEditUI() override;
    const char16_t* GetClassName() const override { return u"RichEdit"; }

    // The text with one U+FFFC per object.
    std::u16string GetText() const override { return m_text; }
    // Replaces everything (objects go too); U+FFFC in the text is dropped.
    void SetText(const std::u16string& text) override;
    long GetTextLength() const { return long(m_text.size()); }
    std::u16string GetTextRange(long start, long end) const;
    // Inserts at the caret and leaves the caret after the text.
    void InsertText(const std::u16string& text);
    // Inserts at a position (-1: the end); the caret follows the text.
    void InsertText(long pos, const std::u16string& text);
    void AppendText(const std::u16string& text);
    // Empties the edit.
    void Clear();

    // Selection: end == -1 or start == -1 mean the end of the text;
    // SetSel(0, -1) selects everything. The caret is the selection's end.
    void GetSel(long& start, long& end) const;
    void SetSel(long start, long end);
    void SetSelAll() { SetSel(0, -1); }
    void SetSelNone() { SetSel(-1, -1); }
    long GetCaret() const { return m_selEnd; }
    // The caret's top-left corner in window client coordinates.
    TPointUI GetCaretPos() const;
    std::u16string GetSelText() const;
    bool HasSelection() const { return m_selStart != m_selEnd; }
    void ReplaceSel(const std::u16string& text, bool canUndo = true);
    // The general edit: replaces [start, end) by text and objects (one per
    // U+FFFC in text, in order; the edit takes them). The heart of every edit.
    bool ReplaceRange(long start, long end, const std::u16string& text, std::vector<COleObject*> objects = {});

    // The clipboard (filled by the driver): text and pictures.
    void Copy();
    void Cut();
    void Paste();

    void GetDefaultCharFormat(tagTextFormat& format) const { format = m_format; }
    void SetDefaultCharFormat(const tagTextFormat& format);
    void SetFont(const std::u16string& face, int32_t size, bool bold, bool italic, bool underline);
    uint32_t GetTextColor() const { return m_format.crColor; }
    void SetTextColor(uint32_t color) { m_format.crColor = color; }

    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void SetAutoURLDetect(bool on) { m_autoUrl = on; }
    bool GetAutoURLDetect() const { return m_autoUrl; }
    void SetUndoLimit(int limit) { m_undoLimit = limit; }
    int GetUndoLimit() const { return m_undoLimit; }
    void SetStartIndent(int indent) { m_startIndent = indent; }
    int GetStartIndent() const { return m_startIndent; }
    void EnableImageThumbnail(bool on) { m_thumbnails = on; }
    bool IsImageThumbnail() const { return m_thumbnails; }
    void EnableZoom(bool on) { m_zoomEnabled = on; }
    bool IsZoomEnabled() const { return m_zoomEnabled; }
    // Raises UINOTIFY_RE_ZOOM when the zoom changes.
    bool SetZoom(int numerator, int denominator);
    void GetZoom(int& numerator, int& denominator) const;
    // Pictures inserted later are shown at most this large (aspect kept).
    void SetLimitImageSize(int32_t width, int32_t height);
    void GetLimitImageSize(int32_t& width, int32_t& height) const;

    // Layout model: characters 8 pixels wide, lines 20 high (or an
    // object's height), no wrapping.
    int32_t GetContentHeight() const;
    int32_t GetScrollRange() const;
    int32_t GetScrollPos() const { return m_scrollPos; }
    void SetScrollPos(int32_t pos);
    bool IsVScrollBarVisible() const { return GetScrollRange() > 0; }
    void EndDown();
    void HomeUp() { SetScrollPos(0); }
    bool IsAtEnd() const { return m_scrollPos >= GetScrollRange(); }
    // The top of the line that holds the character, in content pixels.
    int32_t GetCharTop(long pos) const;
    int32_t GetCharLeft(long pos) const;

    // Objects. InsertObject puts the object at pos (-1: the caret).
    bool InsertObject(COleObject* object, long pos = -1);
    COleImageObj* InsertImage(const std::u16string& path, long pos = -1);
    // A control shown in the text; the edit owns it.
    bool InsertControl(CControlUI* control, int32_t x, int32_t width, long pos, int32_t height);
    bool RemoveControl(CControlUI* control);
    int GetObjectCount() const { return int(m_objects.size()); }
    COleObject* GetObjectAt(int index) const;
    COleObject* GetObjectAtPos(long charPos) const;
    long GetObjectPos(const COleObject* object) const;
    // The object under a point in client coordinates, null when none.
    COleObject* FindObject(TPointUI point) const;
    // The pictures of [from, to) in order (to == -1: the end).
    void GetImageObj(CStdPtrArray& list, long from = 0, long to = -1) const;
    COleImageObj* FindImage(const std::u16string& key) const;

    void InsertLink(const char16_t* text, CLinkObj* link, int type, bool flag, tagTextFormat* format);
    const std::vector<SRichEditLink>& GetLinks() const { return m_links; }
    // Turns the links of [start, end) into plain text.
    void RemoveLinks(long start, long end);
    // Colours the selected text; a character's colour is the one last given
    // to a range holding it, else the default format's.
    void SetSelColor(uint32_t color);
    uint32_t GetCharColor(long pos) const;

    // Window messages sent into the edit; kept in order and answered 0.
    intptr_t TxSendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    const std::vector<uint32_t>& GetTxMessages() const { return m_txMessages; }
    // OLE object events (type 4: pointer over an object, 3: pointer left it).
    virtual bool OnOleEvent(TEventUI& event, COleObject* object);

    // Typing: characters insert themselves and raise UINOTIFY_TEXTCHANGED;
    // Enter inserts a line break ("\r").
    void DoEvent(TEventUI& event) override;
    CControlUI* FindSubControl(const std::u16string& name) override;
    void ForEach(const std::function<void(CControlUI*)>& visit) override;

protected:
    // Lets a derived edit follow the text: [start, end) became `length` units.
    virtual void OnTextReplaced(long start, long end, long length);
    void OnWindowChanged() override;

public:
    // Framework internals: an embedded object changed its size, so every
    // line position measured so far is measured again when next needed.
    void InvalidateLayout() const;

private:
    // Where a line starts: its top and how many objects come before it.
    struct SLineStart {
        long start;
        int32_t top;
        int objectsBefore;
    };
    int ObjectIndexBefore(long pos) const;
    void FitImage(COleObject* object) const;
    // Measures lines until the one holding `pos` is known; the line's start.
    const SLineStart& LineOf(long pos) const;
    // Forgets what was measured from `pos` on.
    void ForgetLinesFrom(long pos) const;

    std::u16string m_text;
    std::vector<std::unique_ptr<COleObject>> m_objects;  // document order
    std::vector<SRichEditLink> m_links;
    struct SColorRun {
        long start;
        long end;
        uint32_t color;
    };
    std::vector<SColorRun> m_colorRuns;  // in the order they were given
    std::vector<uint32_t> m_txMessages;
    long m_selStart = 0;
    long m_selEnd = 0;
    tagTextFormat m_format;
    bool m_readOnly = false;
    bool m_autoUrl = true;
    int m_undoLimit = 100;
    int m_startIndent = 0;
    bool m_thumbnails = false;
    bool m_zoomEnabled = false;
    int m_zoomNum = 0;
    int m_zoomDen = 0;
    int32_t m_limitWidth = 0;
    int32_t m_limitHeight = 0;
    int32_t m_scrollPos = 0;

    // Line positions measured so far, in text order; the first always
    // starts at 0. Measuring goes on from m_scan over the last line only,
    // so that appending to a long text costs what the new text costs.
    mutable std::vector<SLineStart> m_lines{SLineStart{0, 0, 0}};
    mutable long m_scan = 0;              // text before this is measured
    mutable int32_t m_scanLineHeight = 20;  // of the last line, up to m_scan
    mutable int m_scanObjects = 0;          // objects before m_scan
};
