#include "screens/kit/busyrun.h"

#include <QApplication>
#include <QProgressBar>

namespace screenkit {

BusyRun::BusyRun(QProgressBar &bar, int intervalMs) : m_bar(bar), m_intervalMs(intervalMs) {}

BusyRun::~BusyRun() {
    if (!m_started)
        return;
    m_bar.setVisible(false);
    QApplication::restoreOverrideCursor();
}

void BusyRun::step(int done, int count, const std::function<void()> &show, bool always) {
    if (!m_started) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_bar.setRange(0, count);
        m_bar.setVisible(true);
        m_started = true;
    } else if (!always && done < count && m_shown.elapsed() < m_intervalMs) {
        return;
    }
    m_shown.start();
    show();
    m_bar.setValue(done);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace screenkit
