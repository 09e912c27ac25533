#include "app/about_dialog.h"

#include "app/window_frame.h"
#include "ui_about_dialog.h"

namespace tamrel {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutDialog>()) {
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this);
  // The form's text names the version of the first release; the build's own replaces it.
  ui_->versionLabel->setText(QStringLiteral("Brovik Explorer, V") + QStringLiteral(TAMREL_VERSION));
  connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

AboutDialog::~AboutDialog() = default;

}  // namespace tamrel
