#include "core/ui/ani_form.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace kvf {

TAniForm::TAniForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      message_(new QLabel(QString::fromUtf8("Процесс..."), this)),
      count_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
  setWindowTitle(QString::fromUtf8("Процесс"));
  QFont bold = message_->font();
  bold.setBold(true);
  message_->setFont(bold);
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message_);
  layout->addWidget(bar_);
  layout->addWidget(count_);
  setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40);
}

void TAniForm::Start(const std::string& caption, int total) {
  message_->setText(QString::fromStdString(caption.empty() ? std::string("Процесс...") : caption));
  if (total > 0) bar_->setRange(0, total);
  else bar_->setRange(0, 0);  // no count known: the bar keeps moving
  bar_->setValue(0);
  count_->setText(total > 0 ? QString::fromUtf8("0 из %1").arg(total) : QString());
  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TAniForm::Update(int done, int total) {
  bar_->setValue(done);
  if (total > 0) count_->setText(QString::fromUtf8("%1 из %2").arg(done).arg(total));
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TAniForm::Finish() { hide(); }

QString TAniForm::CountText() const { return count_->text(); }
int TAniForm::BarValue() const { return bar_->value(); }

}  // namespace kvf
