#include "Runner.h"

namespace host {

const char* const kDemoScenario = R"(# The demo: a short story of what the chat window does.
wait 10
)";

}  // namespace host
