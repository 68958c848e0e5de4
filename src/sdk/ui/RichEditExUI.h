// A message view: a rich edit whose text is a sequence of messages, each
// kept by a signed 64-bit id with its character range. Insertions are
// bracketed by CREidtInsertHelper so the range belongs to the id.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "sdk/ui/RichEditUI.h"

struct CHARRANGE {
    long cpMin = 0;
    long cpMax = 0;
};

// What an id in the view stands for.
enum class EMsgKind { Msg, Notice, Pane, HeaderLine };

struct SViewMsg {
    int64_t id = 0;
    EMsgKind kind = EMsgKind::Msg;
    long start = 0;
    long end = 0;
    bool visible = true;
};

// The header line's id (the line kept above all messages).
constexpr int64_t kHeaderLineMsgId = INT64_MIN;

class CRichEditExUI : public CRichEditUI {
public:
    const char16_t* GetClassName() const override { return u"RichEditEx"; }

    // False for an unknown id.
    bool GetMsgRange(int64_t id, CHARRANGE& range) const;
    bool HasMsg(int64_t id) const;
    // The message holding the character; 0 when none.
    int64_t GetMsgIdByPos(long pos) const;
    // The message under a client point; 0 when none.
    int64_t GetMsgIdByPoint(TPointUI point) const;
    // The messages that overlap [start, end), in order.
    void GetMsgIdListByRange(long start, long end, std::vector<int64_t>& ids) const;
    // The first and last messages in the visible part; false when none shows.
    bool GetVisibleMsg(int64_t& firstId, int64_t& lastId) const;
    // Messages (panes and notices with ids included, the header line not).
    int GetMsgCount() const;
    // Removes the message's text and id; false for an unknown id.
    bool DeleteMsg(int64_t id);
    // Scrolls so the message shows; false for an unknown id.
    bool EnableMsgVisible(int64_t id);
    // Hides or shows a message (its text stays); false for an unknown id.
    bool SetMsgVisible(int64_t id, bool visible);
    const std::vector<SViewMsg>& GetMsgs() const { return m_msgs; }
    int64_t GetFirstMsgId() const;
    int64_t GetLastMsgId() const;

    // The header line: one line kept at the top ("show more" and the like).
    void SetHeaderLine(const std::u16string& text);
    bool HasHeaderLine() const;
    void RemoveHeaderLine();
    // Where history goes: just below the header line.
    long GetTopInsertPos() const;
    // Empties the view but keeps the header line.
    void ClearExceptHeaderLine();

    // Caches that the view may drop; counted.
    void ClearResource() { ++m_clearResourceCount; }
    int GetClearResourceCount() const { return m_clearResourceCount; }
    void ClearDot() { ++m_clearDotCount; }
    int GetClearDotCount() const { return m_clearDotCount; }

    // The bar under the view that says new messages arrived below.
    void SetBottomPanel(CControlUI* panel) { m_bottomPanel = panel; }
    CControlUI* GetBottomPanel() const { return m_bottomPanel; }
    void ShowBottomPanel(bool show);
    // True when the view has a bottom panel and is scrolled up from its end.
    bool IsNeedShowBottomPanel() const;

    // The open insertion: everything inserted at its point (through the
    // helper or the edit's own inserts at the caret) belongs to its id.
    bool BeginMsgInsert(int64_t id, long pos, EMsgKind kind);
    bool IsInserting() const { return m_insertStart >= 0; }
    long GetInsertPos() const { return m_insertPos; }
    // Records the range; raises UINOTIFY_RE_ADDMSG (not for the header line).
    bool EndMsgInsert();

protected:
    void OnTextReplaced(long start, long end, long length) override;

private:
    const SViewMsg* Find(int64_t id) const;
    void AddMsgRange(int64_t id, EMsgKind kind, long start, long end);

    std::vector<SViewMsg> m_msgs;  // in document order
    std::unordered_set<int64_t> m_ids;  // of m_msgs: an id not shown is known at once
    CControlUI* m_bottomPanel = nullptr;
    int m_clearResourceCount = 0;
    int m_clearDotCount = 0;
    int64_t m_insertId = 0;
    EMsgKind m_insertKind = EMsgKind::Msg;
    long m_insertStart = -1;
    long m_insertPos = -1;
};

// Brackets one insertion into a message view: everything inserted between
// BeginInsert and EndInsert belongs to the id.
class CREidtInsertHelper {
public:
    explicit CREidtInsertHelper(CRichEditExUI* edit) : m_edit(edit) {}
    // An insertion left open is ended (and still belongs to its id).
    ~CREidtInsertHelper();
    CREidtInsertHelper(const CREidtInsertHelper&) = delete;
    CREidtInsertHelper& operator=(const CREidtInsertHelper&) = delete;

    // pos: where the insertion starts (-1: the end; the top is
    // GetTopInsertPos()); the caret moves there. An id already in the view
    // grows by what is inserted. An insertion still open is ended first.
    bool BeginInsert(int64_t id, long pos = -1, EMsgKind kind = EMsgKind::Msg);
    void InsertText(const std::u16string& text);
    COleImageObj* InsertImage(const std::u16string& path);
    bool InsertImage(COleImageObj* image);
    bool InsertControl(CControlUI* control, int32_t x, int32_t width, int32_t height);
    void InsertLink(const char16_t* text, CLinkObj* link, int type, bool flag, tagTextFormat* format);
    long GetInsertPos() const { return m_edit ? m_edit->GetInsertPos() : -1; }
    // False without BeginInsert.
    bool EndInsert();

private:
    CRichEditExUI* m_edit;
    bool m_open = false;
};
