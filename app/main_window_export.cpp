// File > Export Results...: the sentences of the result page shown, saved as Anki notes.
#include <QCoreApplication>
#include <QFileInfo>

#include "app/desktop.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "resources/window_texts.h"
#include "ui_main_window.h"

namespace tamrel {

void MainWindow::setExportRows(std::vector<ExportRow> rows) {
  exportRows_ = std::move(rows);
  ui_->actionExport->setEnabled(!exportRows_.empty());
}

void MainWindow::onExport() {
  if (exportRows_.empty()) {
    desktop_.Tell(this, WindowText(kExportCaption), WindowText(kExportNothing), Desktop::Icon::kInformation);
    return;
  }
  // A file name from the query, kept to letters, digits and a few safe marks.
  QString name;
  for (const QChar c : exportQuery_.left(40)) name += c.isLetterOrNumber() ? c : QChar(u'_');
  const QString suggested = PathToQString(workingDirectory_) + QStringLiteral("/tamrel-") +
                            (name.isEmpty() ? QStringLiteral("notes") : name) + QStringLiteral(".tsv");
  const QString chosen =
      desktop_.ChooseSaveFile(this, WindowText(kExportCaption), suggested, WindowText(kExportFileFilter));
  if (chosen.isEmpty()) return;
  const std::filesystem::path path = chosen.toStdString();
  const Status status = WriteExportFile(path, exportRows_);
  if (status.tookEffect()) {  // the notes are saved even when their folder could not be synced
    const QString saved = exportRows_.size() == 1 ? WindowText(kExportSavedOne).arg(chosen)
                                                  : WindowText(kExportSaved).arg(exportRows_.size()).arg(chosen);
    desktop_.Tell(this, WindowText(kExportCaption), saved, Desktop::Icon::kInformation);
    return;
  }
  const QFileInfo folder(QFileInfo(chosen).absolutePath());
  QString why;
  if (!folder.exists()) {
    why = QCoreApplication::translate("MainWindow", "The folder %1 does not exist.").arg(folder.filePath());
  } else if (!folder.isWritable()) {
    why = QCoreApplication::translate("MainWindow", "The folder %1 is read-only.").arg(folder.filePath());
  } else {
    why = QString::fromStdString(status.ToString());
  }
  desktop_.Tell(
      this, WindowText(kExportFailedCaption),
      QCoreApplication::translate("MainWindow", "The results could not be saved to %1.\n%2\nNo file was written.")
          .arg(chosen, why),
      Desktop::Icon::kError);
}

}  // namespace tamrel
