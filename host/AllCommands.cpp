// Every command area of the host program, in the order it registers them.
// The program and the script fuzzer share this list so that both read the
// same language.
#include "Runner.h"

namespace host {

void AddAllCommands(Runner& runner) {
    AddCoreCommands(runner);
    AddWorldCommands(runner);
    AddUserCommands(runner);
    AddWindowCommands(runner);
    AddObserveCommands(runner);
    AddMentionCommands(runner);
    AddReadStateCommands(runner);
    AddInputToolsCommands(runner);
    AddOtherWindowsCommands(runner);
    AddPictureCommands(runner);
    AddMsgOpsCommands(runner);
    AddWindowPictureCommands(runner);
}

}  // namespace host
