#include "generation/PicturePipeline.h"

#include <algorithm>
#include <utility>

#include "imaging/ImageKind.h"
#include "imaging/ImageLoader.h"

namespace zelvora {

int DefaultJobCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 64u));
}

TPicturePipeline::TPicturePipeline(std::vector<TPictureTask> tasks, const TGallerySet& options,
                                   int jobs, std::function<bool()> holdNew,
                                   std::int64_t pictureShare)
    : tasks_(std::move(tasks)),
      options_(options),
      holdNew_(std::move(holdNew)),
      window_(static_cast<std::size_t>(std::max(jobs, 1))),
      budget_(std::max(jobs, 1) * pictureShare),
      slots_(tasks_.size()) {
  // Only pictures that are loaded are worth a thread.
  std::size_t loads = 0;
  for (const TPictureTask& task : tasks_) loads += task.Load ? 1 : 0;
  const std::size_t threads = jobs <= 1 ? 0 : std::min(static_cast<std::size_t>(jobs), loads);
  if (threads < 2) return;  // one worker beside the taker gains nothing
  workers_.reserve(threads);
  try {
    for (std::size_t i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
  } catch (...) {
    // No threads to be had: the ones started share the work, or the taker
    // does it alone.
  }
}

TPicturePipeline::~TPicturePipeline() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

bool TPicturePipeline::MayStart() const {
  if (next_ >= tasks_.size() || next_ >= taken_ + window_) return false;
  // A held pipeline still starts the picture the run is waiting for: that
  // one is the run's current unit of work.
  return !(holdNew_ && holdNew_()) || (taking_ && next_ == taken_);
}

std::size_t TPicturePipeline::Started() {
  std::lock_guard<std::mutex> lock(mutex_);
  return workers_.empty() ? taken_ : next_;
}

int TPicturePipeline::MostInFlight() {
  std::lock_guard<std::mutex> lock(mutex_);
  return workers_.empty() ? (taken_ > 0 ? 1 : 0) : mostInFlight_;
}

TPreparedPicture TPicturePipeline::Take(std::size_t k) {
  if (workers_.empty()) {
    taken_ = k + 1;
    return PreparePicture(tasks_[k], options_, own_);
  }
  std::unique_lock<std::mutex> lock(mutex_);
  taking_ = true;
  changed_.notify_all();
  changed_.wait(lock, [&] { return slots_[k].Ready; });
  taking_ = false;
  TPreparedPicture result = std::move(slots_[k].Result);
  slots_[k].Result = TPreparedPicture();
  taken_ = k + 1;
  changed_.notify_all();
  return result;
}

std::unique_ptr<TPictureWorkspace> TPicturePipeline::AcquireWorkspace(
    std::int64_t bytes, std::unique_lock<std::mutex>& lock) {
  for (;;) {
    // The kept workspace with the most room needs the least more.
    auto best = std::max_element(idle_.begin(), idle_.end(), [](const auto& a, const auto& b) {
      return a->Picture.Capacity() < b->Picture.Capacity();
    });
    const std::int64_t room =
        best == idle_.end() ? 0 : static_cast<std::int64_t>((*best)->Picture.Capacity());
    const std::int64_t more = std::max<std::int64_t>(bytes - room, 0);
    if (used_ + more > budget_) {
      // Kept memory goes before anyone waits for it.
      bool freed = false;
      for (auto& other : idle_) {
        if (other == *best || other->Picture.Capacity() == 0) continue;
        used_ -= static_cast<std::int64_t>(other->Picture.Capacity());
        other->Picture.Trim(0);
        freed = true;
      }
      if (freed) continue;
    }
    if (used_ + more <= budget_ || inFlight_ == 0) {
      std::unique_ptr<TPictureWorkspace> workspace;
      if (best != idle_.end()) {
        workspace = std::move(*best);
        idle_.erase(best);
      } else {
        workspace = std::make_unique<TPictureWorkspace>();
      }
      used_ += more;
      mostInFlight_ = std::max(mostInFlight_, ++inFlight_);
      return workspace;
    }
    changed_.wait(lock);
  }
}

void TPicturePipeline::ReleaseWorkspace(std::unique_ptr<TPictureWorkspace> workspace,
                                        std::int64_t bytes) {
  // What the picture took, or what the workspace held before if more.
  used_ -= bytes;
  // A picture larger than the whole budget is not kept for the next one.
  if (static_cast<std::int64_t>(workspace->Picture.Capacity()) > budget_)
    workspace->Picture.Trim(0);
  used_ += static_cast<std::int64_t>(workspace->Picture.Capacity());
  --inFlight_;
  idle_.push_back(std::move(workspace));
}

void TPicturePipeline::Work() {
  std::string bytes;  // the file being read, before a workspace is chosen
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || MayStart(); });
    if (stopping_) return;
    const std::size_t k = next_++;
    lock.unlock();

    TPreparedPicture result;
    const TPictureTask& task = tasks_[k];
    try {
      if (task.Load && ReadImageFileInto(task.FileName, bytes)) {
        const std::int64_t needed = DecodingBytes(ImageKindOfFile(task.FileName), bytes);
        lock.lock();
        std::unique_ptr<TPictureWorkspace> workspace = AcquireWorkspace(needed, lock);
        const std::int64_t held =
            std::max(needed, static_cast<std::int64_t>(workspace->Picture.Capacity()));
        lock.unlock();
        workspace->FileBytes.swap(bytes);
        try {
          if (LoadPicture(task, *workspace, true))
            result = FinishPicture(task, options_, *workspace);
        } catch (...) {
          result = TPreparedPicture();
        }
        workspace->FileBytes.swap(bytes);
        lock.lock();
        ReleaseWorkspace(std::move(workspace), held);
        lock.unlock();
      }
    } catch (...) {
      // Out of memory before the picture was loaded: skipped like a picture
      // that cannot be read.
      result = TPreparedPicture();
    }
    if (bytes.capacity() > static_cast<std::size_t>(kPictureShare)) std::string().swap(bytes);

    if (!lock.owns_lock()) lock.lock();
    slots_[k].Result = std::move(result);
    slots_[k].Ready = true;
    changed_.notify_all();
  }
}

}  // namespace zelvora
