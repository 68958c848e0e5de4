// View modes, friend dynamics and the marquee.
#include <optional>

#include "controls/NewsAnimeUI.h"
#include "module/DllObject.h"
#include "panel/TaviPanel.h"
#include "sdk/common_status.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {

// Slide directions of the marquee: a new line comes up from below, the
// periodic slide goes sideways.
constexpr int32_t kSlideForward = SlideTransition::SLIDE_UP;
constexpr int32_t kSlideBack = SlideTransition::SLIDE_LEFT;
constexpr uint32_t kMarqueeFrameMs = 40;
constexpr int32_t kMarqueeFrames = 10;

// The tips that sit above the marquee when they show.
bool IsTipAboveMarqueeShown(CControlUI* root) {
    for (const char16_t* name : {u"history.view.def_tip_ctn", u"history.view.loginout", u"history.view.birth_tip"}) {
        CControlUI* tip = root->FindSubControl(name);
        if (tip && tip->IsVisible()) return true;
    }
    return false;
}

struct SCtrlPos {
    int32_t anchor, left, top, right, bottom;
};

// Where mini mode puts the controls, and where the normal mode puts them
// back; a control without a place in a column stays where it is.
struct SMiniModeRow {
    const char16_t* name;
    std::optional<SCtrlPos> normal;
    std::optional<SCtrlPos> mini;
};

const SMiniModeRow kMiniModeTable[] = {
    {u"input", SCtrlPos{6, 0, 150, 0, 0}, SCtrlPos{6, 0, 64, 0, 0}},
    {u"history", SCtrlPos{8, 0, 0, 0, 150}, SCtrlPos{8, 0, 0, 0, 64}},
    {u"history.view.def_tip_ctn", SCtrlPos{4, 0, 0, 0, 24}, SCtrlPos{4, 0, 0, 0, 0}},
    {u"history.view.loginout", SCtrlPos{4, 0, 0, 0, 24}, SCtrlPos{4, 0, 0, 0, 0}},
    {u"history.view.viewrichedit", std::nullopt, SCtrlPos{8, 6, 1, 1, 0}},
    {u"input.toolbk", SCtrlPos{4, 0, 0, 0, 28}, SCtrlPos{4, 0, 0, 0, 34}},
    {u"input.left", SCtrlPos{4, 1, 2, 75, 26}, SCtrlPos{7, 1, 0, 155, 34}},
    {u"input.right", SCtrlPos{1, 95, 2, 2, 26}, SCtrlPos{1, 0, 0, 0, 0}},
    {u"input.mask", SCtrlPos{8, 0, 0, 0, 34}, SCtrlPos{8, 156, 2, 84, 32}},
    {u"input.msg_button", SCtrlPos{6, 0, 34, 0, 0}, SCtrlPos{5, 84, 0, 0, 34}},
    {u"input.msg_button.sendmsg", SCtrlPos{2, 91, 29, 30, 5}, SCtrlPos{9, 5, -1, 55, 22}},
    {u"input.msg_button.sendmsgmenu", SCtrlPos{2, 30, 29, 11, 5}, SCtrlPos{9, 60, -1, 19, 22}},
};

}  // namespace

void CTaviPanel::SetCtrlPos(const char16_t* name, int32_t anchor, int32_t left, int32_t top, int32_t right,
                            int32_t bottom) {
    if (CControlUI* control = FindSubControl(name)) control->SetCoordinate(left, top, right, bottom, anchor);
}

void CTaviPanel::RelayoutControl(const char16_t* name) {
    CControlUI* control = FindSubControl(name);
    if (!control) return;
    control->Resize();
    control->Invalidate();
}

// ---- view modes ----

void CTaviPanel::SetView(const char16_t* viewName) {
    TAVI_SCOPE("CTaviPanel::SetView");
    m_viewMode = util::SafeWide(viewName);
    if (m_viewMode == u"only_edit") {
        SetCtrlPos(u"history", 4, 0, 0, 0, 0);
        SetCtrlPos(u"input", 8, 0, 0, 0, 1);
    } else if (m_viewMode == u"only_view") {
        SetCtrlPos(u"history", 8, 0, 0, 0, 1);
        SetCtrlPos(u"input", 6, 0, 0, 0, 0);
    } else {
        return;
    }
    SetItemVisible(this, u"splitter", false);
    Resize();
    Invalidate();
}

void CTaviPanel::SetThinMode() {
    TAVI_SCOPE("CTaviPanel::SetThinMode");
    SetCtrlPos(u"input.left", 4, 1, 2, 0, 26);
    SetItemVisible(this, u"input.left.message", true);
    SetItemVisible(this, u"history.view.def_tip_ctn", false);
    SetItemVisible(this, u"input.msg_button.close", false);
    Resize();
    Invalidate();
}

void CTaviPanel::SetMiniMode(bool mini) {
    TAVI_SCOPE("CTaviPanel::SetMiniMode");
    // An input-only panel keeps its own layout: it has no history to share
    // the height with.
    if (!m_hasHistory) return;
    for (const SMiniModeRow& row : kMiniModeTable) {
        const std::optional<SCtrlPos>& pos = mini ? row.mini : row.normal;
        if (pos) SetCtrlPos(row.name, pos->anchor, pos->left, pos->top, pos->right, pos->bottom);
    }
    if (mini) SetItemVisible(this, u"input.left.imageediter", false);
    SetItemVisible(this, u"splitter", !mini);
    RelayoutControl(u"splitter");
    Resize();
    Invalidate();
}

