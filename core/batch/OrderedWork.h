#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A list worked through on worker threads and taken back in list order on
// the caller's thread: the parallel batch's machinery, also used to read the
// units of masks and checks.
//
// Each worker thread owns one TWorker (a TRecordingAnalysis, say), made on
// the caller's thread when the work starts and used by that thread alone.
// Workers take the items in list order and run produce(worker, index) at
// most Window() places ahead of the item the caller takes next, so that the
// results waiting at any time are bounded whatever the length of the list.
// Take(index) must be called for 0, 1, 2, ... in turn. Destroying the object
// ends the workers after the item each has in hand.
template <class TResult, class TWorker> class TOrderedWork {
public:
    using TProduce = std::function<TResult(TWorker& worker, std::size_t index)>;

    // count items on threads workers (at least 1), each made by makeWorker;
    // the workers look at stop (when given) before each item.
    TOrderedWork(std::size_t count, int threads, TProduce produce,
                 const std::function<std::unique_ptr<TWorker>()>& makeWorker, const std::atomic<bool>* stop = nullptr)
        : count_(count), produce_(std::move(produce)), stop_(stop), window_(static_cast<std::size_t>(threads) * 16),
          slots_(window_)
    {
        for (int i = 0; i < threads; ++i) {
            workers_.push_back(makeWorker());
        }
        for (auto& worker : workers_) {
            threads_.emplace_back([this, w = worker.get()] { Work(*w); });
        }
    }

    ~TOrderedWork()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        slotFree_.notify_all();
        for (auto& thread : threads_) {
            thread.join();
        }
    }

    TOrderedWork(const TOrderedWork&) = delete;
    TOrderedWork& operator=(const TOrderedWork&) = delete;

    // How far ahead of the caller the workers may run.
    std::size_t Window() const noexcept { return window_; }

    // The result of item index, once a worker has it, freeing its place;
    // nothing when a stop is requested first.
    std::optional<TResult> Take(std::size_t index)
    {
        std::optional<TResult> result;
        {
            std::unique_lock lock(mutex_);
            std::optional<TResult>& slot = slots_[index % window_];
            while (!slot) {
                if (StopRequested()) {
                    return std::nullopt;
                }
                // A stop set by a signal handler cannot notify: look again now and then.
                resultReady_.wait_for(lock, StopPollInterval);
            }
            result = std::move(slot);
            slot.reset();
            taken_ = index + 1;
        }
        slotFree_.notify_all();
        return result;
    }

private:
    static constexpr std::chrono::milliseconds StopPollInterval{10};

    bool StopRequested() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

    void Work(TWorker& worker)
    {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                slotFree_.wait(lock, [&] { return stopping_ || next_ >= count_ || next_ < taken_ + window_; });
                if (stopping_ || next_ >= count_ || StopRequested()) {
                    return;
                }
                index = next_++;
            }
            TResult result = produce_(worker, index);
            {
                std::lock_guard lock(mutex_);
                slots_[index % window_] = std::move(result);
            }
            resultReady_.notify_all();
        }
    }

    const std::size_t count_;
    const TProduce produce_;
    const std::atomic<bool>* const stop_;
    const std::size_t window_;
    std::vector<std::optional<TResult>> slots_;
    std::vector<std::unique_ptr<TWorker>> workers_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable slotFree_;
    std::condition_variable resultReady_;
    std::size_t next_ = 0;
    std::size_t taken_ = 0;
    bool stopping_ = false;
};
