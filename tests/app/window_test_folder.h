// A runtime folder for the window suites: small bilingual and monolingual corpora and the three
// pages of data/ in a temporary folder, removed when the folder object goes.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"

namespace tamrel::test {

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
