#include "Runner.h"

namespace host {

// The story scripts/demo tells: what the chat window does, as someone who
// has never seen it would want to watch it.
const char* const kDemoScenario = R"(# The built-in demo.
echo "=== tavi: the chat window of a messaging client, played by tavi-host ==="
echo "Mia is logged in. Her friend Bob wrote 30 messages earlier; 2 more arrived while she was away."
me mia "Mia"
buddy bob "Bob"
buddy carol "Carol"
group team "Project team" bob carol
stored bob 30 read
stored bob 2 unread

echo ""
echo "--- 1. Mia opens the chat with Bob: the unread messages show, older history waits behind a pane."
open person bob
show history
echo "She clicks the pane: ten older messages come in above."
click showmoremsg
show history

echo ""
echo "--- 2. She types a reply and presses Ctrl+Enter. The SDK gets the message; the bubble shows at once."
type "Hi Bob! Sorry, I was in a meeting."
key ctrl+enter
echo "Bob answers."
receive bob "No problem. Did you see the photo from the trip?"
show history 3

echo ""
echo "--- 3. A long message does not fit one message: it is cut into pieces of at most 1024 characters,"
echo "    all shown at once, and handed to the SDK one after the other."
type-repeat 60 "The trip was great. "
send
show history 2

echo ""
echo "--- 4. A picture is uploaded first; the message that carries it is sent once the server has it."
type "Here is mine: "
picture sunset.png
send
show history 1

echo ""
echo "--- 5. When the server refuses a message at once, the reason shows in the history instead of a bubble."
refuse -998
type "Are you there?"
send
echo "When the server accepts a message but then reports a failure, the bubble is marked failed."
fail 5
type "Hello?"
send
show history 4

echo ""
echo "--- 6. In the group chat, members talk and Mia answers."
open group team
receive carol "Welcome back, Mia!"
type "Thanks, Carol!"
send
show history 2

echo ""
echo "--- 7. Mia starts a message to Bob but closes the window: the text is kept as a draft."
close
type "See you tomorrow at"
show input
close
echo "She opens the chat again: the draft is back in the input."
open person bob
show input
echo ""
echo "Everything the SDK was asked to send, in order:"
show sent
)";

}  // namespace host
