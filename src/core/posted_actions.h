#pragma once
// Posted actions: a window asks for an action (UM_OPENORDERLIST, UM_RECALC, ...)
// to run after the current handler has returned, in the order the actions were
// posted. The queue knows no toolkit: `schedule` is asked to call Dispatch()
// soon (korvane queues a call on its event loop; tests call Dispatch themselves).
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kvf {

class TPostedActions {
 public:
  explicit TPostedActions(std::function<void()> schedule = {}) : schedule_(std::move(schedule)) {}

  // `message` names the action (UM_...); `action` runs it.
  void Post(int message, std::function<void()> action);
  // Runs the actions posted before this call, oldest first; an action posted
  // meanwhile waits for the next Dispatch. An action that throws is reported
  // with ShowError and the others still run.
  void Dispatch();
  size_t Pending() const { return queue_.size(); }
  std::vector<int> PendingMessages() const;

 private:
  struct TEntry {
    int message;
    std::function<void()> action;
  };
  std::function<void()> schedule_;
  std::deque<TEntry> queue_;
};

// The name of a posted message ("UM_RECALC"), or its number.
std::string PostedMessageName(int message);

}  // namespace kvf
