#pragma once

#include <QElapsedTimer>
#include <functional>

class QProgressBar;

namespace screenkit {

// A long run on the one thread: the busy pointer and the progress bar from
// its first step to its end, the window repainted every `intervalMs` without
// taking input. Drawing every step would take longer than the run itself.
class BusyRun {
  public:
    BusyRun(QProgressBar &bar, int intervalMs);
    ~BusyRun();
    BusyRun(const BusyRun &) = delete;
    BusyRun &operator=(const BusyRun &) = delete;

    // Step `done` of `count`. When it is due (the first, the last, one per
    // interval, or `always`), `show` fills the screen's own parts, the bar
    // moves and the window repaints.
    void step(int done, int count, const std::function<void()> &show, bool always = false);

  private:
    QProgressBar &m_bar;
    int m_intervalMs;
    bool m_started = false;
    QElapsedTimer m_shown;
};

} // namespace screenkit
