// The stand-in's one thread: an event loop on a virtual clock. Nothing
// runs by itself; tests and the host program run what is due.
#pragma once

#include <cstdint>
#include <functional>

namespace sim {

using Task = std::function<void()>;
using TaskId = uint64_t;

// Runs on the next turn of the loop, never inside the caller.
TaskId Post(Task task);
// Runs once the virtual clock has advanced by `delayMs`.
TaskId PostDelayed(uint32_t delayMs, Task task);
// A task that has not run yet is dropped; false when there is none.
bool Cancel(TaskId id);

// Milliseconds of virtual time since the world was reset.
uint64_t NowMs();
// Runs every task due now, including those that they post, until none is left.
void RunUntilIdle();
// Moves the clock forward by `ms`, running each task at its own time.
void Advance(uint32_t ms);
size_t PendingTasks();

}  // namespace sim
