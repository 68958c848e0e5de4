// The chat world of the component's tests (the module started in this
// process, "me" logged in, buddy "bob", group "g1" and their
// conversations), built afresh for one fuzz input and forgotten when the
// input is done, so that no input sees what another left behind.
#pragma once

#include "sim/driver.h"
#include "support/ChatWorld.h"

namespace fuzz {

class World : public support::ChatWorld {
public:
    World() {
        sim::ResetAll();
        // Texts as their keys: the same whatever the language files say.
        sim::SetLanguage(sim::Language::Keys);
        LoadModule();
        AddPeople();
    }
    ~World() {
        CloseWindows();
        Stop();
    }
};

}  // namespace fuzz
