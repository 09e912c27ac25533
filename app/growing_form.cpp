#include "app/growing_form.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace tamrel {

GrowingForm::GrowingForm(QWidget& form) : QObject(&form), form_(form), drawn_(form.minimumSize()) {
  form_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  form_.installEventFilter(this);
}

void GrowingForm::follow(QWidget& control, int how) {
  followers_.push_back({&control, control.geometry(), how});
  place();
}

bool GrowingForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &form_ && event->type() == QEvent::Resize) place();
  return QObject::eventFilter(watched, event);
}

void GrowingForm::place() {
  const int wider = std::max(0, form_.width() - drawn_.width());
  const int taller = std::max(0, form_.height() - drawn_.height());
  for (const Follower& f : followers_) {
    QRect r = f.drawn;
    if (f.how & kMoveRight) r.translate(wider, 0);
    if (f.how & kGrowWide) r.setWidth(r.width() + wider);
    if (f.how & kGrowTall) r.setHeight(r.height() + taller);
    f.control->setGeometry(r);
  }
}

}  // namespace tamrel
