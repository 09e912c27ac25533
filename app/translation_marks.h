// TranslationMarks: the window's layer over the result page that marks, in each bilingual result,
// the words the aligner links with the matched (red) words: underlined in red, so that they read
// as the match's translation without being taken for a match. The core says where
// (explorer/alignment_marks.h); a script injected into every page the view loads draws the marks,
// so the page file stays as the search wrote it. The aligner's co-occurrence table is learned on
// a worker thread at the first search; until it is ready the marks come from the dictionary,
// identical tokens and punctuation alone.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <future>
#include <memory>

#include "align/cooccurrence.h"
#include "align/word_aligner.h"
#include "dictionary/dictionary_file.h"
#include "explorer/search_result.h"

class QWebEnginePage;

namespace tamrel {

class TranslationMarks : public QObject {
  Q_OBJECT

 public:
  // Injects the script into `page`; `root` is the runtime folder (its bilingual corpus teaches
  // the co-occurrence table), read at the first search, and must outlive this object.
  TranslationMarks(QWebEnginePage& page, const std::filesystem::path& root);
  ~TranslationMarks() override;

  // Marks the bilingual results of `result` on the page the view is loading (the next one it
  // finishes); `showPinyin` as the page was written.
  void show(const SearchCommandResult& result, bool showPinyin);

  // The aligner, with the co-occurrence table once its learning has ended (opened at the first
  // call); `waitForTable` waits for that learning first.
  WordAligner& aligner(bool waitForTable = false);
  // The bilingual corpus's sentence file, which teaches the table.
  std::filesystem::path sentenceFile() const;

  // The marks of the last search as JSON (for tests), and how long working them out took.
  const QString& lastMarks() const { return lastMarks_; }
  double lastMilliseconds() const { return lastMilliseconds_; }

 signals:
  // The script drew the marks of the last search on the page.
  void marked(int count);

 private:
  void open();
  void apply();

  QWebEnginePage& page_;
  const std::filesystem::path& root_;
  bool opened_ = false;
  DictionaryFile dictionary_;
  std::unique_ptr<CooccurrenceTable> table_;
  std::future<std::unique_ptr<CooccurrenceTable>> learning_;
  std::unique_ptr<WordAligner> aligner_;
  QString pending_;  // the marks waiting for the page to finish loading
  QString lastMarks_;
  double lastMilliseconds_ = 0;
};

}  // namespace tamrel
