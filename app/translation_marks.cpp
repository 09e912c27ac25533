#include "app/translation_marks.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <chrono>
#include <cstdio>

#include "dictionary/dictionary.h"
#include "explorer/alignment_marks.h"

namespace tamrel {

namespace {

// tamrelMarkAligned(marks): each mark [item, line, start, length] underlines a character range
// of a line (lines end at <BR>) of a bilingual result, across the elements the page wrapped the
// text in. Returns how many ranges it marked.
constexpr const char* kMarkScript = R"JS(
window.tamrelMarkAligned = function (marks) {
  var anchor = document.querySelector('a[name="BI"]');
  if (!anchor) return 0;
  var list = anchor.parentNode.nextElementSibling;
  while (list && list.tagName !== 'UL') list = list.nextElementSibling;
  if (!list) return 0;
  var items = Array.prototype.filter.call(list.children, function (e) { return e.tagName === 'LI'; });
  function lineTexts(item, line) {
    var walker = document.createTreeWalker(item, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT);
    var texts = [], at = 0, node;
    while ((node = walker.nextNode())) {
      if (node.nodeType === Node.ELEMENT_NODE) { if (node.tagName === 'BR') ++at; }
      else if (at === line) texts.push(node);
      else if (at > line) break;
    }
    return texts;
  }
  var done = 0;
  marks.forEach(function (m) {
    var item = items[m[0]];
    if (!item) return;
    var start = m[2], end = m[2] + m[3], offset = 0;
    lineTexts(item, m[1]).forEach(function (text) {
      var from = offset, to = offset + text.data.length;
      offset = to;
      var a = Math.max(start, from), b = Math.min(end, to);
      if (a >= b) return;
      var target = text;
      if (a > from) target = target.splitText(a - from);
      if (b < to) target.splitText(b - a);
      var span = document.createElement('span');
      span.className = 'tamrel-aligned';
      span.style.textDecoration = 'underline';
      span.style.textDecorationColor = 'red';
      span.style.textDecorationThickness = '2px';
      span.style.textUnderlineOffset = '3px';
      target.parentNode.insertBefore(span, target);
      span.appendChild(target);
    });
    ++done;
  });
  return done;
};
)JS";

}  // namespace

TranslationMarks::TranslationMarks(QWebEnginePage& page, const std::filesystem::path& root)
    : QObject(&page), page_(page), root_(root) {
  QWebEngineScript script;
  script.setName(QStringLiteral("tamrel-translation-marks"));
  script.setSourceCode(QString::fromUtf8(kMarkScript));
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(false);
  page.scripts().insert(script);
  connect(&page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
    if (ok) apply();
  });
}

TranslationMarks::~TranslationMarks() = default;  // the future waits for the learning to end

void TranslationMarks::open() {
  if (opened_) return;
  opened_ = true;
  QElapsedTimer timer;
  timer.start();
  if (Status status = dictionary_.Open(FindDictionary(root_)); !status.ok()) {
    std::fprintf(stderr, "translation marks: %s\n", status.ToString().c_str());
  }
  if (qEnvironmentVariableIsSet("TAMREL_TRACE_PANEL")) {
    std::fprintf(stderr, "translation marks: the aligner's dictionary opened in %.2f ms\n", timer.nsecsElapsed() / 1e6);
  }
  const std::filesystem::path sentences = sentenceFile();
  learning_ = std::async(std::launch::async, [sentences] {
    auto table = std::make_unique<CooccurrenceTable>();
    if (!table->Learn(sentences).ok()) table.reset();
    return table;
  });
  aligner_ = std::make_unique<WordAligner>(dictionary_, nullptr);
}

std::filesystem::path TranslationMarks::sentenceFile() const { return root_ / "BDict" / "sents.finalBI"; }

WordAligner& TranslationMarks::aligner(bool waitForTable) {
  open();
  if (learning_.valid() && (waitForTable || learning_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)) {
    table_ = learning_.get();
    aligner_ = std::make_unique<WordAligner>(dictionary_, table_.get());
  }
  return *aligner_;
}

void TranslationMarks::show(const SearchCommandResult& result, bool showPinyin) {
  WordAligner& words = aligner();
  QElapsedTimer timer;
  timer.start();
  const std::vector<LineMark> marks = AlignmentMarks(words, result, showPinyin);
  lastMarks_ = QString::fromStdString(AlignmentMarksJson(marks));
  lastMilliseconds_ = timer.nsecsElapsed() / 1e6;
  if (qEnvironmentVariableIsSet("TAMREL_TRACE_PANEL")) {
    std::fprintf(stderr, "translation marks: %zu in %.2f ms\n", marks.size(), lastMilliseconds_);
  }
  pending_ = lastMarks_;
}

void TranslationMarks::apply() {
  if (pending_.isEmpty()) return;
  const QString call = QStringLiteral("window.tamrelMarkAligned ? tamrelMarkAligned(%1) : -1").arg(pending_);
  pending_.clear();
  page_.runJavaScript(call, QWebEngineScript::ApplicationWorld,
                      [self = QPointer<TranslationMarks>(this)](const QVariant& count) {
                        if (self) emit self->marked(count.toInt());
                      });
}

}  // namespace tamrel
