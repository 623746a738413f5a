#pragma once
// TAniForm: the progress window of long operations (caption "Процесс"): the
// bold label, a bar that moves with the steps and "3 из 40"; modeless,
// centred, without window buttons. It repaints on every step so it stays
// painted while the work runs on the interface thread.
#include <QWidget>

#include "core/progress.h"

class QLabel;
class QProgressBar;

namespace kvf {

class TAniForm : public QWidget, public TProgressSink {
 public:
  explicit TAniForm(QWidget* parent = nullptr);

  void Start(const std::string& caption, int total) override;
  void Update(int done, int total) override;
  void Finish() override;

  QString CountText() const;
  int BarValue() const;

 private:
  QLabel* message_;
  QLabel* count_;
  QProgressBar* bar_;
};

}  // namespace kvf
