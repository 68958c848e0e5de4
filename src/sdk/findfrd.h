// The host's member search: finds the members of buddy groups by name,
// Latin spelling and id while the user types into an edit, and answers
// later, on the UI thread, through the callback of the edit it is bound to.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sdk/qel.h"
#include "sdk/win32.h"

class CRichEditUI;

namespace client {

// One member found.
struct FIND_ITEM {
    float fMatchScore = 0;  // lower is a better match
    std::u16string strId;
    std::u16string strDisplayName;
    std::u16string strAvatarPath;
    int nState = 0;
};
using FIND_CONTAIN = std::vector<FIND_ITEM>;
// The search answers in several lists, in the order it ranks them.
using FIND_CONTAIN_MAIN = std::vector<FIND_CONTAIN>;

// (results, number of records, whether the search is complete)
using FindResultCallback = std::function<void(FIND_CONTAIN_MAIN& results, int count, bool complete)>;

// Option flags of a search description.
constexpr uint32_t FIND_OPT_MEMBERS = 0x1;     // members of the scope's groups
constexpr uint32_t FIND_OPT_AT_KEYWORD = 0x2;  // the keyword follows the last "@" before the caret

// What a search is bound to.
struct FIND_CONTROL_DESC {
    CRichEditUI* pEdit = nullptr;  // the edit the keyword is read from
    HWND hEditWnd = nullptr;       // its window; a gone window gets no answer
    qel_handle account = nullptr;
    std::vector<qel_handle> scope;  // the buddy groups searched
    int nKind = 0;                  // the kind number of the chat window type
    uint32_t dwOptions = 0;
    FindResultCallback callback;
};

class _CFindFrdSDK {
public:
    virtual ~_CFindFrdSDK() = default;
    // Binds the search to the edit (replacing any earlier binding) and
    // starts a search for the keyword the edit holds now.
    virtual void SetControl(const FIND_CONTROL_DESC& desc) = 0;
    // Releases the binding; a search still under way answers nobody.
    virtual void ResetControl() = 0;
};

// A new member search; the caller owns it.
std::unique_ptr<_CFindFrdSDK> CreateFindFrdSDK();

}  // namespace client
