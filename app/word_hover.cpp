#include "app/word_hover.h"

#include <QFile>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "app/search_trace.h"

namespace tamrel {

namespace {

// The word at a point: the run of non-space text around the caret there, without the
// punctuation at its ends, when it holds a Han character. Reported once per word entered.
constexpr const char* kHoverScript = R"JS(
new QWebChannel(qt.webChannelTransport, function (channel) {
  var words = channel.objects.tamrelWords;
  if (channel.objects.tamrelTrace && window.tamrelReportTimes) tamrelReportTimes(channel.objects.tamrelTrace);
  var last = '';
  function wordAt(x, y) {
    var range = document.caretRangeFromPoint(x, y);
    if (!range || range.startContainer.nodeType !== Node.TEXT_NODE) return '';
    var text = range.startContainer.data, start = range.startOffset, end = start;
    while (start > 0 && !/\s/.test(text[start - 1])) --start;
    while (end < text.length && !/\s/.test(text[end])) ++end;
    var word = text.substring(start, end).replace(/^[^\u3400-\u9fff]+|[^\u3400-\u9fff]+$/g, '');
    return /[\u3400-\u9fff]/.test(word) ? word : '';
  }
  document.addEventListener('mousemove', function (event) {
    var word = wordAt(event.clientX, event.clientY);
    if (word === last) return;
    last = word;
    if (word) words.hover(word);
  });
  document.addEventListener('dblclick', function (event) {
    var word = wordAt(event.clientX, event.clientY);
    if (word) words.choose(word);
  });
});
)JS";

}  // namespace

WordHover::WordHover(QWebEnginePage& page) : QObject(&page) {
  auto* channel = new QWebChannel(this);
  channel->registerObject(QStringLiteral("tamrelWords"), this);
  if (SearchTrace::enabled()) SearchTrace::instance().attach(*channel);
  page.setWebChannel(channel, QWebEngineScript::ApplicationWorld);

  QFile api(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  QString source;
  if (api.open(QIODevice::ReadOnly)) source = QString::fromUtf8(api.readAll());
  source += PageTraceScript();
  source += QString::fromUtf8(kHoverScript);
  QWebEngineScript script;
  script.setName(QStringLiteral("tamrel-word-hover"));
  script.setSourceCode(source);
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(false);
  page.scripts().insert(script);
}

void WordHover::hover(const QString& word) { emit wordHovered(word); }
void WordHover::choose(const QString& word) { emit wordChosen(word); }

}  // namespace tamrel
