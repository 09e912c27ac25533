#include "app/search_trace.h"

#include <QWebChannel>
#include <cstdio>

namespace tamrel {

namespace {

bool& Enabled() {
  static bool enabled = [] {
    const QByteArray value = qgetenv("TAMREL_TRACE");
    return !value.isEmpty() && value != "0";
  }();
  return enabled;
}

// Run by the word-hover script once the web channel is up (the page's times are kept by the
// browser, so reporting them late changes none). It waits for the first contentful paint, or
// reports without it after three seconds.
constexpr const char* kPageScript = R"JS(
function tamrelReportTimes(trace) {
  var frame = 0, sent = false;
  requestAnimationFrame(function () { frame = performance.now(); });
  function send(paint) {
    if (sent) return;
    sent = true;
    var nav = performance.getEntriesByType('navigation')[0];
    var times = [];
    if (nav) times.push('response end', nav.responseEnd, 'DOM interactive', nav.domInteractive,
                        'DOM content loaded', nav.domContentLoadedEventEnd);
    if (frame) times.push('first animation frame', frame);
    if (paint) times.push('first contentful paint', paint);
    trace.page(performance.timeOrigin, times);
  }
  new PerformanceObserver(function (list) {
    list.getEntries().forEach(function (e) { if (e.name === 'first-contentful-paint') send(e.startTime); });
  }).observe({type: 'paint', buffered: true});
  setTimeout(function () { send(0); }, 3000);
}
)JS";

constexpr double kClockSlackMs = 5;

}  // namespace

SearchTrace& SearchTrace::instance() {
  static SearchTrace trace;
  return trace;
}

bool SearchTrace::enabled() { return Enabled(); }
void SearchTrace::enable() { Enabled() = true; }

void SearchTrace::begin(const QString& what) {
  if (!enabled()) return;
  running_ = true;
  start_ = Clock::now();
  startWall_ = std::chrono::system_clock::now();
  steps_.clear();
  std::fprintf(stderr, "trace: search %s\n", qPrintable(what));
  mark("key press");
}

void SearchTrace::mark(const char* step) { markAt(step, Clock::now()); }

void SearchTrace::markAt(const char* step, Clock::time_point at) {
  if (!running_) return;
  steps_.emplace_back(step, std::chrono::duration<double, std::milli>(at - start_).count());
  print(steps_.back());
}

void SearchTrace::attach(QWebChannel& channel) { channel.registerObject(QStringLiteral("tamrelTrace"), this); }

void SearchTrace::page(double origin, const QVariantList& times) {
  if (!running_) return;
  // The page's clock counts from the epoch; the trace's start is known on both.
  const double startMs = std::chrono::duration<double, std::milli>(startWall_.time_since_epoch()).count();
  // A page whose navigation began before the key press (the one shown before, reporting late) is
  // not the search's. The two clocks may differ by a little.
  if (origin < startMs - kClockSlackMs) return;
  for (qsizetype i = 0; i + 1 < times.size(); i += 2) {
    steps_.emplace_back(times[i].toString().toStdString(), origin + times[i + 1].toDouble() - startMs);
    print(steps_.back());
  }
  steps_.emplace_back("navigation start (page clock)", origin - startMs);
  print(steps_.back());
  running_ = false;
  last_ = steps_;
  emit finished();
}

void SearchTrace::print(const Step& step) const {
  std::fprintf(stderr, "trace: %9.3f ms  %s\n", step.second, step.first.c_str());
}

QString PageTraceScript() { return SearchTrace::enabled() ? QString::fromLatin1(kPageScript) : QString(); }

}  // namespace tamrel
