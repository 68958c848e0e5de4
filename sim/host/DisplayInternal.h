// What the stand-in's display side shares with the rest of the host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CRichEditExUI;

namespace sim {

// The text a notice shows: the text part of the notice form, or the text itself.
std::u16string NoticeText(const std::u16string& text);
// What a message body shows in a view; pictures as "[img]".
std::u16string ContentText(const std::string& contentType, const std::string& content);
int64_t NextNoticeId();

// A message the component marked failed.
struct FailMark {
    int64_t shownId;
    std::u16string msgIdText;
    std::u16string notice;
};
const std::vector<FailMark>& FailMarks();
// Whether the shown message is marked failed and its resend button is
// still in the view.
bool IsMarkedFailed(const CRichEditExUI* view, int64_t shownId);


}  // namespace sim
