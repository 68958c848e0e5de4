// The client common library's translation service: translating a shown
// message, and showing or hiding its translation in a message view.
#pragma once

#include <cstdint>

#include "sdk/qel.h"
#include "sdk/win32.h"

class CRichEditExUI;
struct SQelBoxMsg;

namespace common {

struct ITranslationCallback {
    virtual ~ITranslationCallback() = default;
    // A translation of `message` is ready; `shown` says whether to show it.
    virtual void OnTranslationResult(qel_handle message, bool shown) = 0;
};

// Asks for the translation of a message. 1: it is ready now (nothing will
// call back); 0: it was requested and arrives later through the callback,
// on the UI thread; -1: it cannot be translated.
int TranslationMsg(qel_handle message, SQelBoxMsg& record, bool automatic, HWND window,
                   ITranslationCallback* callback);
// A callback that goes away hears of no translation asked for before.
void CancelTranslationMsg(ITranslationCallback* callback);
// Shows the message shown under `shownId` with its translation, or
// without it when `shown` is false.
void ShowTranslationMsg(CRichEditExUI* view, qel_handle message, int64_t shownId, const char16_t* handleId,
                        bool shown);

}  // namespace common
