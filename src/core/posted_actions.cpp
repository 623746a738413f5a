#include "core/posted_actions.h"

#include <exception>

#include "core/configuration.h"
#include "core/prompts.h"

namespace kvf {

void TPostedActions::Post(int message, std::function<void()> action) {
  const bool wasIdle = queue_.empty();
  queue_.push_back({message, std::move(action)});
  if (wasIdle && schedule_) schedule_();
}

void TPostedActions::Dispatch() {
  std::deque<TEntry> now;
  now.swap(queue_);  // what the actions post goes into the empty queue and is scheduled anew
  for (TEntry& e : now) {
    try {
      if (e.action) e.action();
    } catch (const std::exception& ex) {
      ShowError(ex.what());
    }
  }
}

std::vector<int> TPostedActions::PendingMessages() const {
  std::vector<int> messages;
  for (const TEntry& e : queue_) messages.push_back(e.message);
  return messages;
}

std::string PostedMessageName(int message) {
  switch (message) {
    case UM_INITDOCUMENT: return "UM_INITDOCUMENT";
    case UM_OPENORDERLIST: return "UM_OPENORDERLIST";
    case UM_RECALC: return "UM_RECALC";
    case UM_CURRENCYRATES: return "UM_CURRENCYRATES";
    case UM_ADDREGORDERS: return "UM_ADDREGORDERS";
    case UM_OPENREGORDER: return "UM_OPENREGORDER";
    case UM_PRESENTATION: return "UM_PRESENTATION";
    default: return std::to_string(message);
  }
}

}  // namespace kvf
