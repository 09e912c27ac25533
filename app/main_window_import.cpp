// File > Import Sentences...: the dialog, the import on a worker thread, and the reload of the
// corpus it changed, so that the new sentences are searchable at once.
#include <QCoreApplication>

#include "app/desktop.h"
#include "app/import_dialog.h"
#include "app/import_run.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "corpus/corpus_files.h"
#include "importer/open_chinese_text.h"
#include "resources/window_texts.h"

namespace tamrel {

namespace {

QString CorpusName(std::u16string_view tag) {
  return tag == kTagBilingual ? QCoreApplication::translate("MainWindow", "bilingual")
                              : QCoreApplication::translate("MainWindow", "monolingual");
}

// What the end-of-import message says about the sentences read.
QString Summary(const ImportRun& run) {
  const ImportReport& r = run.report();
  QString text = QCoreApplication::translate("MainWindow", "Imported %1 sentences into the %2 corpus")
                     .arg(r.groupsImported)
                     .arg(CorpusName(run.tag()));
  if (r.groupsKept > 0) text += QCoreApplication::translate("MainWindow", ", after its %1 sentences").arg(r.groupsKept);
  text +=
      QCoreApplication::translate("MainWindow", ". They can be searched now.\n\n%1 lines read, %2 duplicates left out.")
          .arg(r.linesRead)
          .arg(r.duplicates);
  return text;
}

// The lines left out, the first few named.
QString Skipped(const ImportReport& r) {
  if (r.skippedLines == 0) return QString();
  QString text = QCoreApplication::translate("MainWindow", "\n\n%1 lines could not be used:").arg(r.skippedLines);
  for (const SkippedLine& s : r.firstSkipped) {
    text += QCoreApplication::translate("MainWindow", "\n%1, line %2: %3")
                .arg(PathToQString(s.file))
                .arg(s.line)
                .arg(QString::fromStdString(s.reason));
  }
  if (r.skippedLines > static_cast<int64_t>(r.firstSkipped.size())) text += QStringLiteral("\n...");
  return text;
}

}  // namespace

void MainWindow::onImport() {
  if (importRun_ != nullptr) return;  // one import at a time
  ImportDialog dialog(desktop_, {bilingual_.sentenceCount(), monolingual_.sentenceCount()}, this);
  if (desktop_.RunModal(dialog) != QDialog::Accepted || dialog.files().empty()) return;
  Status status;
  std::unique_ptr<ChineseText> tools = OpenChineseText(root_, status);
  if (tools == nullptr) {
    desktop_.Tell(this, WindowText(kImportFailedCaption), QString::fromStdString(status.ToString()),
                  Desktop::Icon::kError);
    return;
  }
  importRun_ =
      std::make_unique<ImportRun>(root_, dialog.tag(), dialog.files(), dialog.append(), std::move(tools), this);
  connect(importRun_.get(), &ImportRun::finished, this, &MainWindow::onImportFinished);
  importRun_->start();
}

void MainWindow::onImportFinished() {
  // The run goes once this slot has returned: it emitted the signal that called it.
  ImportRun* run = importRun_.release();
  run->deleteLater();
  const Status& status = run->status();
  if (status.ok()) {
    loadCorpus(run->tag() == kTagBilingual ? bilingual_ : monolingual_, run->tag());
    desktop_.Tell(this, WindowText(kImportDoneCaption), Summary(*run) + Skipped(run->report()),
                  Desktop::Icon::kInformation);
  } else if (status.kind() == Status::Kind::kUnfinished) {
    // The new files have taken effect: the reload finishes the commit when it can.
    loadCorpus(run->tag() == kTagBilingual ? bilingual_ : monolingual_, run->tag());
    desktop_.Tell(this, WindowText(kImportDoneCaption),
                  Summary(*run) + Skipped(run->report()) + QStringLiteral("\n\n") +
                      WindowText(kImportUnfinished).arg(QString::fromStdString(status.ToString())),
                  Desktop::Icon::kError);
  } else if (run->report().cancelled) {
    desktop_.Tell(this, WindowText(kImportCancelledCaption), WindowText(kImportCancelled), Desktop::Icon::kInformation);
  } else {
    desktop_.Tell(this, WindowText(kImportFailedCaption),
                  QString::fromStdString(status.ToString()) + QStringLiteral("\n\n") + WindowText(kImportUnchanged) +
                      Skipped(run->report()),
                  Desktop::Icon::kError);
  }
}

}  // namespace tamrel
