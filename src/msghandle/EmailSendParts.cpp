#include "msghandle/EmailSendParts.h"

#include <algorithm>

#include "sdk/ui/RichEditUI.h"

namespace tavi {

namespace {
constexpr char16_t kObjectChar = u'\uFFFC';
}  // namespace

CEmailSendParts::CEmailSendParts(std::u16string sent, const std::vector<size_t>& ends,
                                 const std::vector<size_t>& itemParts)
    : m_sent(std::move(sent)), m_rest(m_sent) {
    size_t begin = 0;
    for (size_t end : ends) {
        end = std::clamp(end, begin, m_sent.size());
        SPart part;
        part.begin = begin;
        part.end = end;
        m_parts.push_back(part);
        begin = end;
    }
    for (size_t part : itemParts) {
        if (part < m_parts.size()) ++m_parts[part].pendingItems;
    }
}

size_t CEmailSendParts::OffsetInRest(size_t part) const {
    size_t offset = m_parts[part].begin;
    for (size_t n = 0; n < part; ++n) {
        if (m_parts[n].removed) offset -= m_parts[n].end - m_parts[n].begin;
    }
    return offset;
}

void CEmailSendParts::Went(size_t part, CRichEditUI* input) {
    if (part >= m_parts.size() || m_parts[part].pendingItems == 0) return;
    if (--m_parts[part].pendingItems > 0 || m_parts[part].failed || !input) return;
    const size_t at = input->GetText().find(m_rest);
    if (at == std::u16string::npos) return;
    const size_t offset = OffsetInRest(part);
    const size_t length = m_parts[part].end - m_parts[part].begin;
    input->ReplaceRange(long(at + offset), long(at + offset + length), u"");
    m_rest.erase(offset, length);
    m_parts[part].removed = true;
}

void CEmailSendParts::Failed(size_t part) {
    if (part >= m_parts.size() || m_parts[part].pendingItems == 0) return;
    --m_parts[part].pendingItems;
    m_parts[part].failed = true;
}

bool CEmailSendParts::Settled() const {
    return std::none_of(m_parts.begin(), m_parts.end(),
                        [](const SPart& part) { return part.pendingItems > 0; });
}

void CEmailSendParts::Restore(CRichEditUI* input) const {
    if (!input || input->GetText().find(m_rest) != std::u16string::npos) return;
    // The pictures of a replaced text are gone with it; their text is not.
    std::u16string failed;
    for (const SPart& part : m_parts) {
        if (!part.failed) continue;
        for (size_t n = part.begin; n < part.end; ++n) {
            if (m_sent[n] != kObjectChar) failed += m_sent[n];
        }
    }
    if (!failed.empty()) input->ReplaceRange(0, 0, failed);
}

}  // namespace tavi
