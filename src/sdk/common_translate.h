// The client common library's translation service callback.
#pragma once

#include "sdk/qel.h"

namespace common {

struct ITranslationCallback {
    virtual ~ITranslationCallback() = default;
    // A translation of `message` is ready; `shown` says whether to show it.
    virtual void OnTranslationResult(qel_handle message, bool shown) = 0;
};

}  // namespace common
