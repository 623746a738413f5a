#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/progress.h"

namespace kvf {
namespace {

class TRecorder : public TProgressSink {
 public:
  std::vector<std::string> calls;
  void Start(const std::string& caption, int total) override { calls.push_back(caption + " " + std::to_string(total)); }
  void Update(int done, int total) override { calls.push_back(std::to_string(done) + "/" + std::to_string(total)); }
  void Finish() override { calls.push_back("finish"); }
};

TEST(Progress, CountsStepsAndFinishesAlsoWhenTheWorkFails) {
  TRecorder recorder;
  SetProgressSink(&recorder);
  {
    TProgress p("Пересчет", 2);
    p.Step();
    p.Step();
    p.Step();  // never past the total
  }
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"Пересчет 2", "1/2", "2/2", "2/2", "finish"}));
  recorder.calls.clear();
  try {
    TProgress p("Отчет", 5);
    p.Step();
    throw std::runtime_error("сбой");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"Отчет 5", "1/5", "finish"}));
  SetProgressSink(nullptr);
  TProgress quiet("без окна", 3);  // no sink: nothing to show, nothing fails
  quiet.Step();
  EXPECT_EQ(quiet.Done(), 1);
}

}  // namespace
}  // namespace kvf
