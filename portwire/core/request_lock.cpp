#include "portwire/core/request_lock.h"

namespace portwire {

void CRequestLock::Acquire() {
    std::unique_lock<std::mutex> lock(mutex_);
    freed_.wait(lock, [this] { return free_; });
    free_ = false;
}

void CRequestLock::Release() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (free_)
            return;
        free_ = true;
    }
    freed_.notify_one();
}

bool CRequestLock::IsFree() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return free_;
}

} // namespace portwire
