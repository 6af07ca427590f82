#include "live_wait.h"

#include <QEventLoop>
#include <QMetaObject>
#include <thread>

namespace qav::panel {

int32_t RunKeepingWindowAlive(const std::function<int32_t()>& work) {
    QEventLoop loop;
    int32_t result = 0;
    // The quit is posted, so it takes effect even when the work ends before the loop has started.
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return result;
}

}  // namespace qav::panel
