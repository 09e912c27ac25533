#include "app/import_run.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include "app/qt_text.h"
#include "app/translation.h"
#include "explorer/level_table.h"
#include "resources/window_texts.h"

namespace tamrel {

namespace {

QString StageText(ImportProgress::Stage stage) {
  switch (stage) {
    case ImportProgress::Stage::kReading:
      return QCoreApplication::translate("ImportRun", "Reading the files");
    case ImportProgress::Stage::kPreparing:
      return QCoreApplication::translate("ImportRun", "Preparing the dictionary");
    case ImportProgress::Stage::kBuilding:
      return QCoreApplication::translate("ImportRun", "Building the index");
    case ImportProgress::Stage::kCommitting:
      return QCoreApplication::translate("ImportRun", "Putting the new corpus in place");
    case ImportProgress::Stage::kDone:
      break;
  }
  return QCoreApplication::translate("ImportRun", "Done");
}

}  // namespace

ImportRun::ImportRun(std::filesystem::path root, std::u16string tag, std::vector<std::filesystem::path> files,
                     bool append, std::unique_ptr<ChineseText> tools, QWidget* parent)
    : QObject(parent),
      root_(std::move(root)),
      tag_(std::move(tag)),
      files_(std::move(files)),
      append_(append),
      tools_(std::move(tools)),
      progress_(QString(), WindowText(kImportCancelButton), 0, 100, parent) {
  progress_.setWindowTitle(WindowText(kImportProgressCaption));
  progress_.setWindowModality(Qt::WindowModal);
  progress_.setMinimumDuration(0);
  progress_.setAutoClose(false);
  progress_.setAutoReset(false);
  progress_.setMinimumWidth(420);
  progress_.setLabelText(StageText(ImportProgress::Stage::kReading));
  connect(&progress_, &QProgressDialog::canceled, this, &ImportRun::cancel);
}

ImportRun::~ImportRun() {
  cancel_ = true;
  if (worker_ != nullptr) worker_->wait();
}

void ImportRun::start() {
  running_ = true;
  progress_.setValue(0);
  progress_.show();
  worker_.reset(QThread::create([this] {
    // Progress is handed to the window's thread; posts meant for a run that is gone are dropped.
    const auto onProgress = [this](const ImportProgress& p) {
      QMetaObject::invokeMethod(
          this, [this, p] { showProgress(p); }, Qt::QueuedConnection);
    };
    status_ = ImportCorpus(root_, tag_, files_, append_, *tools_, &report_, onProgress, &cancel_);
    // Not reported: a search at a level makes a level file that is missing.
    if (status_.ok()) (void)MakeLevelFiles(root_, {tag_});
  }));
  connect(worker_.get(), &QThread::finished, this, &ImportRun::onWorkerFinished);
  QTimer::singleShot(0, this, [this] {
    if (worker_ != nullptr) worker_->start();
  });
}

void ImportRun::showProgress(const ImportProgress& p) {
  if (!running_) return;
  progress_.setValue(p.percent);
  progress_.setLabelText(QStringLiteral("%1...\n%2 lines read, %3 sentences, %4 sentences/s")
                             .arg(StageText(p.stage))
                             .arg(p.linesRead)
                             .arg(p.sentences)
                             .arg(static_cast<qint64>(p.sentencesPerSecond)));
}

void ImportRun::onWorkerFinished() {
  running_ = false;
  progress_.hide();
  emit finished();
}

}  // namespace tamrel
