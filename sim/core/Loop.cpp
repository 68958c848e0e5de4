#include "sim/core/Loop.h"

#include <map>
#include <utility>

#include "sim/core/Reset.h"

namespace sim {

namespace {

struct LoopState {
    uint64_t now = 0;
    TaskId nextId = 1;
    // Ordered by due time, then by posting order: equal times run FIFO.
    std::map<std::pair<uint64_t, TaskId>, Task> tasks;
    std::map<TaskId, uint64_t> dueOf;
};

LoopState& State() {
    static LoopState state;
    return state;
}

const bool kRegistered = RegisterReset([] {
    // Tasks may hold objects whose destructors post; drop them outside the map.
    auto old = std::move(State().tasks);
    State() = LoopState{};
});

TaskId Schedule(uint64_t due, Task task) {
    LoopState& s = State();
    const TaskId id = s.nextId++;
    s.tasks.emplace(std::make_pair(due, id), std::move(task));
    s.dueOf.emplace(id, due);
    return id;
}

// Runs the earliest task due at or before `until`; false when there is none.
bool RunOne(uint64_t until) {
    LoopState& s = State();
    if (s.tasks.empty() || s.tasks.begin()->first.first > until) return false;
    auto node = s.tasks.extract(s.tasks.begin());
    s.dueOf.erase(node.key().second);
    if (node.key().first > s.now) s.now = node.key().first;
    node.mapped()();
    return true;
}

}  // namespace

TaskId Post(Task task) { return Schedule(State().now, std::move(task)); }
TaskId PostDelayed(uint32_t delayMs, Task task) { return Schedule(State().now + delayMs, std::move(task)); }

bool Cancel(TaskId id) {
    LoopState& s = State();
    auto it = s.dueOf.find(id);
    if (it == s.dueOf.end()) return false;
    s.tasks.erase(std::make_pair(it->second, id));
    s.dueOf.erase(it);
    return true;
}

uint64_t NowMs() { return State().now; }

void RunUntilIdle() {
    while (RunOne(State().now)) {
    }
}

void Advance(uint32_t ms) {
    const uint64_t until = State().now + ms;
    while (RunOne(until)) {
    }
    State().now = until;
}

size_t PendingTasks() { return State().tasks.size(); }

}  // namespace sim
