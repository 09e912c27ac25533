#include "app/runtime_start.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/qt_text.h"
#include "corpus/index_build.h"
#include "corpus/index_commit.h"
#include "corpus/index_presence.h"
#include "explorer/level_table.h"
#include "runtime/runtime_folder.h"
#include "runtime/shipped_files.h"

namespace tamrel {

namespace {

QString RootArgument(const QStringList& arguments) {
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--root") && i + 1 < arguments.size()) return arguments[i + 1];
    if (argument.startsWith(QLatin1String("--root="))) return argument.mid(7);
  }
  return {};
}

void Refuse(const QString& text) {
  QMessageBox::critical(nullptr, QCoreApplication::translate("RuntimeStart", "Tamrel Cannot Start"), text);
}

// Builds both indexes on a thread of its own while a dialog shows how far it is.
Status BuildWithProgress() {
  std::atomic<int> percent{0};
  std::atomic<bool> done{false};
  Status built;
  std::thread worker([&] {
    // The sentence file of each corpus is the larger half of its build.
    built = BuildAllCorpora("", [&](const BuildProgress& p) {
      if (p.bytesTotal <= 0) return;
      const int part = static_cast<int>(50 * p.bytesRead / p.bytesTotal);
      percent = (p.tag == kTagBilingual ? 0 : 50) + part;
    });
    // Not reported: a search at a level makes a level file that is missing.
    if (built.ok()) (void)MakeLevelFiles("", {kTagBilingual, kTagMonolingual});
    done = true;
  });
  QProgressDialog progress(QCoreApplication::translate("RuntimeStart", "Preparing the sentence index..."), QString(), 0,
                           100);
  progress.setWindowTitle(QStringLiteral("Tamrel"));
  progress.setMinimumDuration(0);
  progress.setCancelButton(nullptr);
  while (!done) {
    progress.setValue(percent);
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  worker.join();
  return built;
}

}  // namespace

bool EnterRuntimeFolder(const QStringList& arguments) {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  RuntimeFolder chosen;
  Status status = ChooseRuntimeFolder(std::filesystem::path(RootArgument(arguments).toStdString()), current,
                                      ExecutablePath(), chosen);
  if (status.ok()) status = PrepareRuntimeFolder(chosen);
  if (!status.tookEffect()) {  // a failed folder sync after the files were in place leaves them usable
    Refuse(QCoreApplication::translate("RuntimeStart", "The folder for Tamrel's files cannot be prepared:\n%1")
               .arg(QString::fromStdString(status.ToString())));
    return false;
  }
  std::filesystem::current_path(chosen.folder, error);
  if (error) {
    Refuse(QCoreApplication::translate("RuntimeStart", "Tamrel cannot work in %1:\n%2")
               .arg(PathToQString(chosen.folder), QString::fromStdString(error.message())));
    return false;
  }
  if (chosen.shipped.empty() || !AnyIndexMissing("")) return true;
  for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) (void)RecoverLeftovers("", tag);
  if (const Status built = BuildWithProgress(); !built.ok()) {
    Refuse(QCoreApplication::translate("RuntimeStart", "The sentence index cannot be built:\n%1")
               .arg(QString::fromStdString(built.ToString())));
    return false;
  }
  return true;
}

}  // namespace tamrel
