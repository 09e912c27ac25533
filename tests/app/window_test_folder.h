// A runtime folder for the window suites: small bilingual and monolingual corpora and the three
// pages of data/ in a temporary folder, removed when the folder object goes; and Named, which finds
// a control by the object name its .ui file gives it.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <QtGlobal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"

namespace tamrel::test {

// The child of `parent` of type T that the .ui files (or the window) name `name`. A control that
// is not there ends the suite with its name, where a null pointer would crash it without one.
template <typename T = QWidget>
T* Named(const QObject& parent, const QString& name) {
  T* found = parent.findChild<T*>(name);
  if (found == nullptr) {
    qFatal("%s has no %s named %s", qPrintable(parent.objectName()), T::staticMetaObject.className(), qPrintable(name));
  }
  return found;
}

class WindowTestFolder {
 public:
  // Builds both corpora; `ok()` says whether both builds succeeded.
  WindowTestFolder() {
    const std::vector<SentenceGroup> bilingual = {
        {"我 有 一个 朋友 。", "wǒ yǒu yīgè péngyou 。", "I have a friend."},
        {"你好 ， 朋友 。", "nǐhǎo ， péngyou 。", "Hello, friend."},
        {"今天 天气 很 好 。", "jīntiān tiānqì hěn hǎo 。", "The weather is nice today."},
    };
    const std::vector<SentenceGroup> monolingual = {
        {"我们 是 朋友 。", "wǒmen shì péngyou 。", "We are friends."},
        {"天气 很 冷 。", "tiānqì hěn lěng 。", "It is cold."},
    };
    ok_ = WriteCorpus(path(), u"BI", bilingual).ok() && WriteCorpus(path(), u"MO", monolingual).ok();
    for (const char* page : {"welcome.html", "cantfind.html", "Help.html"}) {
      WriteBytes(folder_.path() / "data" / page, std::string("<html><body>") + page + "</body></html>");
    }
  }

  bool ok() const { return ok_; }
  const std::filesystem::path& path() const { return folder_.path(); }
  QString Path(const std::string& relative) const { return QString::fromStdString((path() / relative).string()); }

 private:
  RuntimeFolder folder_;
  bool ok_ = false;
};

}  // namespace tamrel::test
