// tamrel-trace-searches: types each word into the search box of a window on the runtime folder it
// runs in and presses Enter, as a person does, with the word panel shown and the search trace on
// (app/search_trace.h); then prints, for each step of the trace, the median and the 95th
// percentile of its time since the key press over all searches. The words are the arguments, or
// 50 common words of the shipped corpus, half Chinese, half English. Run under an X display
// (scripts/trace-searches.sh uses Xvfb).
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "app/result_view.h"
#include "app/search_trace.h"
#include "tests/app/scripted_desktop.h"

using tamrel::Application;
using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::SearchTrace;
using tamrel::test::ScriptedDesktop;

namespace {

const char* const kWords[] = {
    "天气",     "朋友",  "学习",  "苹果",  "中国",      "今天",     "时间",   "工作",    "喜欢",     "漂亮",
    "电脑",     "医生",  "老师",  "学生",  "吃饭",      "明天",     "电话",   "音乐",    "电影",     "商店",
    "飞机",     "汽车",  "咖啡",  "问题",  "晚上",      "weather",  "friend", "study",   "apple",    "China",
    "today",    "time",  "work",  "like",  "beautiful", "computer", "doctor", "teacher", "student",  "eat",
    "tomorrow", "phone", "music", "movie", "shop",      "plane",    "car",    "coffee",  "question", "evening"};

// The value below which `share` of the sorted `values` lie (nearest rank).
double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(values.size())));
  return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

}  // namespace

int main(int argc, char** argv) {
  SearchTrace::enable();
  Application::prepareStart();
  Application app(argc, argv);
  QStringList words;
  for (int i = 1; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  if (words.isEmpty()) {
    for (const char* word : kWords) words << QString::fromUtf8(word);
  }

  ScriptedDesktop desktop;
  desktop.answers = {true};
  MainWindow window(desktop);
  window.initialize();
  window.show();
  auto* view = window.findChild<ResultView*>(QStringLiteral("webView"));
  QSignalSpy welcome(view, &ResultView::pageShown);
  welcome.wait(20000);
  window.findChild<QAction*>(QStringLiteral("actionWordPanel"))->setChecked(true);
  auto* input = window.findChild<QLineEdit*>(QStringLiteral("inputEdit"));
  // A person reads the first page before typing; the dictionary's indexes are built meanwhile
  // (the first search of a driver that types at once would wait for them: about a second).
  QTest::qWait(3000);

  std::map<std::string, std::vector<double>> steps;  // a step's times over the searches
  std::vector<std::string> order;                    // the steps in the order first seen
  int traced = 0;
  for (const QString& word : words) {
    input->setFocus();
    input->setText(word);
    QSignalSpy finished(&SearchTrace::instance(), &SearchTrace::finished);
    QTest::keyClick(input, Qt::Key_Return);
    if (!finished.wait(10000)) {
      std::fprintf(stderr, "no page times for %s\n", qPrintable(word));
      continue;
    }
    ++traced;
    for (const SearchTrace::Step& step : SearchTrace::instance().lastSteps()) {
      if (!steps.count(step.first)) order.push_back(step.first);
      steps[step.first].push_back(step.second);
    }
    QTest::qWait(300);  // the page settles before the next key press, as between a person's searches
  }
  QSettings().remove(QStringLiteral("wordPanel"));

  std::printf("%d of %lld searches traced; milliseconds since the key press\n", traced,
              static_cast<long long>(words.size()));
  std::printf("%-32s %5s %9s %9s %9s\n", "step", "n", "p50", "p95", "max");
  std::stable_sort(order.begin(), order.end(), [&](const std::string& a, const std::string& b) {
    return Percentile(steps[a], 0.5) < Percentile(steps[b], 0.5);
  });
  for (const std::string& name : order) {
    const std::vector<double>& times = steps[name];
    std::printf("%-32s %5zu %9.2f %9.2f %9.2f\n", name.c_str(), times.size(), Percentile(times, 0.5),
                Percentile(times, 0.95), *std::max_element(times.begin(), times.end()));
  }
  return traced == words.size() ? 0 : 1;
}