// ---- friend dynamics ----

void CTaviPanel::AddMarqueeMsg(const char16_t* time, const char16_t* event) {
    const std::u16string eventText = util::SafeWide(event);
    // An entry without an event has nothing to show.
    if (eventText.empty()) return;
    m_marqueeEntries.push_back({util::SafeWide(time), eventText});
}

CNewsAnimeUI* CTaviPanel::GetMarquee() {
    return dynamic_cast<CNewsAnimeUI*>(FindSubControl(u"history.view.frddynamic"));
}

void CTaviPanel::SetMarqueeInfo() {
    CNewsAnimeUI* marquee = GetMarquee();
    if (!marquee) return;
    marquee->SetOwner(this);
    marquee->GetTransition()->SetParam(kMarqueeFrameMs, kMarqueeFrames, 0, 0, 0);
}

bool CTaviPanel::IsFrdEventDisplayed() const {
    CDllObject* state = GetDllObject();
    return state && state->IsMarqueeFinish(m_sessionId);
}

void CTaviPanel::ShowFrdEvent(int32_t show, int32_t rounds) {
    if (IsFrdEventDisplayed()) return;
    m_marqueeRounds = rounds;
    // Nothing to rotate, or no round to rotate it for: the area stays closed.
    const bool visible = show != 0 && rounds > 0 && !m_marqueeEntries.empty();
    UpdateFrddymicPanel(visible);
    if (!visible) {
        m_marqueeTimer.Stop();
        return;
    }
    m_marqueeRoundsShown = 0;
    m_marqueePhase = 0;
    m_marqueeIndex = 0;
    ChangeMarqueeData();
    m_marqueeTimer.Start();
}

void CTaviPanel::ChangeMarqueeData() {
    const int32_t count = int32_t(m_marqueeEntries.size());
    if (count == 0) return;
    if (m_marqueeIndex >= count) {
        ++m_marqueeRoundsShown;
        m_marqueeIndex -= count;
    }
    if (m_marqueeIndex < 0) m_marqueeIndex += count;
    if (m_marqueeIndex >= 0 && m_marqueeIndex < count) {
        const SMarqueeEntry& entry = m_marqueeEntries[size_t(m_marqueeIndex)];
        if (CControlUI* time = FindSubControl(u"layout.time")) time->SetText(entry.time);
        if (CControlUI* event = FindSubControl(u"layout.eventinfo")) event->SetText(common::TryTransToFT(entry.event));
        SetItemVisible(this, u"history.view.frddynamic", true);
    }
    ++m_marqueeIndex;
}

void CTaviPanel::OnMarqueChangedTimer() { NewsShow(false); }

void CTaviPanel::NewsShow(bool forward) {
    CNewsAnimeUI* marquee = GetMarquee();
    if (!marquee) return;
    marquee->GetTransition()->SetSlideType(forward ? kSlideForward : kSlideBack);
    marquee->RewindAnimation();
    marquee->StartTransition(forward ? marquee->GetCurPage() : 0);
}

void CTaviPanel::OnNewsAnimeUIFinish() {
    ++m_marqueePhase;
    if (m_marqueePhase == 1) {
        // The slide out of the old line is done: the next line slides in,
        // unless the last round has just passed its last entry.
        if (m_marqueeRoundsShown >= m_marqueeRounds) return;
        const bool lastRound = m_marqueeRoundsShown == m_marqueeRounds - 1;
        if (lastRound && m_marqueeIndex >= int32_t(m_marqueeEntries.size())) {
            ShowFrdEvent(0, 0);
            m_marqueeTimer.Stop();
            if (CDllObject* state = GetDllObject()) state->AddMarqueeFinish(m_sessionId);
            return;
        }
        ChangeMarqueeData();
        NewsShow(true);
        return;
    }
    m_marqueePhase = 0;
    if (m_marqueeRoundsShown < m_marqueeRounds) m_marqueeTimer.Start();
}

void CTaviPanel::UpdateFrddymicPanel(bool show) {
    CControlUI* view = FindSubControl(u"history.view");
    CControlUI* edit = FindSubControl(u"history.view.viewrichedit");
    CControlUI* marquee = FindSubControl(u"history.view.frddynamic");
    if (!view || !edit || !marquee) return;
    const bool tipShown = IsTipAboveMarqueeShown(this);
    int32_t left, top, right, bottom, anchor;
    marquee->GetCoordinate(left, top, right, bottom, anchor);
    if (show) {
        // The marquee sits under a tip that shows, else at the very top.
        edit->SetCoordinate(6, tipShown ? 44 : 20, 1, 0, 8);
        marquee->SetCoordinate(0, tipShown ? 24 : 0, 0, tipShown ? 44 : 24, anchor);
    } else {
        edit->SetCoordinate(6, tipShown ? 24 : 0, 1, 0, 8);
    }
    marquee->SetVisible(show);
    view->Resize();
    view->Invalidate();
}

}  // namespace tavi
