// SearchTrace: with `tamrel --trace` (or TAMREL_TRACE=1), the times of a search in the window,
// from the Enter key in the search box to the first paint of the new page, on standard error, one
// line a step in milliseconds since the key press: search done, page written, navigation started,
// panel updated, load finished, and the page's own times (response end, DOM interactive, DOM
// content loaded, first animation frame, first contentful paint), which the page reports through
// the web channel from the Navigation and Paint Timing of its document. Off, it costs a flag.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

class QWebChannel;

namespace tamrel {

class SearchTrace : public QObject {
  Q_OBJECT

 public:
  using Clock = std::chrono::steady_clock;
  // A step and its time in milliseconds since the trace began.
  using Step = std::pair<std::string, double>;

  // The one trace of the program.
  static SearchTrace& instance();
  // Whether tracing is on: TAMREL_TRACE set (to anything but 0), or turned on by `enable`.
  static bool enabled();
  static void enable();

  // Starts a new trace: the key press (or the button) that asks for a search.
  void begin(const QString& what);
  // Adds a step now, or at `at`; nothing when no trace is under way.
  void mark(const char* step);
  void markAt(const char* step, Clock::time_point at);
  // Registers this object on `channel` as "tamrelTrace", for the page's script.
  void attach(QWebChannel& channel);

  // The steps of the last trace that ended (with its page's times).
  const std::vector<Step>& lastSteps() const { return last_; }

 public slots:
  // Called by the page's script: `origin` is the document's performance.timeOrigin (milliseconds
  // since the epoch), `times` its steps after it as [name, milliseconds, name, milliseconds...].
  void page(double origin, const QVariantList& times);

 signals:
  // A trace ended with the page's times.
  void finished();

 private:
  void print(const Step& step) const;

  bool running_ = false;
  Clock::time_point start_;
  std::chrono::system_clock::time_point startWall_;  // the same moment on the page's clock
  std::vector<Step> steps_;
  std::vector<Step> last_;
};

// The script the result page runs to report its times; empty when tracing is off.
QString PageTraceScript();

}  // namespace tamrel
