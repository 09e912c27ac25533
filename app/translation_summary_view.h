// TranslationSummaryView: under the word panel's entries after a search, the five most frequent
// aligned translations of the searched word with their counts (explorer/word_translations.h);
// a click on one shows in the panel the sentences where the word is aligned with it.
#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "explorer/search_result.h"
#include "files/mapped_file.h"

namespace tamrel {

class TranslationMarks;
class WordPanel;

class TranslationSummaryView : public QObject {
  Q_OBJECT

 public:
  // `marks` lends its aligner; both must outlive this object.
  TranslationSummaryView(WordPanel& panel, TranslationMarks& marks);

  // Adds the summary of what `result` searched (its first word) to the panel.
  void show(const SearchCommandResult& result);

 private:
  void showSentences(const QString& word, const QString& translation);
  bool openSentences();

  WordPanel& panel_;
  TranslationMarks& marks_;
  MappedFile sentences_;
  bool opened_ = false;
};

}  // namespace tamrel
