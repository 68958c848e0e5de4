// The client's application object as the component uses it.
#pragma once

#include "sdk/qel_inst.h"

class IAppMain {
public:
    virtual ~IAppMain() = default;
    // The current SDK instance, null when there is none; not a new reference.
    virtual qel::IQelInst* GetCurQelInst() = 0;
};

IAppMain* GetAppMain();
