#pragma once
// Progress of long operations (a recalculation of many positions, a report):
// the operation counts its steps through TProgress; what shows them is
// installed with SetProgressSink — the progress window in korvane, nothing in
// kvf, a recorder in tests.
#include <string>

namespace kvf {

class TProgressSink {
 public:
  virtual ~TProgressSink() = default;
  virtual void Start(const std::string& caption, int total) = 0;
  virtual void Update(int done, int total) = 0;  // after every step; the sink may repaint
  virtual void Finish() = 0;                     // also when the operation failed
};

// Installs the process-wide sink (not owned); null: progress is not shown.
void SetProgressSink(TProgressSink* sink);

// One long operation: Start on construction, Finish on destruction (also on
// an exception), Step after each unit of work.
class TProgress {
 public:
  TProgress(const std::string& caption, int total);
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;
  void Step();
  int Done() const { return done_; }

 private:
  TProgressSink* sink_;
  int done_ = 0;
  int total_;
};

}  // namespace kvf
