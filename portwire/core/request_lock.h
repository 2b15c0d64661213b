// The per-link request lock: a binary semaphore (initial 1, maximum 1). A fixed request takes
// it, the reply reader or a failed write gives it back; giving back a free lock does nothing.
#pragma once

#include <condition_variable>
#include <mutex>

namespace portwire {

class CRequestLock {
public:
    // Waits without limit until the lock is free, then takes it.
    void Acquire();
    // Frees the lock; no effect when it is already free.
    void Release();
    bool IsFree() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    bool free_ = true;
};

} // namespace portwire
