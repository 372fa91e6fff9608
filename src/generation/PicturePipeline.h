#pragma once
// Prepares the pictures of a run (PictureWork) on worker threads ahead of
// the run, which takes the results one by one in list order and writes
// them. With one job there are no threads: each result is prepared when it
// is taken, on the taking thread, which is the order of work of a plain loop.
//
// Workers start no new picture while the run is paused or stopping; the
// pictures already in flight finish. Decoded pictures share a memory budget
// of jobs x kPictureShare bytes: a picture that does not fit waits until the
// others in flight are done, and always runs when it is alone.

#include <functional>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "gallery/GallerySet.h"
#include "generation/PictureWork.h"

namespace zelvora {

// The number of jobs that "as many as there are cores" means here.
int DefaultJobCount();

class TPicturePipeline {
 public:
  static constexpr std::int64_t kPictureShare = std::int64_t{64} << 20;

  // holdNew: while it returns true, workers start no new picture; it is
  // asked from the workers' threads. options is copied: the run may change
  // its own afterwards.
  TPicturePipeline(std::vector<TPictureTask> tasks, const TGallerySet& options, int jobs,
                   std::function<bool()> holdNew, std::int64_t pictureShare = kPictureShare);
  // Lets the pictures in flight finish, then ends the workers. Results not
  // taken are dropped.
  ~TPicturePipeline();

  TPicturePipeline(const TPicturePipeline&) = delete;
  TPicturePipeline& operator=(const TPicturePipeline&) = delete;

  std::size_t Size() const { return tasks_.size(); }
  const TPictureTask& Task(std::size_t k) const { return tasks_[k]; }

  // The result of task k, waiting for it; tasks are taken in order, each
  // once.
  TPreparedPicture Take(std::size_t k);

  // Worker threads running (0 with one job).
  int Workers() const { return static_cast<int>(workers_.size()); }
  // Pictures started so far, and the most that were loaded at once.
  std::size_t Started();
  int MostInFlight();

 private:
  struct TSlot {
    bool Ready = false;
    TPreparedPicture Result;
  };

  void Work();
  bool MayStart() const;  // with mutex_ held
  // The memory budget: a workspace with room for bytes, waiting while the
  // budget is used up by other pictures in flight.
  std::unique_ptr<TPictureWorkspace> AcquireWorkspace(std::int64_t bytes,
                                                       std::unique_lock<std::mutex>& lock);
  void ReleaseWorkspace(std::unique_ptr<TPictureWorkspace> workspace, std::int64_t bytes);

  const std::vector<TPictureTask> tasks_;
  const TGallerySet options_;
  const std::function<bool()> holdNew_;
  const std::size_t window_;      // results prepared or in flight ahead of the taker
  const std::int64_t budget_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TSlot> slots_;
  std::size_t next_ = 0;   // the next task to start
  std::size_t taken_ = 0;  // tasks taken so far
  bool taking_ = false;    // the taker waits for the result of task taken_
  bool stopping_ = false;
  // Memory: workspaces kept for reuse, bytes they and the pictures in
  // flight take, and how many pictures are in flight.
  std::vector<std::unique_ptr<TPictureWorkspace>> idle_;
  std::int64_t used_ = 0;
  int inFlight_ = 0;
  int mostInFlight_ = 0;

  // One job: the only workspace, used on the taking thread.
  TPictureWorkspace own_;
  std::vector<std::thread> workers_;
};

}  // namespace zelvora
