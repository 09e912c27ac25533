// GrowingForm: lets a form whose controls are placed at fixed positions (the main window's) grow
// beyond the size it was drawn at. Each control named to it follows the extra room as told: it
// moves right with the right edge, or widens, or grows taller; the others stay where they are. The
// form never gets smaller than the size it was drawn at, so at that size every control is where
// the form puts it.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace tamrel {

class GrowingForm : public QObject {
  Q_OBJECT

 public:
  enum Follow { kMoveRight = 1, kGrowWide = 2, kGrowTall = 4 };

  // `form`'s minimum size is the size it was drawn at and stays its least; it loses its greatest.
  explicit GrowingForm(QWidget& form);

  // `control`, a child of the form at its place for the least size, follows the extra room as the
  // Follow flags in `how` say.
  void follow(QWidget& control, int how);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Follower {
    QWidget* control;
    QRect drawn;  // its place at the least size
    int how;
  };
  void place();

  QWidget& form_;
  QSize drawn_;
  std::vector<Follower> followers_;
};

}  // namespace tamrel
