#include "Runner.h"

namespace host {

// Mia's world: her friends, their group, and what Bob wrote earlier.
const char* const kDemoWorld = R"(me mia "Mia"
buddy bob "Bob"
buddy carol "Carol"
group team "Project team" bob carol
stored bob 30 read
stored bob 2 unread
)";

// At the prompt the group has talked a little, and the chat with Bob is in front.
const char* const kReadyChats = R"(open group team
receive carol "Morning all! The build is green again."
receive bob "Great, I will tag the release after lunch."
open person bob
)";

const char* const kReadyLine =
    "You are Mia, chatting with bob; team is open too ('windows'). '> hi' says hi; 'help'; Ctrl+D ends.";

// The story scripts/demo tells: what the chat window does, as someone who
// has never seen it would want to watch it. Every line fits 100 columns.
const char* const kDemoScenario = R"(# The built-in demo.
echo "=== tavi: the chat window of a messaging client, played by tavi-host ==="
echo "Mia is logged in. Bob wrote 30 messages earlier; 2 more arrived while she was away."

echo ""
echo "--- 1. Mia opens the chat with Bob: the unread messages show, older ones wait behind a pane."
open person bob
show history
echo "She asks for more ('more' clicks the pane): ten older messages come in above."
more
show history

echo ""
echo "--- 2. She types a reply and presses Ctrl+Enter: the SDK gets it, the bubble shows at once."
type "Hi Bob! Sorry, I was in a meeting."
key ctrl+enter
echo "Bob answers; the pane under her message says he has read it."
receive bob "No problem. Did you see the photo from the trip?"
show history 3

echo ""
echo "--- 3. A long message is cut into pieces of at most 1024 characters, all shown at once"
echo "    and handed to the SDK one after the other (long texts are shortened here)."
type-repeat 60 "The trip was great. "
send
show history 2

echo ""
echo "--- 4. A picture is uploaded first; the message that carries it goes once the server has it."
type "Here is mine: "
picture sunset.png
send
show history 1

echo ""
echo "--- 5. When the server refuses a message at once, the reason shows instead of a bubble."
refuse -998
type "Are you there?"
send
show history 1
echo "When the server takes a message but reports a failure later, its bubble is marked failed"
echo "(msg-failed) and a notice tells what went wrong."
fail 5
type "Hello?"
send
show history 2
echo "Mia clicks the failed bubble's resend button: this time it goes through."
click resendmsg
show history 1

echo ""
echo "--- 6. She switches to the group chat: members talk and Mia answers."
open group team
receive carol "Welcome back, Mia!"
type "Thanks, Carol!"
send
show history 2
echo "Both chats are open; the star marks the one in front."
windows

echo ""
echo "--- 7. Back with Bob she starts a message, then logs out: the text is kept as a draft."
switch bob
type "See you tomorrow at"
logout
close
login
echo "After logging in again she opens the chat: the draft is back in the input."
open person bob
show input
echo ""
echo "Everything the SDK was asked to send, in order:"
show sent
)";

}  // namespace host
