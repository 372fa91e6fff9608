#include "generation/PicturePipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "gallery/GallerySet.h"
#include "imaging/ImageLoader.h"
#include "support/PictureWriters.h"
#include "support/TestSupport.h"

namespace zelvora {
namespace {

class PicturePipelineTest : public ::testing::Test {
 protected:
  // count pictures of 64 x 48 + i pixels; every third one cannot be read.
  std::vector<TPictureTask> Tasks(int count) {
    std::vector<TPictureTask> tasks;
    for (int i = 0; i < count; ++i) {
      TPictureTask task;
      task.Index = i;
      task.Load = true;
      task.CopyImages = true;
      task.ConvertToJPEG = true;
      if (i % 3 == 2) {
        task.FileName = dir.Write("p" + std::to_string(i) + ".jpg", "damaged");
      } else {
        task.FileName = dir.Write("p" + std::to_string(i) + ".bmp",
                                  test::MakeBmp(test::MakeTestPattern(64, 48 + i)));
      }
      tasks.push_back(task);
    }
    return tasks;
  }

  test::TempDir dir;
  TGallerySet options;
  std::atomic<bool> hold{false};
};

// Whatever the threads, each result is the one a plain loop makes, and
// results come in list order.
TEST_F(PicturePipelineTest, ResultsAreThoseOfOneThreadInListOrder) {
  const std::vector<TPictureTask> tasks = Tasks(10);
  TPicturePipeline alone(tasks, options, 1, nullptr);
  TPicturePipeline three(tasks, options, 3, nullptr);
  EXPECT_EQ(alone.Workers(), 0);
  EXPECT_EQ(three.Workers(), 3);
  for (std::size_t k = 0; k < tasks.size(); ++k) {
    SCOPED_TRACE(k);
    const TPreparedPicture a = alone.Take(k);
    const TPreparedPicture b = three.Take(k);
    EXPECT_EQ(a.HasThumbnail, k % 3 != 2);
    EXPECT_EQ(b.HasThumbnail, a.HasThumbnail);
    EXPECT_EQ(b.ImageHeight, a.ImageHeight);
    EXPECT_EQ(b.ThumbJpeg, a.ThumbJpeg);
    EXPECT_EQ(b.WriteCopyAsJpeg, a.WriteCopyAsJpeg);
    EXPECT_EQ(b.CopyJpeg, a.CopyJpeg);
    if (a.HasThumbnail) {
      EXPECT_EQ(a.ImageHeight, 48 + static_cast<int>(k));
    }
  }
}

// While held (the run is frozen or stopping) no picture starts but the one
// the run waits for.
TEST_F(PicturePipelineTest, HeldPipelineStartsOnlyThePictureTheRunWaitsFor) {
  hold = true;
  TPicturePipeline pipeline(Tasks(6), options, 2, [this] { return hold.load(); });
  EXPECT_TRUE(pipeline.Take(0).HasThumbnail);
  EXPECT_TRUE(pipeline.Take(1).HasThumbnail);
  EXPECT_EQ(pipeline.Started(), 2u);
  hold = false;
  for (std::size_t k = 2; k < pipeline.Size(); ++k) pipeline.Take(k);
  EXPECT_EQ(pipeline.Started(), pipeline.Size());
}

// Pictures that would overrun the memory budget together are loaded one at
// a time, and the pipeline still finishes.
TEST_F(PicturePipelineTest, PicturesLargerThanTheBudgetAreLoadedOneAtATime) {
  TPicturePipeline pipeline(Tasks(8), options, 2, nullptr, /*pictureShare=*/1024);
  for (std::size_t k = 0; k < pipeline.Size(); ++k)
    EXPECT_EQ(pipeline.Take(k).HasThumbnail, k % 3 != 2);
  EXPECT_EQ(pipeline.MostInFlight(), 1);
}

// A run that stops drops what was not taken; the workers end.
TEST_F(PicturePipelineTest, DroppedBeforeTheEndLetsTheWorkersGo) {
  TPicturePipeline pipeline(Tasks(9), options, 2, nullptr);
  pipeline.Take(0);
}

}  // namespace
}  // namespace zelvora
