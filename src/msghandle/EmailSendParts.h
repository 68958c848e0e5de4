// One e-mail send that the window cut into parts: where each part lies in
// the input and how each fared. A part that went leaves the input; a part
// that failed stays where it is, so that once every answer is in, the
// input holds the failed parts in their order and sending again sends
// only what did not go.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CRichEditUI;

namespace tavi {

class CEmailSendParts {
public:
    // `sent` is the input's text at the send (one U+FFFC per object);
    // `ends` the end of each part in it, ascending, the last one its size;
    // `itemParts` the part of each item that goes out (a part may take
    // several items, each answered once).
    CEmailSendParts(std::u16string sent, const std::vector<size_t>& ends, const std::vector<size_t>& itemParts);

    // An item of the part went. Once all of them went, the part leaves the
    // input, as long as the input still holds what is left of the send;
    // otherwise the user has taken the text over and it stays as they made it.
    void Went(size_t part, CRichEditUI* input);
    // An item of the part failed or never went: the whole part stays.
    void Failed(size_t part);
    // Every part has its answer.
    bool Settled() const;
    // When the input no longer holds the failed parts (the user replaced
    // the text meanwhile), they go back in front of what the user typed.
    void Restore(CRichEditUI* input) const;

private:
    struct SPart {
        size_t begin = 0;
        size_t end = 0;
        size_t pendingItems = 0;
        bool failed = false;
        bool removed = false;
    };
    // Where a part starts in what the input still holds of the send.
    size_t OffsetInRest(size_t part) const;

    std::u16string m_sent;
    std::u16string m_rest;  // the send's text less the parts taken out
    std::vector<SPart> m_parts;
};

}  // namespace tavi
