// ImportRun: one import of the window, run by the core's ImportCorpus on a worker thread while a
// progress dialog (with Cancel) shows how far it is, so that the window never stops answering.
// Owned by the window; destroying it cancels the import and waits for the worker to stop.
#pragma once

#include <QObject>
#include <QProgressDialog>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/status.h"
#include "importer/chinese_text.h"
#include "importer/corpus_import.h"

class QThread;

namespace tamrel {

class ImportRun : public QObject {
  Q_OBJECT

 public:
  ImportRun(std::filesystem::path root, std::u16string tag, std::vector<std::filesystem::path> files, bool append,
            std::unique_ptr<ChineseText> tools, QWidget* parent);
  ~ImportRun() override;

  // Shows the progress dialog; the worker starts when the event loop next runs, so a Cancel
  // pressed before then stops the import before it reads anything.
  void start();
  // Asks the worker to stop; the previous corpus then stays. `finished` still follows.
  void cancel() { cancel_ = true; }

  bool running() const { return running_; }
  const std::u16string& tag() const { return tag_; }
  // What the import gave; read after `finished`.
  const Status& status() const { return status_; }
  const ImportReport& report() const { return report_; }
  QProgressDialog& progressDialog() { return progress_; }

 signals:
  // The worker has ended, whatever its outcome.
  void finished();

 private:
  void showProgress(const ImportProgress& progress);
  void onWorkerFinished();

  std::filesystem::path root_;
  std::u16string tag_;
  std::vector<std::filesystem::path> files_;
  bool append_;
  std::unique_ptr<ChineseText> tools_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
  Status status_;
  ImportReport report_;
  QProgressDialog progress_;
  std::unique_ptr<QThread> worker_;
};

}  // namespace tamrel
