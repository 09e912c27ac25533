#include "app/translation_summary_view.h"

#include <QElapsedTimer>
#include <QUrlQuery>
#include <cstdio>

#include "app/qt_text.h"
#include "app/translation_marks.h"
#include "app/word_panel.h"
#include "explorer/word_translations.h"
#include "text/text_utils.h"

namespace tamrel {

TranslationSummaryView::TranslationSummaryView(WordPanel& panel, TranslationMarks& marks)
    : QObject(&panel), panel_(panel), marks_(marks) {
  connect(&panel, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    if (url.scheme() != QLatin1String("tamrel") || !url.path().startsWith(QLatin1String("aligned"))) return;
    const QUrlQuery query(url);
    showSentences(query.queryItemValue(QStringLiteral("word"), QUrl::FullyDecoded),
                  query.queryItemValue(QStringLiteral("as"), QUrl::FullyDecoded));
  });
}

bool TranslationSummaryView::openSentences() {
  if (!opened_) {
    opened_ = true;
    if (Status status = sentences_.OpenChecked(marks_.sentenceFile()); !status.ok()) {
      std::fprintf(stderr, "translation summary: %s\n", status.ToString().c_str());
    }
  }
  return !sentences_.bytes().empty();
}

void TranslationSummaryView::show(const SearchCommandResult& result) {
  if (!openSentences()) return;
  // The first word searched: the summary is of one word.
  const std::u16string_view query = result.query;
  const std::string word = Utf16ToUtf8(query.substr(0, query.find(u' ')));
  if (word.empty()) return;
  QElapsedTimer timer;
  timer.start();
  const std::vector<SentencePair> pairs = PairsThatMayHold(sentences_.bytes(), word);
  const std::vector<Translation> top = SummariseTranslations(marks_.aligner(), word, pairs, 5);
  if (qEnvironmentVariableIsSet("TAMREL_TRACE_PANEL")) {
    std::fprintf(stderr, "translation summary: %zu pairs in %.2f ms\n", pairs.size(), timer.nsecsElapsed() / 1e6);
  }
  const std::u16string html = TranslationSummaryHtml(
      ToU16(tr("%1 is translated in these sentences as:").arg(QString::fromStdString(word))), top, word);
  if (!html.empty()) panel_.append(ToQString(html));
}

void TranslationSummaryView::showSentences(const QString& word, const QString& translation) {
  if (!openSentences()) return;
  const std::string zh = word.toStdString();
  const std::string as = translation.toStdString();
  const std::vector<SentencePair> pairs =
      PairsTranslatedAs(marks_.aligner(), zh, as, PairsThatMayHold(sentences_.bytes(), zh));
  panel_.setHtml(ToQString(TranslatedSentencesHtml(
      ToU16(tr("%1 translated as %2 (%n sentences shown):", nullptr, static_cast<int>(pairs.size()))
                .arg(word, translation)),
      pairs)));
}

}  // namespace tamrel
