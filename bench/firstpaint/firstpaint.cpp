// A generic Qt plugin that the benchmark loads into the measured programs
// (QT_QPA_GENERIC_PLUGINS=trelvanefirstpaint), so that they need no hook of
// their own. It watches for the first paint of a top-level window and, once
// that frame has been flushed, writes the CLOCK_MONOTONIC time in nanoseconds
// to the descriptor named by TRELVANE_FIRSTPAINT_FD. With
// TRELVANE_FIRSTPAINT_EXIT=1 the process then ends at once.
#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch()
    {
        fd_ = qEnvironmentVariableIntValue("TRELVANE_FIRSTPAINT_FD");
        exitAfter_ = qEnvironmentVariableIntValue("TRELVANE_FIRSTPAINT_EXIT") == 1;
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            seen_ = true;
            // Queued: runs when the whole repaint, flush included, is done.
            QMetaObject::invokeMethod(this, &FirstPaintWatch::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        QCoreApplication::instance()->removeEventFilter(this);  // the idle runs measure the program alone
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        char line[64];
        const int n =
            std::snprintf(line, sizeof line, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        if (fd_ > 0 && n > 0 && write(fd_, line, static_cast<size_t>(n)) == n && exitAfter_)
            std::_Exit(0);
    }

    int fd_ = -1;
    bool exitAfter_ = false;
    bool seen_ = false;
};

}  // namespace

class FirstPaintPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "firstpaint.json")
public:
    QObject *create(const QString &, const QString &) override { return new FirstPaintWatch; }
};

#include "firstpaint.moc"
