#include "core/progress.h"

namespace kvf {
namespace {

TProgressSink* g_sink = nullptr;

}  // namespace

void SetProgressSink(TProgressSink* sink) { g_sink = sink; }

TProgress::TProgress(const std::string& caption, int total) : sink_(g_sink), total_(total < 0 ? 0 : total) {
  if (sink_) sink_->Start(caption, total_);
}

TProgress::~TProgress() {
  if (sink_) sink_->Finish();
}

void TProgress::Step() {
  if (done_ < total_) ++done_;
  if (sink_) sink_->Update(done_, total_);
}

}  // namespace kvf
